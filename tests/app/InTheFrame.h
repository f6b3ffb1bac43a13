#pragma once

#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/Main.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QTest>

#include <memory>

// The program's frame with every library's windows, for the tests of the windows in it.
namespace jornix::test {

// Every library's windows, registered as the program registers them.
inline void RegisterEveryWindow()
{
    UseMinimumPasswordLimits(true);
    WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    RegisterCoreProcedures();
    RegisterJournalProcedures();
    RegisterOrganizerProcedures();
    RegisterReportsProcedures();
}

// Closes the windows still open, the last opened first.
inline void CloseEveryWindow()
{
    using namespace jornix::testing;
    for (int round = 0; round < 20 && !WindowController::OpenWindows().empty(); ++round) {
        WindowController* top = WindowController::OpenWindows().back();
        PostEvent(Event::CloseWindow, 0, top->Thread());
        WaitIdle();
    }
}

// Opens the program's frame; `settle` gives the platform time to place it.
inline WindowController* OpenFrame(int settle = 0)
{
    using namespace jornix::testing;
    Start([] { Main(); });
    WaitIdle();
    if (settle > 0) {
        QTest::qWait(settle);
        WaitIdle();
    }
    return FindWindow(QStringLiteral("Main"));
}

// A data folder of one test function, its message boxes answered Yes.
struct FrameSession
{
    std::unique_ptr<DataFolder> folder;
    std::unique_ptr<MessageRecorder> boxes;

    void Begin()
    {
        folder = std::make_unique<DataFolder>();
        boxes = std::make_unique<MessageRecorder>();
        boxes->answers = {MessageButton::Yes};
    }
    // Signs the administrator in and starts from a side menu bar as a new user has it.
    bool SignIn(qint32 user)
    {
        if (!SignInAdministrator(user))
            return false;
        MenuBarState = MenuBarStateRecord();
        return true;
    }
    // Closes every window; false when one stayed open.
    bool End()
    {
        CloseEveryWindow();
        const bool closed = WindowController::OpenWindows().empty();
        boxes.reset();
        RelationsUSR->Close();
        folder.reset();
        MenuBarThread = 0;
        return closed;
    }
};

} // namespace jornix::test
