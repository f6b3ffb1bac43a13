#include "reports/ResetReportLayouts.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "reports/InstallFactoryLayouts.h"

#include <QApplication>
#include <QScreen>
#include <QLabel>
#include <QVBoxLayout>

namespace jornix {
namespace {

const QString Question = QStringLiteral(
    "This procedure will reset the Jornix report layouts back to the original installation versions. You will "
    "want to do this if you have installed a newer version of Jornix and you want your Data Path report "
    "layouts to match the newer version. Or you may have accidentally changed or deleted a report layout and "
    "wish to correct the problem.\n\nAny new report layouts that you had created will not be deleted or "
    "reset. However, if you made changes to the report layouts that were shipped with Jornix will be lost. It "
    "is recommend that you copy these report layouts before proceeding.\n\nProceed with the Report Layout "
    "Update?");

// The small window without caption that stays while the layouts are reset.
class ResettingWindow
{
public:
    ResettingWindow()
    {
        window_.setObjectName(QStringLiteral("ResettingReportLayouts"));
        window_.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        window_.setFrameStyle(QFrame::Box | QFrame::Raised);
        auto* layout = new QVBoxLayout(&window_);
        layout->setContentsMargins(24, 18, 24, 18);
        layout->addWidget(new QLabel(QStringLiteral("Resetting Report Layouts..."), &window_));
        window_.adjustSize();
        QWidget* over = QApplication::activeWindow();
        const QRect area = over ? over->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
        window_.move(area.center() - window_.rect().center());
        window_.show();
    }
    ~ResettingWindow() { window_.close(); }
    ResettingWindow(const ResettingWindow&) = delete;
    ResettingWindow& operator=(const ResettingWindow&) = delete;

private:
    QFrame window_;
};

} // namespace

void ResetReportLayouts(int askFirst)
{
    CurrentContext().GlobalResponseCode = Response::Cancelled;
    if (askFirst == 1 && ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                                        QStringLiteral("Reset Report Layouts?"), Question,
                                        MessageButton::Yes) != MessageButton::Yes) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Information"),
                       QStringLiteral("Reset Report Layouts was aborted."));
        return;
    }
    if (AccessLLA_->Open() != 0)
        return;
    if (AccessLLL_->Open() != 0) {
        AccessLLA_->Close();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RefreshSuppressed = 1;
    QString failure;
    {
        ResettingWindow window;
        YieldNow(); // the window shows before the work starts
        failure = InstallFactoryLayouts();
    }
    QApplication::restoreOverrideCursor();
    AccessLLL_->Close();
    AccessLLA_->Close();
    RefreshSuppressed = 0;
    if (!failure.isEmpty()) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Reset Report Layouts"),
                       failure);
        return;
    }
    CurrentContext().GlobalResponseCode = Response::Completed;
    if (askFirst == 1)
        ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Information"),
                       QStringLiteral("Report Layouts were reset."));
}

} // namespace jornix
