#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/Main.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SetupProgram.h"
#include "core/SharedState.h"
#include "platform/framework/IniSettings.h"
#include "platform/framework/TableRelations.h"
#include "platform/help/HelpViewer.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include "DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

WindowController* Setup()
{
    return FindWindow(QStringLiteral("SetupProgram"));
}

QString Kept(const QString& name)
{
    return INIMgr.ReadValue(PreservedSection, QStringLiteral("GLO:") + name);
}

QWidget* WidgetNamed(WindowController& window, const QString& name)
{
    return window.window.Widget(window.window.ControlNumber(name));
}

// The colour a control fills itself with; invalid when it has no fill.
QColor Fill(WindowController& window, const QString& name)
{
    QWidget* widget = WidgetNamed(window, name);
    return widget->autoFillBackground() ? widget->palette().color(widget->backgroundRole()) : QColor();
}

QColor Colour(quint32 setting)
{
    return QColorFromColour(setting);
}

CommonDialogAnswer Chosen(const QColor& colour)
{
    CommonDialogAnswer answer;
    answer.accepted = true;
    answer.colour = colour;
    return answer;
}

CommonDialogAnswer ChosenFolder(const QString& path)
{
    CommonDialogAnswer answer;
    answer.accepted = true;
    answer.path = path;
    return answer;
}

// One definition row written straight into the table, with the fields shown.
void AddDefinition(int type, const QList<int>& shown)
{
    AccessMSC->GetTable().ClearBuffer();
    AccessMSC->SetFieldDefaults();
    Record& record = AccessMSC->Buffer();
    record.SetValue(QStringLiteral("MSC:MiscType"), type);
    for (const int field : shown)
        record.SetValue(QStringLiteral("MSC:F%1Show").arg(field), 1);
    QCOMPARE(AccessMSC->Insert(), 0);
}

QStringList RowTexts(WindowController& window, int row)
{
    QAbstractItemModel* model = window.window.ListModel(window.window.ControlNumber(QStringLiteral("List")));
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->index(row, column).data().toString();
    return texts;
}

// The form of a definition, standing in for the real one: an insert writes a task definition with field 2
// shown and answers "completed"; every other request is noted and cancelled.
QList<int> formRequests;
void StandInDefinitionForm()
{
    ThreadContext& thread = CurrentContext();
    formRequests << thread.GlobalRequestCode;
    thread.GlobalResponseCode = Response::Cancelled;
    if (thread.GlobalRequestCode != Request::Insert)
        return;
    Record& record = AccessMSC->Buffer();
    record.SetValue(QStringLiteral("MSC:MiscType"), 3);
    record.SetValue(QStringLiteral("MSC:F2Show"), 1);
    if (AccessMSC->Insert() == 0)
        thread.GlobalResponseCode = Response::Completed;
}

} // namespace

class SetupProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestFrame> frame;
    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;

    WindowController* Open()
    {
        Start([] { SetupProgram(); });
        return Setup();
    }

    void Close()
    {
        if (WindowController* setup = Setup()) {
            setup->Post(Event::CloseWindow);
            QVERIFY(WaitIdle());
        }
        QVERIFY(!Setup());
    }

