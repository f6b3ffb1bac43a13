#include "core/DataLayer.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/StandardBrowseList.h"
#include "core/StandardWindow.h"
#include "platform/help/HelpViewer.h"
#include "platform/store/Table.h"

#include "DataFolder.h"
#include "platform/framework/WindowDriver.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

// What the test window is set up with; each test sets what it needs.
struct TestSetup
{
    bool keepsPlacement = true;
    QString topic = QStringLiteral("tasks.htm");
};
TestSetup setup;

// A list window of an area with an access level, registered, that keeps its placement and has a help topic.
class TestList : public StandardWindow
{
public:
    View view{AccessTSK->GetTable()};
    StandardBrowseList tasks;
    QString name;
    int nameEntry, insertButton, changeButton, helpButton, closeButton;
    ThreadNumber entryAtSetUp = -1;
    int tableOpenAtSetUp = 0;
    QSize openedSize;

    TestList() : StandardWindow(QStringLiteral("TestList"), QStringLiteral("Test List"), WindowType::Child)
    {
        nameEntry = window.Entry(Bind(name), QStringLiteral("@s20"));
        const int list = window.List({{QStringLiteral("Description"), {}, Qt::AlignLeft}});
        window.Buttons([&] {
            insertButton = window.Button(QStringLiteral("&Insert"));
            changeButton = window.Button(QStringLiteral("&Change"));
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            closeButton = window.Button(QStringLiteral("Close"));
        });
        CheckAccess(CurrentUserAccess[AccessArea::Tasks], QStringLiteral("Test Records"));
        RegisterKind(WindowThreadRegistry[WindowKind::Tasks]);
        UseTable(*RelationsTSK);
        if (setup.keepsPlacement)
            KeepPlacement();
        SetHelp(setup.topic, helpButton);
        KeepMinimumSize();
        tasks.SetList(list, view, *RelationsTSK);
        tasks.SetAccessLevel(CurrentUserAccess[AccessArea::Tasks]);
        tasks.SetButtons({.insert = insertButton, .change = changeButton});
        AddList(tasks);
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(closeButton, Response::Cancelled);
        return Level::GoOn;
    }

protected:
    void SetUpWindow() override
    {
        entryAtSetUp = WindowThreadRegistry[WindowKind::Tasks];
        tableOpenAtSetUp = RelationsTSK->Access().GetTable().OpenCount();
        openedSize = window.Root()->size();
    }
};

TestList* OpenList()
{
    return static_cast<TestList*>(FindWindow(QStringLiteral("TestList")));
}

void CloseList()
{
    if (TestList* list = OpenList())
        Press(*list, list->closeButton);
}

} // namespace

class StandardWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::TestFrame> frame;
    std::vector<HelpRequest> helpAsked;
    int response = 0; // of the last window; outlives the test function, as the window's thread may

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::DataFolder>();
        frame = std::make_unique<test::TestFrame>();
        SetHelpSink([this](const HelpRequest& request) -> QWidget* {
            helpAsked.push_back(request);
            return nullptr;
        });
    }
    void cleanupTestCase()
    {
        SetHelpSink({});
        EndProgramThreads();
        frame.reset();
        folder.reset();
    }
    void init()
    {
        setup = TestSetup{};
        CurrentUserAccess[AccessArea::Tasks] = 2;
        helpAsked.clear();
        QFile::remove(IniFileName);
        INIMgr.Init(IniFileName);
    }
    void cleanup()
    {
        CloseList();
        QVERIFY(!OpenList());
    }

    void accessLevelsDecideWhetherAndHowTheWindowOpens_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("changeText");
        QTest::newRow("none: Access Denied") << 0 << false << QString();
        QTest::newRow("view only: Change reads View") << 1 << true << "View";
        QTest::newRow("full") << 2 << true << "&Change";
    }
    void accessLevelsDecideWhetherAndHowTheWindowOpens()
    {
        QFETCH(int, level);
        QFETCH(bool, opens);
        QFETCH(QString, changeText);
        CurrentUserAccess[AccessArea::Tasks] = quint8(level);
        test::MessageRecorder boxes;
        response = 0;
        const ThreadNumber thread = Start([this] { response = RunProcedure<TestList>(); });
        QCOMPARE(bool(OpenList()), opens);
        if (!opens) {
            QCOMPARE(boxes.boxes.size(), 1);
            QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Access Denied"));
            QCOMPARE(boxes.boxes[0].text,
                     QStringLiteral("You are not allowed to view or edit Test Records. Please "
                                    "contact your system administrator to request access."));
            QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
            QCOMPARE(boxes.boxes[0].buttons, int(MessageButton::Ok));
            QCOMPARE(response, int(Response::Cancelled));
            QVERIFY(!ThreadIsActive(thread));
            QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], 0);
            return;
        }
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(OpenList()->window.Label(OpenList()->changeButton), changeText);
    }

    void aSecondStartBringsTheFirstWindowForwardAndOpensNothing()
    {
        const ThreadNumber first = Start([] { RunProcedure<TestList>(); });
        TestList* list = OpenList();
        QVERIFY(list);
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], first);
        QCOMPARE(list->entryAtSetUp, first);
        list->window.Root()->showMinimized();
        QVERIFY(list->IsMinimized());

        const ThreadNumber second = Start([] { RunProcedure<TestList>(); });
        QVERIFY(!ThreadIsActive(second));
        QCOMPARE(WindowController::OpenWindows().size(), std::size_t(1));
        QCOMPARE(OpenList(), list);
        QVERIFY(!list->IsMinimized());
        QVERIFY(list->IsActive());
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], first);

        CloseList();
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], 0);
    }

    void aWindowCalledToSelectLeavesTheRegistryAlone()
    {
        Start([] {
            CurrentContext().GlobalRequestCode = Request::Select;
            RunProcedure<TestList>();
        });
        QVERIFY(OpenList());
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], 0);
        QCOMPARE(OpenList()->REQUEST, int(Request::Select));
    }

    void theTablesAreOpenFromInitToKill()
    {
        Start([] { RunProcedure<TestList>(); });
        QVERIFY(OpenList());
        QCOMPARE(OpenList()->tableOpenAtSetUp, 1);
        QVERIFY(OpenList()->FILESOPENED);
        QVERIFY(RelationsTSK->Access().GetTable().FileIsOpen());
        CloseList();
        QVERIFY(!RelationsTSK->Access().GetTable().FileIsOpen());
    }

    void theWindowKeepsTheSizeItOpenedWithAsItsMinimum()
    {
        Start([] { RunProcedure<TestList>(); });
        TestList* list = OpenList();
        QVERIFY(list);
        QCOMPARE(list->window.Root()->minimumSize(), list->openedSize);
    }

    void aWindowThatKeepsItsPlacementComesBackThere_data()
    {
        QTest::addColumn<bool>("keeps");
        QTest::newRow("keeps its placement") << true;
        QTest::newRow("keeps none") << false;
    }
    void aWindowThatKeepsItsPlacementComesBackThere()
    {
        QFETCH(bool, keeps);
        setup.keepsPlacement = keeps;
        Start([] { RunProcedure<TestList>(); });
        QVERIFY(OpenList());
        const QRect moved(40, 30, OpenList()->openedSize.width() + 120, OpenList()->openedSize.height() + 80);
        OpenList()->window.Root()->setGeometry(moved);
        CloseList();

        QFile ini(IniFileName);
        const bool written = ini.open(QIODevice::ReadOnly) && ini.readAll().contains("[TestList]");
        QCOMPARE(written, keeps);

        Start([] { RunProcedure<TestList>(); });
        QVERIFY(OpenList());
        QCOMPARE(OpenList()->window.Root()->geometry() == moved, keeps);
    }

    void helpShowsTheTopicOfTheWindow_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("path");
        QTest::newRow("F1") << "tasks.htm"
                            << "F1" << int(HelpCommand::DisplayTopic) << "Jornix.chm::/tasks.htm";
        QTest::newRow("F1 without a topic") << ""
                                            << "F1" << int(HelpCommand::DisplayContents) << "Jornix.chm";
        QTest::newRow("help button") << "tasks.htm"
                                     << "button" << int(HelpCommand::DisplayTopic)
                                     << "Jornix.chm::/tasks.htm";
    }
    void helpShowsTheTopicOfTheWindow()
    {
        QFETCH(QString, topic);
        QFETCH(QString, how);
        QFETCH(int, command);
        QFETCH(QString, path);
        setup.topic = topic;
        Start([] { RunProcedure<TestList>(); });
        TestList* list = OpenList();
        QVERIFY(list);
        if (how == QLatin1String("F1"))
            PressKey(*list, Qt::Key_F1);
        else
            Press(*list, QStringLiteral("Help"));
        QCOMPARE(helpAsked.size(), std::size_t(1));
        QCOMPARE(int(helpAsked[0].command), command);
        QCOMPARE(helpAsked[0].path, path);
    }
};

QTEST_MAIN(StandardWindowTest)
#include "tst_StandardWindow.moc"
