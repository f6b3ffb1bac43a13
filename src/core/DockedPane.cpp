#include "core/DockedPane.h"

#include "platform/runtime/MessageBox.h"

namespace jornix {

DockedPane::DockedPane(const QString& procedureName, const QString& paneText)
    : StandardWindow(procedureName, paneText, WindowType::Pane), paneText_(paneText)
{
    window.Row([&] {
        banner_ = window.Prompt(paneText).Name(QStringLiteral("Banner"));
        window.Spacer();
        closeButton_ = window.Button(QStringLiteral("X")).Name(QStringLiteral("CloseX"));
    });
}

int DockedPane::OnAccepted(int control)
{
    if (control == closeButton_) {
        if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question, paneText_,
                           QStringLiteral("Close the window?"), MessageButton::No) == MessageButton::Yes)
            SetResponse(Response::Cancelled);
        return Level::Handled;
    }
    return StandardWindow::OnAccepted(control);
}

} // namespace jornix
