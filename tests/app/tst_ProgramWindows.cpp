#include "core/CoreProcedures.h"
#include "core/Main.h"
#include "core/MenuBar.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/help/HelpViewer.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractButton>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// The warnings of a missing procedure, heard while a case runs; every other message goes on as before.
QStringList MissingProcedures;
QtMessageHandler PreviousHandler = nullptr;

void HearMissingProcedures(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("No window procedure is named")))
        MissingProcedures << message;
    if (PreviousHandler)
        PreviousHandler(type, context, message);
}

WindowController* Frame()
{
    return FindWindow(QStringLiteral("Main"));
}

} // namespace

// The program as main.cpp builds it: the four libraries register their windows, the frame starts for a
// signed-in administrator, and every menu item, toolbar button and side menu bar entry that starts a window
// reaches a window of the program, never the warning that no procedure has the name.
class ProgramWindowsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    ThreadNumber frameThread = 0;
    QStringList missingImages;

    // A user's click on a control of the side menu bar.
    static bool ClickBar(int control)
    {
        auto* button = qobject_cast<QAbstractButton*>(MenuBarControlWidget(control));
        if (!button)
            return false;
        button->click();
        return WaitIdle();
    }

    // Closes the top window until none is open: a window of the frame's thread, the windows in the frame and
    // the frame itself, which closes the panes and the bar. "Cancel?" is answered Yes, every other question
    // No (nothing is saved).
    void CloseEverything()
    {
        boxes->answers.clear();
        boxes->onShow = [this](const MessageBoxRequest& box) {
            boxes->answers = {box.caption == QLatin1String("Cancel?") ? MessageButton::Yes : MessageButton::No};
        };
        for (int round = 0; round < 20 && !WindowController::OpenWindows().empty(); ++round) {
            WindowController* top = WindowController::OpenWindows().back();
            PostEvent(Event::CloseWindow, 0, top->Thread());
            WaitIdle(10000);
        }
    }

