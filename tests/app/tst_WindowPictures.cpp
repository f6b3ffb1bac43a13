#include "core/AboutBox.h"
#include "core/ChangePassword.h"
#include "core/CoreProcedures.h"
#include "core/CreateJornixDatabase.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/MenuBar.h"
#include "core/MenuBarState.h"
#include "core/OneTimeSetup.h"
#include "core/PasswordHash.h"
#include "core/ProgramGlobals.h"
#include "core/Procedures.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "core/SplashScreen.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/help/HelpViewer.h"
#include "reports/ReportsProcedures.h"

#include "OnScreen.h"
#include "WindowFlaws.h"
#include "core/DataFolder.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

// What a user would see as unfinished in a window: a control cut off or squeezed (WindowFlaws.h), a list whose
// columns run behind a scroll bar, a window that lies partly outside the screen or, inside the frame, outside
// the frame's visible area.
QStringList Flaws(QWidget* window)
{
    QStringList flaws;
    if (auto* child = qobject_cast<QMdiSubWindow*>(window)) {
        if (!child->mdiArea()->viewport()->rect().contains(child->geometry()))
            flaws << QStringLiteral("the window lies outside the frame's area");
    } else if (window->isWindow() && !window->screen()->availableGeometry().contains(window->frameGeometry())) {
        flaws << QStringLiteral("the window lies outside the screen");
    }
    flaws << test::CutOrSqueezed(window);
    for (auto* list : window->findChildren<QAbstractItemView*>())
        if (list->isVisibleTo(window) && !test::LaidOutByItsOwner(list, window) &&
            list->horizontalScrollBar()->isVisible())
            flaws << test::WidgetName(list, window) + QStringLiteral(" has columns behind a scroll bar");
    return flaws;
}

// The visible top-level windows that are not windows of the framework: the help window, the document
// editor's dialogs, the report engine's windows.
QList<QWidget*> OtherWindows()
{
    QList<QWidget*> framework;
    for (WindowController* window : WindowController::OpenWindows())
        framework << window->window.Root();
    QList<QWidget*> others;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !widget->testAttribute(Qt::WA_DontShowOnScreen) &&
            !framework.contains(widget) && widget->windowType() != Qt::Popup &&
            widget->windowType() != Qt::ToolTip)
            others << widget;
    return others;
}

} // namespace

