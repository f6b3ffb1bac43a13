#include "platform/framework/WindowController.h"
#include "platform/framework/WindowResizer.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"

#include "platform/framework/WindowDriver.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

Catalogue& TestCatalogue()
{
    static Catalogue catalogue;
    static Table& table = catalogue
                              .AddTable(QStringLiteral("TST"), QStringLiteral("Test"),
                                        QStringLiteral("TestTable"), FileAttribute::Create)
                              .AddString(QStringLiteral("Name"), 20)
                              .AddLong(QStringLiteral("Count"));
    Q_UNUSED(table);
    return catalogue;
}

Table& TestTable()
{
    return *TestCatalogue().FindTable(QStringLiteral("TST"));
}

// A small window with one control of each kind the tests use.
class TestWindow : public WindowController
{
public:
    QString name;
    qint32 count = 0;
    quint8 flag = 0;
    int choice = 2;
    int level = 1;
    int fileMenu, openItem, exitItem, toolbarControl, openTool, nameEntry, countEntry, fieldEntry, flagCheck,
        options, levelList, group, sheet, firstTab, secondTab, list, okButton, cancelButton;

    QStringList steps;         // the lifecycle as it ran
    std::vector<int> accepted; // controls that reached OnAccepted
    QVariant fieldSeen;        // the record field as the window's thread saw it when its entry was accepted
    int timers = 0;

    TestWindow() : WindowController(QStringLiteral("TestWindow"), QStringLiteral("Test Window"))
    {
        fileMenu = window.Menu(QStringLiteral("&File"), [&] {
            openItem = window.Item(QStringLiteral("&Open"));
            window.Separator();
            exitItem = window.Item(QStringLiteral("E&xit"));
        });
        toolbarControl = window.Toolbar(
            [&] { openTool = window.Tool(QStringLiteral("Open"), QStringLiteral("open.gif")); });
        window.Prompt(QStringLiteral("&Name:"));
        nameEntry = window.Entry(Bind(name), QStringLiteral("@s10")).Name(QStringLiteral("NameEntry"));
        window.Prompt(QStringLiteral("&Count:"));
        countEntry = window.Entry(Bind(count), QStringLiteral("@n-7"));
        window.Prompt(QStringLiteral("&Field:"));
        fieldEntry = window.Entry(BindField(TestTable(), QStringLiteral("tst:name")), QStringLiteral("@s20"));
        flagCheck = window.Check(QStringLiteral("&Private"), Bind(flag));
        options = window.Options(QStringLiteral("Choice"), Bind(choice), [&] {
            window.Radio(QStringLiteral("One"), 1);
            window.Radio(QStringLiteral("Two"), 2);
        });
        levelList = window.DropList(
            Bind(level),
            {{QStringLiteral("None"), 0}, {QStringLiteral("Read-Only"), 1}, {QStringLiteral("Full"), 2}});
        group = window.Group(QStringLiteral("Extra"), [] {});
        sheet = window.Sheet([&] {
            firstTab = window.Tab(QStringLiteral("&First"), [] {});
            secondTab = window.Tab(QStringLiteral("&Second"), [&] {
                list = window.List({{QStringLiteral("Title"), QStringLiteral("@s20")}});
            });
        });
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Tip(QStringLiteral("Save"));
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"));
        });
    }

    int Init() override
    {
        steps << QStringLiteral("Init");
        if (const int level = WindowController::Init())
            return level;
        FIRSTFIELD = nameEntry;
        OKCONTROL = okButton;
        AddButtonAction(cancelButton, Response::Cancelled);
        ShowWindow();
        return Level::GoOn;
    }
    int Kill() override
    {
        steps << QStringLiteral("Kill");
        return WindowController::Kill();
    }
    void Open() override
    {
        steps << QStringLiteral("Open");
        WindowController::Open();
    }
    int OnAccepted(int control) override
    {
        accepted.push_back(control);
        if (control == fieldEntry)
            fieldSeen = TestTable().Buffer().Value(QStringLiteral("TST:Name"));
        return WindowController::OnAccepted(control);
    }
    int OnCompleted() override
    {
        steps << QStringLiteral("Completed");
        return WindowController::OnCompleted();
    }
    int OnWindowEvent(const FrameworkEvent& event) override
    {
        if (event.event == Event::Timer)
            ++timers;
        return WindowController::OnWindowEvent(event);
    }
};