private slots:
    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        WindowDescription::SetImageFolder(QStringLiteral(":/icons")); // as the program start does
        WindowDescription::SetImageListener([this](const QString& image, const QString& path) {
            if (path.isEmpty() && !missingImages.contains(image))
                missingImages << image;
        });
        PreviousHandler = qInstallMessageHandler(HearMissingProcedures);
        // As main does.
        RegisterCoreProcedures();
        RegisterJournalProcedures();
        RegisterOrganizerProcedures();
        RegisterReportsProcedures();
    }

    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        QVERIFY(test::SignInAdministrator(Me));
        GLO.ShowOverdueReminders = 0; // the panes open only when a case asks for them
        MenuBarState = MenuBarStateRecord();
        WindowThreadRegistry.fill(0);
        CurrentReportArea = 0;
        boxes = std::make_unique<test::MessageRecorder>();
        SetHelpSink([](const HelpRequest&) -> QWidget* { return nullptr; });
        MissingProcedures.clear();
        missingImages.clear();
        frameThread = Start([] { Main(); });
        QVERIFY(Frame());
        QTRY_VERIFY(MenuBarControlWidget(MenuBarControl::Window) && MenuBarState.BarOpened);
    }

    void cleanup()
    {
        CloseEverything();
        QVERIFY(!ThreadIsActive(frameThread));
        QVERIFY(WindowController::OpenWindows().empty());
        MenuBarThread = 0;
        SetHelpSink({});
        boxes.reset();
        RelationsUSR->Close();
        folder.reset();
    }

    void cleanupTestCase()
    {
        EndProgramThreads();
        qInstallMessageHandler(PreviousHandler);
        WindowDescription::SetImageListener({});
    }

    void everyMenuItemAndToolbarButtonOpensAWindowOfTheProgram_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("procedure");
        const struct
        {
            const char* name;
            int control;
            const char* procedure;
        } rows[] = {
            {"&Migrate from Jornix 1.0", -2, "MigrateData"},
            {"O&verdue Reminders", -8, "OverdueReminders"},
            {"Mini-Stic&ky Notes", -9, "MiniStickyNotes"},
            {"Mini-Scra&p Book", -10, "MiniSrap"},
            {"&Date View", -12, "DateView"},
            {"&All Events View", -13, "AllView"},
            {"log events' &Print Options", -14, "PrintOptions"},
            {"&Search Log Events", -15, "Search"},
            {"&Reminders", -17, "Reminder"},
            {"reminders' &Print Options", -18, "PrintOptions"},
            {"&Tasks", -20, "Tasks"},
            {"tasks' &Print Options", -21, "PrintOptions"},
            {"&Sticky Notes", -23, "StickyNotes"},
            {"sticky notes' &Print Options", -24, "PrintOptions"},
            {"&Contacts", -26, "Contacts"},
            {"contacts' &Print Options", -27, "PrintOptions"},
            {"&Scrap", -29, "Scrap"},
            {"scraps' &Print Options", -30, "PrintOptions"},
            {"Report &Designer", -31, "ReportDesigner"},
            {"Program &Setup", -33, "SetupProgram"},
            {"Manage &Users", -34, "ManageUsers"},
            {"&Migrate From Jornix 1.0", -35, "MigrateData"},
            {"toolbar Date View", -42, "DateView"},
            {"toolbar All Events View", -43, "AllView"},
            {"toolbar Reminders", -44, "Reminder"},
            {"toolbar Search Log Events", -45, "Search"},
            {"toolbar Tasks", -47, "Tasks"},
            {"toolbar Contacts", -48, "Contacts"},
            {"toolbar Sticky Notes", -49, "StickyNotes"},
            {"toolbar Report Designer", -51, "ReportDesigner"},
            {"toolbar Setup Program", -53, "SetupProgram"},
            {"toolbar Migrate from Jornix 1.0", -54, "MigrateData"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.control << QString::fromLatin1(row.procedure);
    }
    void everyMenuItemAndToolbarButtonOpensAWindowOfTheProgram()
    {
        QFETCH(int, control);
        QFETCH(QString, procedure);
        Press(*Frame(), control);
        QVERIFY(WaitIdle());
        QVERIFY2(MissingProcedures.isEmpty(), qPrintable(MissingProcedures.join(QStringLiteral("; "))));
        QVERIFY(FindWindow(procedure));
        QVERIFY2(missingImages.isEmpty(),
                 qPrintable(QStringLiteral("no picture for ") + missingImages.join(QStringLiteral(", "))));
    }

    // Each group's header opens the group's pane and its first window; each item then reaches its window.
    void everyEntryOfTheSideMenuBarOpensAWindowOfTheProgram_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("procedure");
        const struct
        {
            const char* name;
            int group;
            int item;
            const char* procedure;
        } rows[] = {
            {"Log Events, Date View", 1, 1, "DateView"},
            {"Log Events, All Events", 1, 2, "AllView"},
            {"Log Events, Print", 1, 3, "PrintOptions"},
            {"Log Events, Search", 1, 4, "Search"},
            {"Reminder, Reminders", 2, 1, "Reminder"},
            {"Reminder, Print", 2, 2, "PrintOptions"},
            {"Tasks, Tasks", 3, 1, "Tasks"},
            {"Tasks, Print", 3, 2, "PrintOptions"},
            {"Sticky Notes, Sticky Notes", 4, 1, "StickyNotes"},
            {"Sticky Notes, Print", 4, 2, "PrintOptions"},
            {"Contacts, Contacts", 5, 1, "Contacts"},
            {"Contacts, Print", 5, 2, "PrintOptions"},
            {"Scrap Book, Scrap Book", 6, 1, "Scrap"},
            {"Scrap Book, Print", 6, 2, "PrintOptions"},
            {"Design Reports, Designer", 7, 1, "ReportDesigner"},
            {"Setup, Setup", 8, 1, "SetupProgram"},
            {"Setup, Users", 8, 2, "ManageUsers"},
            {"Setup, Migrate from 1.0", 8, 3, "MigrateData"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.group << row.item << QString::fromLatin1(row.procedure);
    }
    void everyEntryOfTheSideMenuBarOpensAWindowOfTheProgram()
    {
        QFETCH(int, group);
        QFETCH(int, item);
        QFETCH(QString, procedure);
        using namespace MenuBarControl;
        QVERIFY(ClickBar(Header(group)));
        QTRY_VERIFY(MenuBarState.PaneThread[std::size_t(group)] != 0);
        const auto itemButton = MenuBarControlWidget(ItemButton(group, item));
        QTRY_VERIFY(itemButton && itemButton->isVisible() && itemButton->isEnabled());
        QVERIFY(ClickBar(ItemButton(group, item)));
        QVERIFY2(MissingProcedures.isEmpty(), qPrintable(MissingProcedures.join(QStringLiteral("; "))));
        QTRY_VERIFY(FindWindow(procedure));
        QVERIFY2(missingImages.isEmpty(),
                 qPrintable(QStringLiteral("no picture for ") + missingImages.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(ProgramWindowsTest)
#include "tst_ProgramWindows.moc"