private slots:
    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    }

    void init()
    {
        frame = std::make_unique<test::TestFrame>();
        folder = std::make_unique<test::DataFolder>();
        QCOMPARE(RelationsUSR->Open(), 0);
        QVERIFY(test::AddUser(QStringLiteral("jd"), QStringLiteral("Jo Doe"), Me));
        QCOMPARE(RelationsMSC->Open(), 0);
        UsrAccess::LoginID = QStringLiteral("jd");
        CurrentUserUniqueID = Me;
        GLO.DataPath = folder->Path();
        DataPathText = folder->Path();
        boxes = std::make_unique<test::MessageRecorder>();
        formRequests.clear();
        RegisterProcedure(QStringLiteral("UpdateMiscFields"), StandInDefinitionForm);
    }

    void cleanup()
    {
        if (WindowController* password = FindWindow(QStringLiteral("ChangePassword")))
            Press(*password, QStringLiteral("Cancel"));
        Close();
        QCOMPARE(WindowThreadRegistry[WindowKind::SetupProgram], 0);
        QVERIFY(!AccessLOG->GetTable().FileIsOpen());
        boxes.reset();
        RelationsMSC->Close();
        RelationsUSR->Close();
        folder.reset();
        frame.reset();
        ClearProcedures();
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void openingWritesTheSettingsInMemoryAndLeavesTheDebugSwitch()
    {
        QVERIFY(folder->WriteSettings("[Preserved]\nGLO:DebugSwitch=1\nGLO:StartupView=2\n"));
        GLO.StartupView = 4;
        GLO.TXShowGridLines = 0;
        QVERIFY(Open());
        QCOMPARE(Kept("StartupView"), QStringLiteral("4"));
        QCOMPARE(Kept("TXShowGridLines"), QStringLiteral("0"));
        QCOMPARE(Kept("DebugSwitch"), QStringLiteral("1"));
        QCOMPARE(Setup()->window.Caption(), QStringLiteral("Program Setup"));
        QCOMPARE(Setup()->window.Root()->minimumSize(), Setup()->window.Root()->size());
    }

    void anEditClosedWithoutApplyIsWrittenByTheNextOpening()
    {
        WindowController* setup = Open();
        QVERIFY(setup);
        auto* tasks = WidgetNamed(*setup, QStringLiteral("StartupMode"))
                          ->findChild<QAbstractButton*>(QStringLiteral("Tasks"));
        QVERIFY(tasks);
        tasks->click();
        QVERIFY(WaitIdle());
        QCOMPARE(GLO.StartupView, quint8(4)); // in memory at once
        Close();
        QCOMPARE(Kept("StartupView"), QStringLiteral("1"));
        QVERIFY(Open());
        QCOMPARE(Kept("StartupView"), QStringLiteral("4"));
    }

    void colourButtons_data()
    {
        QTest::addColumn<QString>("example");
        QTest::addColumn<QString>("title");
        QTest::addColumn<qint32*>("setting");
        QTest::newRow("menu bar text") << "MenuBarTextColor"
                                       << "Select Jornix Menu Bar Text Color" << &GLO.JornixMenuBarTextColor;
        QTest::newRow("menu bar background")
            << "MenuBarBGColor"
            << "Select Jornix Menu Bar Background Color" << &GLO.JornixMenuBarBGColor;
        QTest::newRow("reminder day") << "ReminderColor"
                                      << "Select Reminder Color" << &GLO.ReminderDayColor;
        QTest::newRow("selected day") << "SelectDayColor"
                                      << "Selected Day Color" << &GLO.SelectDayFillColor;
        QTest::newRow("current day") << "CurrentDayColor"
                                     << "Select Current Day Color" << &GLO.CurrentDayColor;
        QTest::newRow("sticky background")
            << "StickyBGColor"
            << "Select Sticky Notes Background Color" << &GLO.StickyNoteBGColor;
        QTest::newRow("sticky foreground")
            << "StickyFGColor"
            << "Select Sticky Notes Foreground Color" << &GLO.StickyNoteFGColor;
    }

    // The dialog starts at the setting; a chosen colour shows at once, a cancelled one changes nothing, and
    // Cancel brings back the file's value and its example.
    void colourButtons()
    {
        QFETCH(QString, example);
        QFETCH(QString, title);
        QFETCH(qint32*, setting);
        const qint32 kept = *setting;
        const QColor green(0, 160, 64);
        DialogScript dialogs({Chosen(green), CommonDialogAnswer{}});
        WindowController* setup = Open();
        QVERIFY(setup);
        QCOMPARE(Fill(*setup, example), Colour(kept));

        Press(*setup, example + QStringLiteral("Button"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
        QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::Colour);
        QCOMPARE(dialogs.asked[0].title, title);
        QCOMPARE(dialogs.asked[0].colour, Colour(kept));
        QCOMPARE(*setting, 0x40A000); // red in the low byte
        QCOMPARE(Fill(*setup, example), green);

        Press(*setup, example + QStringLiteral("Button")); // cancelled
        QCOMPARE(Fill(*setup, example), green);

        Press(*setup, QStringLiteral("Cancel"));
        QCOMPARE(*setting, kept);
        QCOMPARE(Fill(*setup, example), Colour(kept));
        QVERIFY(Setup()); // the window stays open
    }

    void theStickyNoteExampleShowsTheForegroundOnTheBackground()
    {
        const QColor red(255, 0, 0), yellow(255, 255, 0);
        DialogScript dialogs({Chosen(red)});
        WindowController* setup = Open();
        QVERIFY(setup);
        PickTab(*setup, setup->window.ControlNumber(QStringLiteral("Sheet")), 3);
        Press(*setup, QStringLiteral("StickyFGColorButton"));
        QCOMPARE(GLO.StickyNoteFGColor, 0x0000FF);
        const QImage picture = WidgetNamed(*setup, QStringLiteral("StickyExample"))->grab().toImage();
        int background = 0, text = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                background += pixel == yellow;
                text += pixel == red;
            }
        QVERIFY2(background > picture.width() * picture.height() / 2,
                 "the box is filled with the background");
        QVERIFY2(text > 10, "the example text is drawn in the foreground colour");
    }

    void aNewDataFolderChangesOnlyTheSetting()
    {
        QTemporaryDir newFolder;
        const QString oldFolder = folder->Path();
        const QString logFile = AccessLOG->GetTable().FilePath();
        DialogScript dialogs({ChosenFolder(newFolder.path())});
        WindowController* setup = Open();
        QVERIFY(setup);
        Press(*setup, QStringLiteral("DataPathButton"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
        QCOMPARE(dialogs.asked[0].kind, CommonDialogRequest::Kind::Folder);
        QCOMPARE(dialogs.asked[0].title, QStringLiteral("Select Jornix Data Folder"));
        QCOMPARE(boxes->boxes.size(), 1);
        const MessageBoxRequest& box = boxes->boxes[0];
        QCOMPARE(box.caption, QStringLiteral("Jornix Data Path Change"));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(box.buttons, int(MessageButton::Ok));
        QCOMPARE(
            box.text.split(QLatin1Char('\n')),
            QStringList({"You have changed the Jornix Data Path to a different location. You must manually "
                         "move your files to the new location.",
                         "", "Original Location: " + oldFolder, "New Location: " + newFolder.path(), "",
                         "Please refer to the Jornix help file for information about moving the files to "
                         "the new Jornix Data Path location."}));
        QCOMPARE(GLO.DataPath, newFolder.path());
        QCOMPARE(qobject_cast<QLineEdit*>(WidgetNamed(*setup, QStringLiteral("DataPathEntry")))->text(),
                 newFolder.path());
        QCOMPARE(DataPathText, oldFolder);
        QCOMPARE(AccessLOG->GetTable().FilePath(), logFile);
        QVERIFY(AccessLOG->GetTable().FileIsOpen());
        QVERIFY(QDir(newFolder.path()).isEmpty());
        QCOMPARE(Kept("DataPath"), oldFolder);

        Press(*setup, QStringLiteral("Apply"));
        QCOMPARE(Kept("DataPath"), newFolder.path());
    }

    void aCancelledFolderDialogChangesNothing()
    {
        DialogScript dialogs;
        WindowController* setup = Open();
        QVERIFY(setup);
        Press(*setup, QStringLiteral("DataPathButton"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(GLO.DataPath, folder->Path());
    }

    void theDataPathTakesAPathLongerThanAnyFixedLength()
    {
        WindowController* setup = Open();
        QVERIFY(setup);
        const QString longPath = QStringLiteral("/home/jo/") + QString(300, QLatin1Char('d'));
        Type(*setup, QStringLiteral("DataPathEntry"), longPath);
        QCOMPARE(GLO.DataPath, longPath);
    }

    void theFontDialog_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QFont>("answer");
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("colour");
        const QFont arial(QStringLiteral("Arial"), 14, QFont::Bold, true);
        QFont marked(QStringLiteral("Courier New"), 10);
        marked.setUnderline(true);
        marked.setStrikeOut(true);
        QTest::newRow("Arial 14 bold italic in dark blue")
            << true << arial << "Arial" << 14 << 4796 << 0x800000;
        QTest::newRow("underlined and struck out")
            << true << marked << "Courier New" << 10 << 24976 << 0x800000;
        QTest::newRow("cancelled") << false << arial << "Times New Roman" << 12 << 400 << 0;
    }

    void theFontDialog()
    {
        QFETCH(bool, accepted);
        QFETCH(QFont, answer);
        QFETCH(QString, face);
        QFETCH(int, size);
        QFETCH(int, style);
        QFETCH(int, colour);
        CommonDialogAnswer chosen = Chosen(QColor(0, 0, 128)); // dark blue
        chosen.accepted = accepted;
        chosen.font = answer;
        DialogScript dialogs({chosen});
        WindowController* setup = Open();
        QVERIFY(setup);
        Press(*setup, QStringLiteral("DefaultFontButton"));
        QCOMPARE(dialogs.asked.size(), size_t(1));
        const CommonDialogRequest& asked = dialogs.asked[0];
        QCOMPARE(asked.kind, CommonDialogRequest::Kind::Font);
        QCOMPARE(asked.title, QStringLiteral("Choose Default Font Properties"));
        QVERIFY(asked.withColour);
        QCOMPARE(asked.font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(asked.font.pointSize(), 12);
        QCOMPARE(asked.colour, QColor(Qt::black));
        QCOMPARE(GLO.DefFont, face);
        QCOMPARE(GLO.DefFontSize, size);
        QCOMPARE(GLO.DefFontStyle, style);
        QCOMPARE(GLO.DefFontColor, colour);
        const QWidget* example = WidgetNamed(*setup, QStringLiteral("FontExampleText"));
        QCOMPARE(qobject_cast<const QLabel*>(example)->text(), QStringLiteral("Example Text ABC 123"));
        QCOMPARE(example->font().pointSize(), size);
        QCOMPARE(example->font().bold(), (style & 0xFFF) == 700);
        QCOMPARE(example->font().italic(), bool(style & 4096));
        QCOMPARE(example->font().underline(), bool(style & 8192));
        QCOMPARE(example->font().strikeOut(), bool(style & 16384));
        QCOMPARE(example->palette().color(example->foregroundRole()), Colour(quint32(colour)));
        QCOMPARE(qobject_cast<QLineEdit*>(WidgetNamed(*setup, QStringLiteral("DefaultFont")))->text(), face);
    }

    void theButtonsThatAnswerWithAMessage_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("an aborted password change") << "ChangePassword"
                                                    << "Password change has been aborted.";
        QTest::newRow("Apply") << "Apply"
                               << "Some settings require that you restart the program.";
    }

    void theButtonsThatAnswerWithAMessage()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        WindowController* setup = Open();
        QVERIFY(setup);
        Press(*setup, button);
        if (WindowController* password = FindWindow(QStringLiteral("ChangePassword")))
            Press(*password, QStringLiteral("Cancel"));
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, QStringLiteral("Information"));
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Information);
        QCOMPARE(boxes->boxes[0].text, text);
        QVERIFY(Setup());
    }

    void theMiscFieldsListShowsTheDefinitionsAndInsertsThroughTheirForm()
    {
        AddDefinition(2, {1, 3});
        AddDefinition(1, {6});
        WindowController* setup = Open();
        QVERIFY(setup);
        const int list = setup->window.ControlNumber(QStringLiteral("List"));
        QCOMPARE(setup->window.ListModel(list)->rowCount(), 2);
        QCOMPARE(RowTexts(*setup, 0), QStringList({"Log Event", "", "", "", "", "", "X"}));
        QCOMPARE(RowTexts(*setup, 1), QStringList({"Reminder", "X", "", "X", "", "", ""}));
        QCOMPARE(setup->window.ListModel(list)->index(0, 6).data(Qt::TextAlignmentRole).toInt() &
                     Qt::AlignHorizontal_Mask,
                 int(Qt::AlignHCenter));

        Press(*setup, QStringLiteral("Insert"));
        QCOMPARE(formRequests, QList<int>{Request::Insert});
        QCOMPARE(setup->window.ListModel(list)->rowCount(), 3);
        QCOMPARE(RowTexts(*setup, 2), QStringList({"Task", "", "X", "", "", "", ""}));
        PickRow(*setup, list, 0);
        Press(*setup, QStringLiteral("Change"));
        QCOMPARE(formRequests, QList<int>({Request::Insert, Request::Change}));
    }

    void theMiscFieldsTextsAreSetAtOpening()
    {
        WindowController* setup = Open();
        QVERIFY(setup);
        QVERIFY(setup->window.Label(setup->window.ControlNumber(QStringLiteral("MiscFieldsText")))
                    .startsWith(QStringLiteral("You can setup up to 6 miscellaneous fields")));
        QVERIFY(
            setup->window.Label(setup->window.ControlNumber(QStringLiteral("MiscFieldsFlexibility")))
                .startsWith(QStringLiteral("Using the miscellaneous fields adds incredible flexibility")));
    }

    void helpShowsTheProgramSetupPage()
    {
        QStringList shown;
        SetHelpSink([&shown](const HelpRequest& request) -> QWidget* {
            shown << request.path;
            return nullptr;
        });
        WindowController* setup = Open();
        QVERIFY(setup);
        Press(*setup, QStringLiteral("Help"));
        SetHelpSink({});
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].endsWith(QStringLiteral("programsetup.htm")), qPrintable(shown[0]));
    }

    void aSecondStartBringsTheFirstForward()
    {
        WindowController* first = Open();
        QVERIFY(first);
        const ThreadNumber thread = first->Thread();
        const ThreadNumber second = Start([] { SetupProgram(); });
        QVERIFY(!ThreadIsActive(second));
        QCOMPARE(Setup(), first);
        QCOMPARE(WindowThreadRegistry[WindowKind::SetupProgram], thread);
        const auto windows = WindowController::OpenWindows();
        QCOMPARE(std::count(windows.begin(), windows.end(), first), 1);
        QCOMPARE(
            std::count_if(windows.begin(), windows.end(),
                          [](WindowController* window) { return window->ProcedureName() == "SetupProgram"; }),
            1);
    }

    // The frame reads the refresh time at its start only.
    void anAppliedRefreshTimeWaitsForTheNextStart()
    {
        frame.reset(); // the program's own frame
        RegisterStandInWindows();
        RegisterCoreProcedures();
        RegisterProcedure(QStringLiteral("UpdateMiscFields"), StandInDefinitionForm);
        GLO.ShowOverdueReminders = 0;
        GLO.GlobalRefreshTime = 0;
        const ThreadNumber frameThread = Start([] { Main(); });
        WindowController* main = FindWindow(QStringLiteral("Main"));
        QVERIFY(main);
        StartProcedure(QStringLiteral("SetupProgram"));
        QVERIFY(WaitIdle());
        WindowController* setup = Setup();
        QVERIFY(setup);
        Type(*setup, QStringLiteral("RefreshTime"), QStringLiteral("300"));
        Press(*setup, QStringLiteral("Apply"));
        QCOMPARE(Kept("GlobalRefreshTime"), QStringLiteral("300"));
        QCOMPARE(main->TimerInterval(), 0);
        PostEvent(Event::CloseWindow, 0, frameThread);
        QVERIFY(WaitIdle(10000));
        QVERIFY(!ThreadIsActive(frameThread));
    }
};

QTEST_MAIN(SetupProgramTest)
#include "tst_SetupProgram.moc"