// A child window of the frame with a line of text and a button.
class ChildWindow : public WindowController
{
public:
    static inline QRect preset; // a size alone, or a place and size
    static inline WindowDescription* frame = nullptr;
    ChildWindow()
        : WindowController(QStringLiteral("ChildWindow"), QStringLiteral("Child"), WindowType::Child, frame)
    {
        window.Text(QStringLiteral("A line of text that needs some room to be read in one piece."));
        window.Buttons([&] { closeButton = window.Button(QStringLiteral("Close")); });
        if (preset.topLeft() != QPoint())
            window.Root()->setGeometry(preset);
        else if (preset.isValid())
            window.Root()->resize(preset.size());
    }
    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        AddButtonAction(closeButton, Response::Cancelled);
        ShowWindow();
        return Level::GoOn;
    }
    int closeButton = 0;
};

TestWindow* OpenTestWindow()
{
    return static_cast<TestWindow*>(FindWindow(QStringLiteral("TestWindow")));
}

} // namespace

class WindowControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }
    void cleanup()
    {
        // Each test leaves no window open.
        if (TestWindow* window = OpenTestWindow())
            Press(*window, window->cancelButton);
        QVERIFY(!OpenTestWindow());
    }

    void controlsAreNumberedInDescriptionOrder_data()
    {
        QTest::addColumn<QString>("useName");
        QTest::addColumn<int>("number");
        QTest::newRow("first menu") << "File" << -1;
        QTest::newRow("its first item") << "Open" << -2;
        QTest::newRow("the item after a separator") << "Exit" << -4;
        QTest::newRow("the toolbar") << "Toolbar" << -5;
        QTest::newRow("a toolbar button") << "Open:2" << -6;
        QTest::newRow("the first prompt") << "Name:Prompt" << 1;
        QTest::newRow("an entry named by its use-name") << "NameEntry" << 2;
        QTest::newRow("an entry bound to a field") << "tst:name" << 6;
        QTest::newRow("a check box") << "Private" << 7;
        QTest::newRow("a radio button") << "Two" << 10;
        QTest::newRow("a tab") << "Second" << 15;
        QTest::newRow("a button") << "OK" << 17;
    }
    void controlsAreNumberedInDescriptionOrder()
    {
        QFETCH(QString, useName);
        QFETCH(int, number);
        TestWindow window;
        QCOMPARE(window.window.ControlNumber(useName), number);
    }

    void controlsCreatedAtRunTimeTakeTheNextFreeNumber()
    {
        TestWindow window;
        const int last = window.window.LastControl();
        int added = 0;
        QString value;
        window.window.Into(window.group, [&] {
            window.window.Prompt(QStringLiteral("Misc:"));
            added = window.window.Entry(Bind(value), QStringLiteral("@s5")).Name(QStringLiteral("Misc1"));
        });
        QCOMPARE(added, last + 2);
        QCOMPARE(window.window.ControlNumber(QStringLiteral("Misc1")), added);
        QVERIFY(window.window.Widget(window.group)->isAncestorOf(window.window.Widget(added)));
    }

    void aWindowRunsInitItsEventLoopAndKillAndHandsBackItsResponse_data()
    {
        QTest::addColumn<QString>("howClosed");
        QTest::addColumn<int>("response");
        QTest::newRow("OK completes") << "OK" << int(Response::Completed);
        QTest::newRow("Cancel cancels") << "Cancel" << int(Response::Cancelled);
        QTest::newRow("the close box cancels") << "close box" << int(Response::Cancelled);
    }
    void aWindowRunsInitItsEventLoopAndKillAndHandsBackItsResponse()
    {
        QFETCH(QString, howClosed);
        QFETCH(int, response);
        int seenByCaller = -1;
        QStringList steps;
        const ThreadNumber caller = Start([&] {
            CurrentContext().GlobalResponseCode = 99;
            TestWindow thisWindow;
            CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
            steps = thisWindow.steps;
            seenByCaller = CurrentContext().GlobalResponseCode;
        });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        QCOMPARE(window->Thread(), caller);
        QVERIFY(window->window.Root()->isVisible());
        if (howClosed == QLatin1String("close box")) {
            window->window.Root()->close();
            WaitIdle();
        } else {
            Press(*window, howClosed);
        }
        QCOMPARE(seenByCaller, response);
        QVERIFY(!OpenTestWindow());
        QStringList expected{QStringLiteral("Init"), QStringLiteral("Open")};
        if (howClosed == QLatin1String("OK"))
            expected << QStringLiteral("Completed");
        expected << QStringLiteral("Kill");
        QCOMPARE(steps, expected);
        QVERIFY(!ThreadIsActive(caller));
    }

    void pressingAControlReachesOnAcceptedWithItsNumber_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("a button by number") << "cancel";
        QTest::newRow("a button by name") << "OK";
        QTest::newRow("a menu item") << "Exit";
        QTest::newRow("a toolbar button") << "Open:2";
    }
    void pressingAControlReachesOnAcceptedWithItsNumber()
    {
        QFETCH(QString, control);
        std::vector<int> accepted;
        Start([&] {
            TestWindow thisWindow;
            thisWindow.Run();
            accepted = thisWindow.accepted;
        });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        int number = 0;
        if (control == QLatin1String("cancel")) {
            number = window->cancelButton;
            Press(*window, number);
        } else {
            number = ControlNumber(*window, control);
            Press(*window, control);
        }
        if (OpenTestWindow())
            Press(*window, window->cancelButton);
        QVERIFY(std::find(accepted.begin(), accepted.end(), number) != accepted.end());
    }

    void boundEntriesWriteWhenTheyAreLeft_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("text") << "name"
                              << "Alice" << QVariant(QStringLiteral("Alice")) << true;
        QTest::newRow("text cut to its picture")
            << "name"
            << "Bartholomew Jones" << QVariant(QStringLiteral("Bartholome")) << true;
        QTest::newRow("negative number") << "count"
                                         << "-42" << QVariant(-42) << true;
        QTest::newRow("letters in a number write nothing") << "count"
                                                           << "4x2" << QVariant(7) << false;
        QTest::newRow("record field of the window's thread")
            << "field"
            << "Carol" << QVariant(QStringLiteral("Carol")) << true;
    }
    void boundEntriesWriteWhenTheyAreLeft()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QVariant, written);
        QFETCH(bool, accepted);
        Start([] { RunProcedure<TestWindow>(); });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        window->count = 7;
        window->window.ShowValues();
        const int control = entry == QLatin1String("name")    ? window->nameEntry
                            : entry == QLatin1String("count") ? window->countEntry
                                                              : window->fieldEntry;
        Type(*window, control, typed);
        const QVariant value = entry == QLatin1String("name")    ? QVariant(window->name)
                               : entry == QLatin1String("count") ? QVariant(window->count)
                                                                 : window->fieldSeen;
        QCOMPARE(value.toString(), written.toString());
        const bool reachedOnAccepted =
            std::find(window->accepted.begin(), window->accepted.end(), control) != window->accepted.end();
        QCOMPARE(reachedOnAccepted, accepted);
        // A refused text stays in the entry to be put right.
        if (!accepted)
            QCOMPARE(qobject_cast<QLineEdit*>(window->window.Widget(control))->text(), typed);
    }

    void updateWritesWhatTheControlsHold()
    {
        Start([] { RunProcedure<TestWindow>(); });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        qobject_cast<QLineEdit*>(window->window.Widget(window->nameEntry))->setText(QStringLiteral("Typed"));
        QCOMPARE(window->name, QString()); // not written while the entry is not left
        Press(*window, window->flagCheck);
        Choose(*window, window->levelList, 2);
        Press(*window, window->options + 1);
        QCOMPARE(window->flag, quint8(1));
        QCOMPARE(window->level, 2);
        QCOMPARE(window->choice, 1);
        window->Update();
        QCOMPARE(window->name, QStringLiteral("Typed"));
    }

    void listRowsAndTabsArePickedAndGiveTheirEvents()
    {
        Start([] { RunProcedure<TestWindow>(); });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        auto* model = qobject_cast<QStandardItemModel*>(window->window.ListModel(window->list));
        QVERIFY(model);
        model->appendRow(new QStandardItem(QStringLiteral("first")));
        model->appendRow(new QStandardItem(QStringLiteral("second")));
        PickTab(*window, window->sheet, 2);
        QCOMPARE(window->window.SelectedTab(window->sheet), 2);
        PickRow(*window, window->list, 1);
        QCOMPARE(window->window.SelectedRow(window->list), 1);
        Press(*window, window->list);
        QCOMPARE(window->accepted.back(), window->list);
    }

    void theResizerKeepsTheMinimumAndTheControlsThatMustNotMove()
    {
        struct Resizable : TestWindow
        {
            WindowResizer resizer;
            int Init() override
            {
                if (const int level = TestWindow::Init())
                    return level;
                resizer.Init(window);
                resizer.SetControlStrategy(list, Anchor::Left | Anchor::Top, Sizing::Both);
                resizer.RemoveControl(okButton);
                AddResizer(resizer);
                return Level::GoOn;
            }
        };
        Start([] { RunProcedure<Resizable>(); });
        auto* window = static_cast<Resizable*>(OpenTestWindow());
        QVERIFY(window);
        QWidget* root = window->window.Root();
        const QSize opened = root->size();
        PickTab(*window, window->sheet, 2);
        const QSize okSize = window->window.Widget(window->okButton)->size();
        const QSize listSize = window->window.Widget(window->list)->size();
        QCOMPARE(root->minimumSize(), opened);
        root->resize(opened + QSize(200, 150));
        WaitIdle();
        QCOMPARE(window->window.Widget(window->okButton)->size(), okSize);
        QVERIFY(window->window.Widget(window->list)->width() > listSize.width());
        QVERIFY(window->window.Widget(window->list)->height() > listSize.height());
    }

    void imagesAreFoundByNameOrAsTheIconSetsFiles_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("file");
        QTest::newRow("as spelled") << "OKButton.gif"
                                    << "OKButton.gif";
        QTest::newRow("without regard to case") << "OKBUTTON.GIF"
                                                << "OKButton.gif";
        QTest::newRow("a PNG of the same name") << "DateViewS.gif"
                                                << "DateViewS.png";
        QTest::newRow("an SVG of the same name, in any case") << "SPLASH.BMP"
                                                              << "splash.svg";
        QTest::newRow("a linked image") << "~Jornix.ico"
                                        << "jornix.svg";
        QTest::newRow("a file named with the tilde comes first") << "~private.bmp"
                                                                 << "~private.bmp";
        QTest::newRow("another format of the same name is not the image") << "notes.gif"
                                                                          << "";
        QTest::newRow("an image that is not there") << "missing.gif"
                                                    << "";
        QTest::newRow("no name") << ""
                                 << "";
    }
    void imagesAreFoundByNameOrAsTheIconSetsFiles()
    {
        QFETCH(QString, image);
        QFETCH(QString, file);
        QTemporaryDir folder;
        for (const char* name : {"OKButton.gif", "DateViewS.png", "splash.svg", "jornix.svg", "~private.bmp",
                                 "private.png", "notes.txt"}) {
            QFile touched(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(touched.open(QIODevice::WriteOnly));
        }
        WindowDescription::SetImageFolder(folder.path());
        QCOMPARE(WindowDescription::ImagePath(image), file.isEmpty() ? QString() : folder.filePath(file));
        WindowDescription::SetImageFolder({});
    }

    void aChildWindowOpensAtTheSizeItsControlsNeedUnlessItWasSized_data()
    {
        QTest::addColumn<QRect>("preset");
        QTest::addColumn<QSize>("expected"); // empty: what its controls need
        QTest::newRow("not sized") << QRect() << QSize();
        QTest::newRow("sized before it opens") << QRect(0, 0, 640, 300) << QSize(640, 300);
        QTest::newRow("placed beyond the frame's area: moved into it")
            << QRect(700, 600, 640, 300) << QSize(640, 300);
        QTest::newRow("larger than the frame's area: shrunk to it") << QRect(5, 5, 3000, 2000) << QSize();
    }
    void aChildWindowOpensAtTheSizeItsControlsNeedUnlessItWasSized()
    {
        QFETCH(QRect, preset);
        QFETCH(QSize, expected);
        WindowDescription frame(QStringLiteral("Frame"), WindowType::Frame);
        frame.Root()->resize(900, 700);
        frame.Root()->show();
        ChildWindow::preset = preset;
        ChildWindow::frame = &frame;
        Start([] { RunProcedure<ChildWindow>(); });
        WindowController* child = FindWindow(QStringLiteral("ChildWindow"));
        QVERIFY(child);
        const QSize size = child->window.Root()->size();
        QVERIFY(frame.ChildArea()->viewport()->rect().contains(child->window.Root()->geometry()));
        if (expected.isValid())
            QCOMPARE(size, expected);
        else if (preset.isValid())
            QCOMPARE(size, frame.ChildArea()->viewport()->size());
        else
            QVERIFY2(size.width() >= child->window.Root()->sizeHint().width() &&
                         size.height() >= child->window.Root()->sizeHint().height(),
                     qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        Press(*child, static_cast<ChildWindow*>(child)->closeButton);
        QVERIFY(!FindWindow(QStringLiteral("ChildWindow")));
        ChildWindow::frame = nullptr;
    }
    void theTimerReachesTheWindow()
    {
        Start([] { RunProcedure<TestWindow>(); });
        TestWindow* window = OpenTestWindow();
        QVERIFY(window);
        window->SetTimer(1);
        QTRY_VERIFY(window->timers >= 2);
        window->SetTimer(0);
    }
};

QTEST_MAIN(WindowControllerTest)
#include "tst_WindowController.moc"
