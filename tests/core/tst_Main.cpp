#include "core/StandInWindows.h"
#include "core/BroadcastRefresh.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/Main.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/SignInRules.h"
#include "core/StandardWindow.h"
#include "platform/help/HelpViewer.h"
#include "platform/runtime/ProgramPrinter.h"
#include "platform/runtime/ProgramWindow.h"
#include "platform/runtime/ShellOpen.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include "DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

WindowController* Frame()
{
    return FindWindow(QStringLiteral("Main"));
}

// Stands in for the side menu bar: a window of its own thread that notes what the frame posts it.
void RecordingMenuBar(std::vector<FrameworkEvent>* posted)
{
    QWidget widget;
    ProgramWindow window(&widget);
    for (;;) {
        const FrameworkEvent event = window.WaitEvent();
        if (event.event == Event::CloseWindow)
            return;
        if (event.event != Event::OpenWindow)
            posted->push_back(event);
    }
}

// A list window of the Tasks kind that counts the refresh events it gets.
void CountingList(int* refreshes)
{
    WindowThreadRegistry[WindowKind::Tasks] = CurrentThread();
    QWidget widget;
    ProgramWindow window(&widget);
    for (;;) {
        const FrameworkEvent event = window.WaitEvent();
        if (event.event == RefreshEvent)
            ++*refreshes;
        if (event.event == Event::CloseWindow)
            break;
    }
    WindowThreadRegistry[WindowKind::Tasks] = 0;
}

// Date View as a later library gives it: a list window of its kind that registers itself under the stand-in's
// name.
class LaterDateView : public StandardWindow
{
public:
    LaterDateView()
        : StandardWindow(QStringLiteral("DateView"), QStringLiteral("Date View"), WindowType::Child)
    {
        window.Text(QStringLiteral("The days of the month.")).Name(QStringLiteral("Days"));
        RegisterKind(WindowThreadRegistry[WindowKind::DateView]);
        NoHelp();
    }
};

bool InsideFrame(WindowController& window)
{
    return window.window.Root()->window() == Frame()->window.Root();
}

} // namespace

// The frame runs on a program thread of the test, over a program folder of its own, for the user "as"
// (Ann Smith), an administrator with full access to every area.
class MainTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    std::vector<HelpRequest> helpAsked;
    QStringList opened; // what the shell was asked to open
    ThreadNumber frameThread = 0;
    std::vector<FrameworkEvent> barPosts;

    WindowController* StartFrame(const QByteArray& settings = {})
    {
        if (!settings.isEmpty() && !folder->WriteSettings(settings))
            return nullptr;
        frameThread = Start([] { Main(); });
        return Frame();
    }

    // Puts the recording bar in the place of the side menu bar the frame started, which closes.
    void RecordMenuBar()
    {
        if (PostEvent(Event::CloseWindow, 0, MenuBarThread))
            QVERIFY(WaitIdle());
        barPosts.clear();
        MenuBarThread = Start([this] { RecordingMenuBar(&barPosts); });
    }

    bool BarGot(int event, int control = 0) const
    {
        return std::any_of(barPosts.begin(), barPosts.end(), [&](const FrameworkEvent& posted) {
            return posted.event == event && posted.control == control;
        });
    }

    static QString ZoneText(const QString& zone)
    {
        auto* label = Frame()->window.Root()->findChild<QLabel*>(zone);
        return label ? label->text() : QStringLiteral("<no zone>");
    }

    QString Settings() const { return folder->Settings(); }

    // Opens the list of the users and changes the signed-in user's name in its form, without saving; with
    // passwords that differ, the form refuses to save.
    WindowController* ChangeMyNameInTheForm(bool passwordsDiffer)
    {
        Press(*Frame(), -34);
        WindowController* list = FindWindow(QStringLiteral("ManageUsers"));
        if (!list)
            return nullptr;
        PickRow(*list, list->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*list, QStringLiteral("Change"));
        WindowController* form = FindWindow(QStringLiteral("UpdateUser"));
        if (!form)
            return nullptr;
        Type(*form, QStringLiteral("Name"), QStringLiteral("Ann Jones"));
        if (passwordsDiffer) {
            Type(*form, QStringLiteral("PasswordEntry"), QStringLiteral("one"));
            Type(*form, QStringLiteral("ConfirmEntry"), QStringLiteral("two"));
        }
        return form;
    }

    static QString StoredName()
    {
        return FetchUser(QStringLiteral("as")) ? AccessUSR->Buffer().Value("USR:Name").toString()
                                               : QStringLiteral("<none>");
    }