// A picture of every window of the program as a new user first sees it on a 1280 x 1024 screen: the windows
// before the frame (sign-in, first-run setup, splash, About) and every window that the libraries register,
// opened as a user opens it, in the frame at its first size with the sample data of a new data folder. Each
// is whole: nothing cut off or squeezed, nothing outside the frame or the screen, and a picture for every
// image the window asks for.
class WindowPicturesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    QTemporaryDir sampleData; // the data folder that the first-run setup made with its sample records
    QStringList missingImages; // images a window asked for that the icon set does not have
    QString stepFailure;

    static bool CopyFolder(const QString& from, const QString& to)
    {
        QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            const QString target = to + QDir(from).relativeFilePath(file);
            QDir().mkpath(QFileInfo(target).path());
            if (!QFile::copy(file, target))
                return false;
        }
        return true;
    }

    // The data folder of a first run with the sample data, made once: every row starts from these files.
    void MakeSampleData()
    {
        test::DataFolder first;
        QVERIFY(CopyFolder(QStringLiteral(JORNIX_PROGRAM_DIR "/DefaultData"), first.FilePath("DefaultData/")));
        GLO.DataPath = first.Path();
        SetTableFileNames(GLO.DataPath);
        QString failure = QStringLiteral("the setup did not end");
        StartProcedureThread([&failure] {
            failure = CreateJornixDatabase({QStringLiteral("PS"), QStringLiteral("Pat Sample"), {}}, true).failure;
        });
        QVERIFY(WaitForProgramThreads(60000));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        for (const QString& name : QDir(first.Path()).entryList(QDir::Files))
            if (name != QLatin1String("Jornix.ini"))
                QVERIFY(QFile::copy(first.FilePath(name), sampleData.filePath(name)));
    }

    // A step of a row: "Procedure/Control" presses the control of that procedure's window,
    // "Procedure/Control#n" picks the sheet's n-th tab, "Procedure/Control=n" chooses a drop list's or an
    // option group's n-th item (from 0), "Procedure/Control@n" highlights a list's row (from 0),
    // "Procedure/-n" presses the window's menu item or toolbar button number -n,
    // "Procedure/Control~text" types the text into an entry, "Procedure/menu:text" picks the menu item of that
    // text.
    bool RunStep(const QString& step)
    {
        if (step.startsWith(QLatin1String("bar/"))) { // a click on a group's header of the side menu bar
            using namespace MenuBarControl;
            const int group = step.mid(4).toInt();
            auto* header = qobject_cast<QAbstractButton*>(MenuBarControlWidget(Header(group)));
            if (!header) {
                stepFailure = step + QStringLiteral(": no header");
                return false;
            }
            header->click();
            WaitIdle();
            // The group's pane opens on a thread of its own.
            if (!QTest::qWaitFor([group] {
                    QWidget* item = MenuBarControlWidget(ItemButton(group, 1));
                    return MenuBarState.PaneThread[std::size_t(group)] != 0 && item && item->isVisible();
                })) {
                stepFailure = step + QStringLiteral(": the group's pane did not open");
                return false;
            }
            WaitIdle();
            return true;
        }
        const qsizetype slash = step.indexOf(QLatin1Char('/'));
        WindowController* window = FindWindow(step.left(slash));
        if (!window) {
            stepFailure = step + QStringLiteral(": no window ") + step.left(slash);
            return false;
        }
        QString control = step.mid(slash + 1);
        QChar how;
        int value = 0;
        QString typed;
        if (const qsizetype mark = control.indexOf(QRegularExpression(QStringLiteral("[#=@~]"))); mark > 0) {
            how = control[mark];
            typed = control.mid(mark + 1);
            value = typed.toInt();
            control = control.left(mark);
        }
        if (control.startsWith(QLatin1String("menu:"))) { // a menu item, by its text
            for (QAction* item : window->window.Root()->findChildren<QAction*>())
                if (item->text() == control.mid(5)) {
                    item->trigger();
                    WaitIdle();
                    return true;
                }
            stepFailure = step + QStringLiteral(": no menu item");
            return false;
        }
        bool byNumber = false; // a menu item or toolbar button of the frame, by its number
        int number = control.toInt(&byNumber);
        if (!byNumber)
            number = window->window.ControlNumber(control);
        if (!number) {
            stepFailure = step + QStringLiteral(": no control ") + control;
            return false;
        }
        if (how == QLatin1Char('#'))
            PickTab(*window, number, value);
        else if (how == QLatin1Char('~'))
            Type(*window, number, typed);
        else if (how == QLatin1Char('@'))
            PickRow(*window, number, value);
        else if (how == QLatin1Char('=') && qobject_cast<QComboBox*>(window->window.Widget(number)))
            Choose(*window, number, value);
        else if (how == QLatin1Char('=')) { // a group of options
            const QList<QRadioButton*> options = window->window.Widget(number)->findChildren<QRadioButton*>();
            if (value >= options.size()) {
                stepFailure = step + QStringLiteral(": no such option");
                return false;
            }
            options[value]->click();
            WaitIdle();
        }
        else
            Press(*window, number);
        return true;
    }

    // Opens the window of the row and gives it: a window before the frame on its own, any other in the frame.
    QWidget* Open(const QString& start, const QStringList& steps, const QString& window)
    {
        if (start == QLatin1String("Login"))
            Start([] { Login(); });
        else if (start == QLatin1String("ChangePassword"))
            Start([] { ChangePassword(); });
        else if (start == QLatin1String("AboutBox"))
            Start([] { AboutBox(); });
        else if (start == QLatin1String("SplashScreen"))
            Start([] { SplashScreen(); });
        else if (start == QLatin1String("OneTimeSetup"))
            Start([] { OneTimeSetup(); });
        else {
            Start([] { Main(); });
            if (!QTest::qWaitFor(
                    [] { return MenuBarState.BarOpened && MenuBarControlWidget(MenuBarControl::Window); }))
                return nullptr; // the side menu bar never opened
            WaitIdle();
            if (start != QLatin1String("Main")) {
                StartProcedure(start);
                WaitIdle();
            }
        }
        for (const QString& step : steps)
            if (!RunStep(step))
                return nullptr;
        if (window.isEmpty()) {
            const QList<QWidget*> others = OtherWindows();
            if (others.size() == 1)
                return others.front();
            stepFailure = QStringLiteral("%1 windows of their own are open:").arg(others.size());
            for (const QWidget* other : others)
                stepFailure += QLatin1Char(' ') + QString::fromLatin1(other->metaObject()->className());
            for (const MessageBoxRequest& box : boxes->boxes)
                stepFailure += QStringLiteral("; the box \"%1\": %2").arg(box.caption, box.text);
            return nullptr;
        }
        WindowController* opened = FindWindow(window);
        return opened ? opened->window.Root() : nullptr;
    }

    void CloseEverything()
    {
        boxes->answers.clear();
        boxes->onShow = [this](const MessageBoxRequest& box) {
            boxes->answers = {box.caption.startsWith(QLatin1String("Cancel")) ? MessageButton::Yes : MessageButton::No};
        };
        // A dialog that is not the framework's holds its thread until it closes.
        for (QWidget* other : OtherWindows())
            if (auto* dialog = qobject_cast<QDialog*>(other))
                dialog->reject();
            else
                other->close();
        WaitIdle();
        for (int round = 0; round < 20 && !WindowController::OpenWindows().empty(); ++round) {
            WindowController* top = WindowController::OpenWindows().back();
            PostEvent(Event::CloseWindow, 0, top->Thread());
            WaitIdle();
        }
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024));
        UseMinimumPasswordLimits(true);
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        WindowDescription::SetImageListener([this](const QString& image, const QString& path) {
            if (path.isEmpty() && !missingImages.contains(image))
                missingImages << image;
        });
        SetHelpFolder(QStringLiteral(JORNIX_PROGRAM_DIR "/help"));
        // As main does.
        RegisterCoreProcedures();
        RegisterJournalProcedures();
        RegisterOrganizerProcedures();
        RegisterReportsProcedures();
        MakeSampleData();
    }
    void init()
    {
        missingImages.clear();
        stepFailure.clear();
        folder = std::make_unique<test::DataFolder>();
        QVERIFY(CopyFolder(sampleData.path() + QLatin1Char('/'), folder->Path()));
        GLO.DataPath = folder->Path();
        DataPathText = GLO.DataPath; // as the start fixes it
        QVERIFY(test::SignInAdministrator(Me));
        MenuBarState = MenuBarStateRecord();
        WindowThreadRegistry.fill(0);
        CurrentReportArea = 0;
        boxes = std::make_unique<test::MessageRecorder>();
        boxes->answers = {MessageButton::Yes};
    }
    void cleanup()
    {
        CloseEverything();
        QVERIFY(WindowController::OpenWindows().empty());
        boxes.reset();
        RelationsUSR->Close();
        folder.reset();
        MenuBarThread = 0;
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        WindowDescription::SetImageListener({});
    }

    void theWindowLooksFinished_data()
    {
        QTest::addColumn<QString>("start");      // the procedure the user starts
        QTest::addColumn<QStringList>("steps"); // what the user presses then
        QTest::addColumn<QString>("window");     // the window of the picture
        const auto row = [](const char* name, const char* start, QStringList steps, const char* window) {
            QTest::newRow(name) << QString::fromLatin1(start) << steps << QString::fromLatin1(window);
        };
        const auto alone = [&row](const char* name, const char* procedure) { row(name, procedure, {}, procedure); };
        // Before the frame.
        alone("sign-in", "Login");
        alone("password change", "ChangePassword");
        for (int page = 1; page <= 6; ++page)
            row(qPrintable(QStringLiteral("first-run setup, page %1").arg(page)), "OneTimeSetup",
                {QStringLiteral("OneTimeSetup/Sheet#%1").arg(page)}, "OneTimeSetup");
        alone("About", "AboutBox");
        alone("splash", "SplashScreen");
        // The frame with its side menu bar and the overdue reminders pane.
        alone("frame", "Main");
        const char* const groups[] = {"Log Events", "Reminder",       "Tasks", "Sticky Notes",
                                      "Contacts",   "Scrap Book", "Design Reports", "Setup"};
        for (int group = 1; group <= 8; ++group)
            row(qPrintable(QStringLiteral("side menu bar, %1").arg(QLatin1String(groups[group - 1]))), "Main",
                {QStringLiteral("bar/%1").arg(group)}, "Main");
        // Setup.
        for (int tab = 1; tab <= 6; ++tab)
            row(qPrintable(QStringLiteral("Program Setup, tab %1").arg(tab)), "SetupProgram",
                {QStringLiteral("SetupProgram/Sheet#%1").arg(tab)}, "SetupProgram");
        row("Program Setup, a misc field", "SetupProgram", {"SetupProgram/Sheet#6", "SetupProgram/Insert"},
            "UpdateMiscFields");
        row("Program Setup, a misc field's list", "SetupProgram",
            {"SetupProgram/Sheet#6", "SetupProgram/Insert", "UpdateMiscFields/F1Show", "UpdateMiscFields/F1Type=1",
             "UpdateMiscFields/F1List"},
            "EditMiscList");
        alone("users", "ManageUsers");
        row("a user", "ManageUsers", {"ManageUsers/Insert"}, "UpdateUser");
        alone("migration", "MigrateData");
        // Log events.
        alone("Date View", "DateView");
        row("Date View, a log event", "DateView", {"DateView/Change"}, "UpdateLogTX");
        row("Date View, a new log event", "DateView", {"DateView/Insert"}, "UpdateLogTX");
        row("a log event, Misc", "DateView", {"DateView/Change", "UpdateLogTX/Sheet#2"}, "UpdateLogTX");
        row("a log event, Notes", "DateView", {"DateView/Change", "UpdateLogTX/Sheet#3"}, "UpdateLogTX");
        const struct
        {
            const char* name;
            const char* control;
        } editorDialogs[] = {
            {"find", "FindTool"},
            {"replace", "ReplaceTool"},
            {"spelling", "SpellCheckTool"},
            {"paragraph", "ParagraphSettingsTool"},
            {"new table", "InsertTableTool"},
            {"date and time", "InsertDateTimeTool"},
            {"bullets", "menu:&Bullets and Numbering..."},
            {"tabs", "menu:&Tabs..."},
            {"styles", "menu:&Edit Styles..."},
            {"page setup", "menu:Pa&ge Setup"},
        };
        for (const auto& dialog : editorDialogs)
            row(qPrintable(QStringLiteral("a log event's notes, %1").arg(QLatin1String(dialog.name))), "DateView",
                {"DateView/Change", QStringLiteral("UpdateLogTX/") + QLatin1String(dialog.control)}, "");
        // The user-defined fields on a form's Misc tab, as Program Setup defines them: a text, a list, a box.
        const auto miscFields = [](int recordType) {
            return QStringList{"SetupProgram/Sheet#6",
                               "SetupProgram/Insert",
                               QStringLiteral("UpdateMiscFields/MiscType=%1").arg(recordType),
                               "UpdateMiscFields/F1Show",
                               "UpdateMiscFields/F1Prompt~Mood:",
                               "UpdateMiscFields/F2Show",
                               "UpdateMiscFields/F2Prompt~Weather:",
                               "UpdateMiscFields/F2Type=1",
                               "UpdateMiscFields/F3Show",
                               "UpdateMiscFields/F3Prompt~Shared with the family",
                               "UpdateMiscFields/F3Type=3",
                               "UpdateMiscFields/OK"};
        };
        row("a log event, its misc fields", "SetupProgram",
            miscFields(0) + QStringList{"DateView/Change", "UpdateLogTX/Sheet#2"}, "UpdateLogTX");
        row("a contact, its misc fields", "SetupProgram",
            miscFields(3) + QStringList{"Main/-26", "Contacts/Change", "UpdateContact/Sheet#2"}, "UpdateContact");
        row("a log event, its date", "DateView", {"DateView/Change", "UpdateLogTX/ChangeDate"}, "SelectDate");
        row("Date View, a new reminder", "DateView", {"DateView/InsertReminder"}, "UpdateReminder");
        row("Date View, the date picker", "DateView", {"DateView/PickGoToDate"}, "SelectDate");
        row("Date View, print", "DateView", {"DateView/Print"}, "PrintRec");
        row("Date View, print, the engine", "DateView", {"DateView/Print", "PrintRec/List@1", "PrintRec/PRINT"}, "");
        row("Date View, print, the printer options", "DateView",
            {"DateView/Print", "PrintRec/List@1", "PrintRec/RPT:PRINTEROPTIONS", "PrintRec/PRINT"}, "");
        row("Date View, help", "DateView", {"DateView/Help"}, "");
        alone("All Events View", "AllView");
        row("All Events View, a log event", "AllView", {"AllView/Change"}, "UpdateLogTX");
        row("All Events View, the date picker", "AllView", {"AllView/PickBSDate"}, "SelectDate");
        alone("Search", "Search");
        row("Search, its results", "Search", {"Search/SRCH:SearchString~Welcome", "Search/BeginSearch"}, "Search");
        alone("Select Log Event", "SelectLogEvent");
        // Reminders.
        alone("Reminders", "Reminder");
        row("a new reminder", "Reminder", {"Reminder/Insert"}, "UpdateReminder");
        row("a reminder's link", "Reminder", {"Reminder/Insert", "UpdateReminder/LinkType=1",
                                                "UpdateReminder/SelectLink"},
            "SelectLogEvent");
        alone("overdue reminders", "OverdueReminders");
        // A reminder due today, shown and linked to the sample event, as the user writes it.
        const QStringList dueReminder = {"Reminder/Insert",
                                         "UpdateReminder/Description~Call the dentist about the appointment",
                                         "UpdateReminder/ShowReminder",
                                         "UpdateReminder/LinkType=1",
                                         "UpdateReminder/SelectLink",
                                         "SelectLogEvent/Select",
                                         "UpdateReminder/OK"};
        row("overdue reminders, one due", "Reminder", dueReminder, "OverdueReminders");
        row("Reminders, one due", "Reminder", dueReminder, "Reminder");
        row("Date View, a reminder of the day", "Reminder", dueReminder, "DateView");
        // Tasks, contacts, sticky notes, scraps.
        alone("Tasks", "Tasks");
        row("a task", "Tasks", {"Tasks/Change"}, "UpdateTask");
        row("a task's scraps", "Tasks", {"Tasks/Change", "UpdateTask/ShowScraps"}, "SelectScrap");
        alone("Select Task", "SelectTask");
        alone("Contacts", "Contacts");
        row("a contact", "Contacts", {"Contacts/Change"}, "UpdateContact");
        alone("Select Contact", "SelectContact");
        alone("Sticky Notes", "StickyNotes");
        row("a sticky note", "StickyNotes", {"StickyNotes/Change"}, "UpdateStickyNotes");
        alone("mini sticky notes", "MiniStickyNotes");
        alone("Scrap Book", "Scrap");
        row("a scrap", "Scrap", {"Scrap/Change"}, "UpdateScrap");
        alone("Select Scrap", "SelectScrap");
        alone("mini scrap book", "MiniSrap");
        // Reports.
        for (const auto& [area, item] : {std::pair{"log events", -14}, {"reminders", -18}, {"tasks", -21},
                                         {"sticky notes", -24}, {"contacts", -27}, {"scraps", -30}})
            row(qPrintable(QStringLiteral("Print Options, %1").arg(QLatin1String(area))), "Main",
                {QStringLiteral("Main/%1").arg(item)}, "PrintOptions");
        alone("Report Designer", "ReportDesigner");
        row("a report layout", "ReportDesigner", {"ReportDesigner/Change"}, "UpdateReportDesign");
        row("a report layout, the designer", "ReportDesigner",
            {"ReportDesigner/Copy", "UpdateReportDesign/EditLayout"}, "");
    }
    void theWindowLooksFinished()
    {
        QFETCH(QString, start);
        QFETCH(QStringList, steps);
        QFETCH(QString, window);
        QWidget* root = Open(start, steps, window);
        QVERIFY2(stepFailure.isEmpty(), qPrintable(stepFailure));
        QVERIFY(root);
        QVERIFY(root->isVisible());
        test::SavePicture(root->window(),
                          QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')));
        QStringList flaws = Flaws(root);
        // Opening it left the other windows in the frame whole too.
        if (WindowController* main = FindWindow(QStringLiteral("Main")))
            for (QMdiSubWindow* child : main->window.ChildArea()->subWindowList())
                if (child != root && child->isVisible() &&
                    !child->mdiArea()->viewport()->rect().contains(child->geometry()))
                    flaws << child->windowTitle() + QStringLiteral(" lies outside the frame's area");
        QVERIFY2(flaws.isEmpty(), qPrintable(window + QStringLiteral(": ") + flaws.join(QStringLiteral("; "))));
        // Every image the window asked for is in the icon set.
        QVERIFY2(missingImages.isEmpty(),
                 qPrintable(window + QStringLiteral(" has no picture for ") +
                            missingImages.join(QStringLiteral(", "))));
    }
};

JORNIX_TEST_MAIN_ON_SCREEN(WindowPicturesTest, 1280, 1024)
#include "tst_WindowPictures.moc"
