#include "core/DockedPane.h"

#include "core/Banner.h"
#include "platform/runtime/MessageBox.h"

#include <QDockWidget>

namespace jornix {

DockedPane::DockedPane(const QString& procedureName, const QString& paneText, const QString& closeQuestion,
                       const QString& bannerImage)
    : StandardWindow(procedureName, paneText, WindowType::Pane), paneText_(paneText),
      closeQuestion_(closeQuestion)
{
    banner_ = DescribeBanner(window, paneText, bannerImage, [&] {
                  closeButton_ = window.Button(QStringLiteral("X"))
                                     .Name(QStringLiteral("CloseX"))
                                     .Tip(QStringLiteral("Close Window"));
              }).text;
    // The banner is the pane's title: the dock shows no title bar of its own.
    if (auto* dock = qobject_cast<QDockWidget*>(window.Root()))
        dock->setTitleBarWidget(new QWidget(dock));
    QWidget* x = window.Widget(closeButton_);
    x->setFixedWidth(x->sizeHint().height() + x->fontMetrics().horizontalAdvance(QStringLiteral("X")));
}

int DockedPane::SetUpForm()
{
    if (cancelButton_)
        AddButtonAction(cancelButton_, Response::Cancelled);
    return StandardWindow::SetUpForm();
}

int DockedPane::OnAccepted(int control)
{
    if (control == closeButton_) {
        Update();
        if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                           QStringLiteral("Close the window?"), closeQuestion_,
                           MessageButton::Yes) == MessageButton::Yes) {
            if (cancelButton_)
                Post(Event::Accepted, cancelButton_);
            else
                SetResponse(Response::Cancelled);
        }
        return Level::Handled;
    }
    return StandardWindow::OnAccepted(control);
}

} // namespace jornix