private slots:
    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        WindowDescription::SetImageFolder(QStringLiteral(":/icons")); // as the program start does
        RegisterStandInWindows();
        RegisterCoreProcedures();                                     // as main does
    }

    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        QCOMPARE(RelationsUSR->Open(), 0);
        QVERIFY(test::AddUser(QStringLiteral("as"), QStringLiteral("Ann Smith"), Me));

        UsrAccess::LoginID = QStringLiteral("as   ");
        UsrAccess::Name = QStringLiteral("Ann Smith   ");
        CurrentUserUniqueID = Me;
        CurrentUserIsAdmin = 1;
        CurrentUserAccess.fill(2);
        GLO.ShowOverdueReminders = 0; // the panes that open at start are tested on their own
        MenuBarState = MenuBarStateRecord();
        CurrentReportArea = 0;

        boxes = std::make_unique<test::MessageRecorder>();
        helpAsked.clear();
        SetHelpSink([this](const HelpRequest& request) -> QWidget* {
            helpAsked.push_back(request);
            return nullptr;
        });
        opened.clear();
        SetShellOpenRunner([this](const QString& argument) {
            opened << argument;
            return 0;
        });
    }

    void cleanup()
    {
        if (ThreadIsActive(frameThread)) {
            boxes->answers = {MessageButton::No, MessageButton::No};
            if (WindowController* migration = FindWindow(QStringLiteral("MigrateData")))
                Press(*migration, QStringLiteral("Close"));
            PostEvent(Event::CloseWindow, 0, frameThread);
            QVERIFY(WaitIdle(10000));
        }
        QVERIFY(!ThreadIsActive(frameThread));
        QVERIFY(WindowController::OpenWindows().empty());
        for (const ThreadNumber entry : WindowThreadRegistry)
            QCOMPARE(entry, 0);
        MenuBarThread = 0;
        SetTimerTick(10);
        SetShellOpenRunner({});
        SetHelpSink({});
        boxes.reset();
        RelationsUSR->Close();
        folder.reset();
        RegisterStandInWindows();
        RegisterCoreProcedures(); // back to the stand-ins
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void theFrameShowsItsCaptionAndTheUserAndVersionInTheStatusBar()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        QCOMPARE(frame->window.Root()->windowTitle(), QStringLiteral("Jornix"));
        QVERIFY(frame->window.Root()->isVisible());
        QCOMPARE(ZoneText(QStringLiteral("UserZone")), QStringLiteral("Ann Smith (as)"));
        QCOMPARE(ZoneText(QStringLiteral("VersionZone")), QStringLiteral("Jornix 2.0"));
    }

    void theFrameAndItsToolbarButtonsShowTheirIcons()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        QVERIFY(!frame->window.Root()->windowIcon().isNull());
        for (int tool = -42; tool >= -55; --tool) {
            if (frame->window.KindOf(tool) == ControlKind::Tool)
                QVERIFY2(!frame->window.Action(tool)->icon().isNull(),
                         qPrintable(frame->window.Action(tool)->toolTip()));
        }
    }

    void showHideToolBarTurnsTheToolbarOverFromTheSetting_data()
    {
        QTest::addColumn<int>("setting");
        QTest::newRow("GLO:ShowJornixToolBar=0: no toolbar until it is shown") << 0;
        QTest::newRow("GLO:ShowJornixToolBar=1: a toolbar until it is hidden") << 1;
    }
    void showHideToolBarTurnsTheToolbarOverFromTheSetting()
    {
        QFETCH(int, setting);
        GLO.ShowJornixToolBar = quint8(setting);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        QCOMPARE(frame->window.IsHidden(-41), setting == 0);
        Press(*frame, -6);
        QCOMPARE(frame->window.IsHidden(-41), setting != 0);
    }

    void theFrameOpensWhereItWasKept_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QRect>("placement"); // when not maximized
        QTest::newRow("Maximize=yes: maximized, the kept position and size blanked")
            << QByteArray("[Main]\nMaximize=yes\nXPos=10\nYPos=20\nWidth=500\nHeight=400\n") << true
            << QRect();
        QTest::newRow("a kept placement")
            << QByteArray("[Main]\nMaximize=0\nXPos=10\nYPos=20\nWidth=500\nHeight=400\n") << false
            << QRect(10, 20, 500, 400);
    }
    void theFrameOpensWhereItWasKept()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, maximized);
        QFETCH(QRect, placement);
        WindowController* frame = StartFrame(settings);
        QVERIFY(frame);
        QCOMPARE(frame->window.Root()->isMaximized(), maximized);
        if (maximized) {
            for (const char* entry : {"XPos", "YPos", "Width", "Height"})
                QCOMPARE(INIMgr.ReadValue(QStringLiteral("Main"), QString::fromLatin1(entry)), QString());
        } else {
            QCOMPARE(frame->window.Root()->geometry(), placement);
        }
    }

    void theMenusAndTheToolbarStartOneWindowEach_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("kind"); // -1: called modally on the frame's thread
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("reportArea");
        const struct
        {
            const char* name;
            int control;
            const char* procedure;
            int kind;
            int header;
            int reportArea;
        } rows[] = {
            {"&Migrate from Jornix 1.0", -2, "MigrateData", -1, 0, 0},
            {"O&verdue Reminders", -8, "OverdueReminders", WindowKind::OverdueReminders, 0, 0},
            {"Mini-Stic&ky Notes", -9, "MiniStickyNotes", WindowKind::MiniStickyNotes, 0, 0},
            {"Mini-Scra&p Book", -10, "MiniSrap", WindowKind::MiniSrap, 0, 0},
            {"&Date View", -12, "DateView", WindowKind::DateView, 6, 0},
            {"&All Events View", -13, "AllView", WindowKind::AllView, 6, 0},
            {"log events' &Print Options", -14, "PrintOptions", WindowKind::PrintOptions, 6, 1},
            {"&Search Log Events", -15, "Search", WindowKind::Search, 6, 0},
            {"&Reminders", -17, "Reminder", WindowKind::Reminder, 16, 0},
            {"reminders' &Print Options", -18, "PrintOptions", WindowKind::PrintOptions, 16, 4},
            {"&Tasks", -20, "Tasks", WindowKind::Tasks, 22, 0},
            {"tasks' &Print Options", -21, "PrintOptions", WindowKind::PrintOptions, 22, 2},
            {"&Sticky Notes", -23, "StickyNotes", WindowKind::StickyNotes, 28, 0},
            {"sticky notes' &Print Options", -24, "PrintOptions", WindowKind::PrintOptions, 28, 5},
            {"&Contacts", -26, "Contacts", WindowKind::Contacts, 34, 0},
            {"contacts' &Print Options", -27, "PrintOptions", WindowKind::PrintOptions, 34, 3},
            {"&Scrap", -29, "Scrap", WindowKind::Scrap, 40, 0},
            {"scraps' &Print Options", -30, "PrintOptions", WindowKind::PrintOptions, 40, 6},
            {"Report &Designer", -31, "ReportDesigner", WindowKind::ReportDesigner, 46, 0},
            {"Program &Setup", -33, "SetupProgram", WindowKind::SetupProgram, 50, 0},
            {"Manage &Users", -34, "ManageUsers", WindowKind::ManageUsers, 50, 0},
            {"&Migrate From Jornix 1.0", -35, "MigrateData", -1, 0, 0},
            {"toolbar Date View", -42, "DateView", WindowKind::DateView, 6, 0},
            {"toolbar All Events View", -43, "AllView", WindowKind::AllView, 6, 0},
            {"toolbar Reminders", -44, "Reminder", WindowKind::Reminder, 16, 0},
            {"toolbar Search Log Events", -45, "Search", WindowKind::Search, 6, 0},
            {"toolbar Tasks", -47, "Tasks", WindowKind::Tasks, 22, 0},
            {"toolbar Contacts", -48, "Contacts", WindowKind::Contacts, 34, 0},
            {"toolbar Sticky Notes", -49, "StickyNotes", WindowKind::StickyNotes, 28, 0},
            {"toolbar Report Designer", -51, "ReportDesigner", WindowKind::ReportDesigner, 46, 0},
            {"toolbar Setup Program", -53, "SetupProgram", WindowKind::SetupProgram, 50, 0},
            {"toolbar Migrate from Jornix 1.0", -54, "MigrateData", -1, 0, 0},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.control << row.procedure << row.kind << row.header
                                    << row.reportArea;
    }
    void theMenusAndTheToolbarStartOneWindowEach()
    {
        QFETCH(int, control);
        QFETCH(QString, procedure);
        QFETCH(int, kind);
        QFETCH(int, header);
        QFETCH(int, reportArea);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        RecordMenuBar();
        MenuBarState.FirstPressDone = 1;

        Press(*frame, control);
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        if (kind < 0) {
            QCOMPARE(window->Thread(), frameThread);
            QVERIFY(window->window.Root()->isWindow());
        } else {
            QCOMPARE(WindowThreadRegistry[std::size_t(kind)], window->Thread());
            QVERIFY(window->Thread() != frameThread);
            QVERIFY(InsideFrame(*window));
        }
        QCOMPARE(CurrentReportArea, reportArea);
        QCOMPARE(BarGot(Event::Accepted, header), header != 0);
        QCOMPARE(MenuBarState.FirstPressDone, header != 0 ? 0 : 1);

        if (kind < 0)
            Press(*window, QStringLiteral("Close"));
        else
            PostEvent(Event::CloseWindow, 0, window->Thread());
        QVERIFY(WaitIdle());
        QVERIFY(!FindWindow(procedure));
    }

    void aLaterLibrarysWindowStartsFromTheFrameThroughTheTable_data()
    {
        QTest::addColumn<int>("control");
        QTest::newRow("View menu") << -12;
        QTest::newRow("toolbar") << -42;
    }
    void aLaterLibrarysWindowStartsFromTheFrameThroughTheTable()
    {
        QFETCH(int, control);
        RegisterProcedure(QStringLiteral("DateView"), RunProcedure<LaterDateView>);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        RecordMenuBar();

        Press(*frame, control);
        WindowController* window = FindWindow(QStringLiteral("DateView"));
        QVERIFY(window);
        QVERIFY(dynamic_cast<LaterDateView*>(window));
        QVERIFY(window->Thread() != frameThread);
        QCOMPARE(WindowThreadRegistry[WindowKind::DateView], window->Thread());
        QVERIFY(InsideFrame(*window));
        QVERIFY(BarGot(Event::Accepted, MenuBarHeader::LogEvents));

        PostEvent(Event::CloseWindow, 0, window->Thread());
        QVERIFY(WaitIdle());
        QVERIFY(!FindWindow(QStringLiteral("DateView")));
    }

    void aSecondStartBringsTheMinimizedWindowBackRestored()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, -20);
        WindowController* tasks = FindWindow(QStringLiteral("Tasks"));
        QVERIFY(tasks);
        Press(*frame, -26); // Contacts comes in front of it
        tasks->window.Root()->showMinimized();
        QVERIFY(WaitIdle());
        QVERIFY(tasks->IsMinimized());

        Press(*frame, -47);
        QVERIFY(!tasks->IsMinimized());
        QVERIFY(tasks->IsActive());
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], tasks->Thread());
        const auto open = WindowController::OpenWindows();
        QCOMPARE(std::count_if(open.begin(), open.end(),
                               [](WindowController* w) { return w->ProcedureName() == "Tasks"; }),
                 1);
    }

    void comingBackToTheFrameLeavesItsWindowsAsTheyWere()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, -20);
        WindowController* tasks = FindWindow(QStringLiteral("Tasks"));
        QVERIFY(tasks);
        Press(*frame, -26);
        WindowController* contacts = FindWindow(QStringLiteral("Contacts"));
        QVERIFY(contacts);
        tasks->window.Root()->showMinimized();
        QVERIFY(WaitIdle());
        // The user works in Contacts, with Tasks minimized.
        frame->window.ChildArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(contacts->window.Root()));
        QVERIFY(QTest::qWaitForWindowActive(frame->window.Root()));
        QVERIFY(WaitIdle());
        QVERIFY(tasks->IsMinimized());
        QVERIFY(contacts->IsActive());

        // Another application's window takes the focus, and the user comes back to the frame.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(WaitIdle());
        frame->window.Root()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame->window.Root()));
        QVERIFY(WaitIdle());
        QVERIFY(tasks->IsMinimized());
        QVERIFY(contacts->IsActive());
    }

    void thePanesOpenAtStartByTheirSettingsAndAccess_data()
    {
        QTest::addColumn<bool>("panesOn");
        QTest::addColumn<int>("reminderAccess");
        QTest::addColumn<QStringList>("panes"); // in the order they start
        QTest::newRow("all three set")
            << true << 2 << QStringList{"OverdueReminders", "MiniStickyNotes", "MiniSrap"};
        QTest::newRow("no reminder access: no overdue reminders, no message")
            << true << 0 << QStringList{"MiniStickyNotes", "MiniSrap"};
        QTest::newRow("none set") << false << 2 << QStringList{};
    }
    void thePanesOpenAtStartByTheirSettingsAndAccess()
    {
        QFETCH(bool, panesOn);
        QFETCH(int, reminderAccess);
        QFETCH(QStringList, panes);
        GLO.ShowOverdueReminders = GLO.ShowMiniStickyNotes = GLO.ShowScrapBook = panesOn ? 1 : 0;
        CurrentUserAccess[AccessArea::Reminders] = quint8(reminderAccess);
        QVERIFY(StartFrame());

        std::vector<std::pair<ThreadNumber, QString>> started;
        for (const char* pane : {"OverdueReminders", "MiniStickyNotes", "MiniSrap"}) {
            if (WindowController* window = FindWindow(pane)) {
                QVERIFY(qobject_cast<QDockWidget*>(window->window.Root()));
                QVERIFY(InsideFrame(*window));
                started.emplace_back(window->Thread(), pane);
            }
        }
        std::sort(started.begin(), started.end());
        QStringList inOrder;
        for (const auto& [thread, pane] : started)
            inOrder << pane;
        QCOMPARE(inOrder, panes);
        QVERIFY(boxes->boxes.isEmpty());
    }

    void theRefreshTimerBroadcastsByGlobalRefreshTime_data()
    {
        QTest::addColumn<int>("refreshTime");
        QTest::newRow("300: every 3 seconds") << 300;
        QTest::newRow("0: never") << 0;
    }
    void theRefreshTimerBroadcastsByGlobalRefreshTime()
    {
        QFETCH(int, refreshTime);
        GLO.GlobalRefreshTime = refreshTime;
        SetTimerTick(1); // ten times fast: 3 seconds pass in 0.3
        QElapsedTimer started;
        started.start();
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        QCOMPARE(frame->TimerInterval(), refreshTime);
        int counted = 0;
        Start([&counted] { CountingList(&counted); });
        if (refreshTime > 0) {
            QTRY_VERIFY_WITH_TIMEOUT(counted > 0, 5000);
            QVERIFY(started.elapsed() >= 285); // not before its time; a timer may fire up to 5 % early
        } else {
            QTest::qWait(350);
            QCOMPARE(counted, 0);
        }
    }

    void showHideJornixMenuBarHidesAndShowsTheBar_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("savedWidth");
        QTest::addColumn<int>("newWidth");
        QTest::addColumn<int>("newSavedWidth");
        QTest::newRow("a shown bar is hidden") << 150 << 0 << -6 << 150;
        QTest::newRow("a hidden bar comes back as wide as it was") << -6 << 180 << 180 << 180;
        QTest::newRow("a hidden bar comes back at least 100 wide") << -6 << 40 << 100 << 40;
    }
    void showHideJornixMenuBarHidesAndShowsTheBar()
    {
        QFETCH(int, width);
        QFETCH(int, savedWidth);
        QFETCH(int, newWidth);
        QFETCH(int, newSavedWidth);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        RecordMenuBar();
        MenuBarState.BarWidth = width;
        MenuBarState.SavedWidth = savedWidth;
        MenuBarState.DragAllowed = 0;
        MenuBarState.ForceLayout = 0;
        Press(*frame, -7);
        QCOMPARE(MenuBarState.BarWidth, newWidth);
        QCOMPARE(MenuBarState.SavedWidth, newSavedWidth);
        QCOMPARE(MenuBarState.DragAllowed, quint8(1));
        QCOMPARE(MenuBarState.ForceLayout, quint8(1));
        QVERIFY(BarGot(Event::Size));
    }

    void resizingTheFrameResizesTheMenuBar()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        RecordMenuBar();
        frame->window.Root()->resize(800, 500);
        QVERIFY(WaitIdle());
        QVERIFY(BarGot(Event::Size));
    }

    void theHelpMenuShowsTheHelp_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("Jornix &Help: the contents") << -37 << int(HelpCommand::DisplayTopic) << "";
        QTest::newRow("the toolbar's Help: the contents") << -55 << int(HelpCommand::DisplayTopic) << "";
        QTest::newRow("How do I...: the index") << -39 << int(HelpCommand::DisplayIndex) << "How do I";
    }
    void theHelpMenuShowsTheHelp()
    {
        QFETCH(int, control);
        QFETCH(int, command);
        QFETCH(QString, keyword);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, control);
        QCOMPARE(helpAsked.size(), std::size_t(1));
        QCOMPARE(int(helpAsked[0].command), command);
        QCOMPARE(helpAsked[0].path, QStringLiteral("Jornix.chm"));
        QCOMPARE(helpAsked[0].keyword, keyword);
    }

    void jornixOnTheWebAndPrinterSetup()
    {
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, -38);
        QCOMPARE(opened, QStringList{"https://www.jornix.example/"});
        DialogScript dialogs;
        Press(*frame, -3);
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::Printer);
        QCOMPARE(dialogs.asked[0].printer, &ProgramPrinter()); // the one every document prints on
    }

    void f1ShowsTheHelpOfTheWindowThatHasTheFocus_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("path");
        QTest::newRow("in a child window of the frame")
            << "child" << int(HelpCommand::DisplayTopic) << "Jornix.chm::/manageuser.htm";
        QTest::newRow("in the frame: the frame's page, not the first page of the contents")
            << "frame" << int(HelpCommand::DisplayTopic) << "Jornix.chm::/mainframe.htm";
        QTest::newRow("on the highlighted E&xit item")
            << "exit" << int(HelpCommand::DisplayTopic) << "Jornix.chm::/Exit Program";
    }
    void f1ShowsTheHelpOfTheWindowThatHasTheFocus()
    {
        QFETCH(QString, where);
        QFETCH(int, command);
        QFETCH(QString, path);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        QVERIFY(QTest::qWaitForWindowActive(frame->window.Root()));
        QWidget* target = frame->window.ChildArea();
        if (where == "child") {
            Press(*frame, -34);
            WindowController* users = FindWindow(QStringLiteral("ManageUsers"));
            QVERIFY(users);
            target = users->window.Widget(users->window.ControlNumber(QStringLiteral("List")));
        }
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);
        QMenu* fileMenu = frame->window.Action(-1)->menu();
        if (where == "exit") {
            fileMenu->popup(frame->window.Root()->mapToGlobal(QPoint(10, 10)));
            QTRY_COMPARE(QApplication::activePopupWidget(), fileMenu);
            fileMenu->setActiveAction(frame->window.Action(-4));
            target = fileMenu;
        }
        QTest::keyClick(target, Qt::Key_F1);
        QVERIFY(WaitIdle());
        fileMenu->hide();
        QCOMPARE(helpAsked.size(), std::size_t(1));
        QCOMPARE(int(helpAsked[0].command), command);
        QCOMPARE(helpAsked[0].path, path);
    }

    void exitClosesTheWindowsAndKeepsThePlacements()
    {
        QFile ini(IniFileName);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Preserved]\nGLO:DataPath=" + ProgramFolder.toUtf8() + "\n");
        ini.close();
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, -20); // Tasks keeps its placement
        Press(*frame, -12); // Date View keeps none
        QVERIFY(FindWindow(QStringLiteral("Tasks")) && FindWindow(QStringLiteral("DateView")));

        Press(*frame, -4);
        QVERIFY(WaitIdle());
        QVERIFY(!ThreadIsActive(frameThread));
        QVERIFY(WindowController::OpenWindows().empty());
        // The program's end, as the start procedure runs it once the frame has returned.
        INIMgr.Finalize();
        QVERIFY(INIMgr.Kill());
        const QString settings = Settings();
        for (const char* entry :
             {"[Main]", "XPos=", "[Tasks]", "[__Dont_Touch_Me__]\nSectors=0", "GLO:DataPath="})
            QVERIFY2(settings.contains(QString::fromLatin1(entry)), entry);
        QVERIFY(!settings.contains(QStringLiteral("[DateView]")));
        INIMgr.Init(IniFileName);
    }

    void aFrameClosedMaximizedOpensMaximizedAndRestoresToItsDescribedSize()
    {
        WindowController* frame =
            StartFrame("[Main]\nMaximize=No\nXPos=10\nYPos=20\nWidth=500\nHeight=400\n");
        QVERIFY(frame);
        frame->window.Root()->showMaximized();
        Press(*frame, -4);
        QVERIFY(WaitIdle());
        QVERIFY(!ThreadIsActive(frameThread));
        QCOMPARE(INIMgr.ReadValue(QStringLiteral("Main"), QStringLiteral("Maximize")), QStringLiteral("Yes"));

        frame = StartFrame();
        QVERIFY(frame);
        QVERIFY(frame->window.Root()->isMaximized());
        // The size it was described with, or as much of it as the screen holds beside the window's frame,
        // never less than its controls need.
        const QSize normal = frame->window.Root()->normalGeometry().size();
        const QSize screen = frame->window.Root()->screen()->availableGeometry().size();
        const QSize expected =
            QSize(1260, 900).boundedTo(screen).expandedTo(frame->window.Root()->minimumSizeHint());
        QVERIFY2(normal.width() <= expected.width() && normal.width() >= expected.width() - 20 &&
                     normal.height() <= expected.height() && normal.height() >= expected.height() - 40,
                 qPrintable(QStringLiteral("%1x%2").arg(normal.width()).arg(normal.height())));
    }

    void exitWithAChangedFormOpenAsksSaveRecord_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("passwordsDiffer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("keepsRunning");
        QTest::addColumn<QString>("storedName");
        QTest::newRow("Cancel: the program keeps running")
            << int(MessageButton::Cancel) << false << QStringList{"Save Record"} << true << "Ann Smith";
        QTest::newRow("No: closes without saving")
            << int(MessageButton::No) << false << QStringList{"Save Record"} << false << "Ann Smith";
        QTest::newRow("Yes: saves and closes")
            << int(MessageButton::Yes) << false << QStringList{"Save Record"} << false << "Ann Jones";
        QTest::newRow("Yes with a record that cannot be saved: the program keeps running")
            << int(MessageButton::Yes) << true << QStringList{"Save Record", "Password Problem"} << true
            << "Ann Smith";
    }
    void exitWithAChangedFormOpenAsksSaveRecord()
    {
        QFETCH(int, answer);
        QFETCH(bool, passwordsDiffer);
        QFETCH(QStringList, asked);
        QFETCH(bool, keepsRunning);
        QFETCH(QString, storedName);
        WindowController* frame = StartFrame();
        QVERIFY(frame);
        Press(*frame, -20); // a window before Manage Users in the order of the close
        QVERIFY(ChangeMyNameInTheForm(passwordsDiffer));
        boxes->answers = {answer};

        Press(*frame, -4);
        QVERIFY(WaitIdle());
        QCOMPARE(boxes->Captions(), asked);
        QCOMPARE(ThreadIsActive(frameThread), keepsRunning);
        QCOMPARE(bool(FindWindow(QStringLiteral("UpdateUser"))), keepsRunning);
        QCOMPARE(bool(FindWindow(QStringLiteral("ManageUsers"))), keepsRunning);
        QVERIFY(!FindWindow(QStringLiteral("Tasks")));
        QCOMPARE(StoredName(), storedName);
        if (keepsRunning) {
            // The frame still takes its commands, and closes once the form lets it.
            Press(*frame, -12);
            QVERIFY(FindWindow(QStringLiteral("DateView")));
            boxes->answers = {MessageButton::No};
            Press(*frame, -4);
            QVERIFY(WaitIdle());
            QVERIFY(!ThreadIsActive(frameThread));
        }
    }
};

QTEST_MAIN(MainTest)
#include "tst_Main.moc"
