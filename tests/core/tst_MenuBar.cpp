#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/LoadPreservedSettings.h"
#include "core/Main.h"
#include "core/MenuBar.h"
#include "core/MenuBarState.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "platform/runtime/DayNumbers.h"

#include "DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractButton>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using namespace jornix::MenuBarControl;

namespace {

QWidget* Bar()
{
    return MenuBarControlWidget(Window);
}

QWidget* Widget(int control)
{
    return MenuBarControlWidget(control);
}

bool Shown(int control)
{
    QWidget* widget = Widget(control);
    return widget && !widget->isHidden();
}

QString LabelText(int control)
{
    auto* label = qobject_cast<QLabel*>(Widget(control));
    return label ? label->text() : QStringLiteral("<no label>");
}

// The item buttons shown, by control number.
QList<int> ShownItems()
{
    QList<int> shown;
    for (int g = 1; g <= MenuBarStateRecord::Groups; ++g)
        for (int j = 1; j <= MenuBarState.ItemCount[std::size_t(g)]; ++j)
            if (Shown(ItemButton(g, j)))
                shown << ItemButton(g, j);
    return shown;
}

// A user's click on a control of the bar.
void Click(int control)
{
    auto* button = qobject_cast<QAbstractButton*>(Widget(control));
    QVERIFY2(button, qPrintable(QStringLiteral("control %1 is no button").arg(control)));
    button->click();
    QVERIFY(WaitIdle());
}

int OpenCount(const QString& procedure)
{
    int count = 0;
    for (WindowController* window : WindowController::OpenWindows())
        count += window->ProcedureName() == procedure;
    return count;
}

// The frame's "Show/Hide Jornix &Menu Bar" showing the bar again.
void ShowBarFromViewMenu()
{
    MenuBarState.DragAllowed = 1;
    MenuBarState.BarWidth = std::max(MenuBarState.SavedWidth, MenuBarStateRecord::MinimumWidth);
    MenuBarState.ForceLayout = 1;
    PostEvent(Event::Size, 0, MenuBarThread);
    QVERIFY(WaitIdle());
}

} // namespace

// The bar runs docked in a frame made here, on a program folder of its own, with a user who may use every
// area; each test starts the bar the way the frame does.
class MenuBarTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowDescription> frame;
    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;

    QMainWindow* Frame() { return qobject_cast<QMainWindow*>(frame->Root()); }

    void MakeFrame()
    {
        ProgramFrame = nullptr;
        frame.reset();
        frame = std::make_unique<WindowDescription>(QStringLiteral("Jornix"), WindowType::Frame);
        ProgramFrame = frame.get();
        frame->Root()->resize(900, 700);
        frame->Root()->show();
    }

    // As the frame does: the panes post to the bar from its first turn on.
    void StartBar()
    {
        MenuBarThread = StartProcedureThread(MenuBar);
        QVERIFY(WaitIdle());
        QTRY_VERIFY(Bar() && Bar()->isVisible() == (GLO.ShowJornixMenuBar != 0) && MenuBarState.BarOpened);
    }

    void GivenSettings(const QByteArray& text)
    {
        QVERIFY(folder->WriteSettings(text));
        LoadPreservedSettings();
    }

    QByteArrayList WidthEntries() const
    {
        QByteArrayList entries;
        for (const QByteArray& line : folder->Settings().toUtf8().split('\n'))
            if (line.toLower().startsWith("glo:jornixmenubarwidth="))
                entries << line.trimmed();
        return entries;
    }

    void CloseEverything()
    {
        // A pane's thread may have a dialog open above the pane: each post closes its top window.
        for (int round = 0; round < 4; ++round) {
            for (WindowController* window : WindowController::OpenWindows())
                window->Post(Event::CloseWindow);
            QVERIFY(WaitIdle());
        }
    }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        RegisterStandInWindows();
        RegisterCoreProcedures();
        MakeFrame();
    }
    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        CurrentUserAccess.fill(2);
        WindowThreadRegistry.fill(0);
        CurrentReportArea = 0;
        frame->Root()->resize(900, 700);
        boxes = std::make_unique<test::MessageRecorder>();
    }
    void cleanup()
    {
        CloseEverything();
        if (Bar())
            PostEvent(Event::CloseWindow, 0, MenuBarThread);
        QVERIFY(WaitIdle());
        QVERIFY(!Bar());
        QVERIFY(WindowController::OpenWindows().empty());
        MenuBarThread = 0;
        boxes.reset();
        folder.reset();
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        ProgramFrame = nullptr;
        frame.reset();
    }

    void theBarIsDockedAtTheLeftOfTheFrameWithoutCaption()
    {
        StartBar();
        auto* dock = qobject_cast<QDockWidget*>(Bar());
        QVERIFY(dock);
        QCOMPARE(Frame()->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
        QVERIFY(dock->titleBarWidget());
        QCOMPARE(dock->titleBarWidget()->height(), 0);
        QTRY_COMPARE(dock->widget()->width(), 106);
        // The bar's window starts at the docked window's corner: mouse positions are the bar's own.
        QCOMPARE(Widget(OuterPanel)->mapTo(dock, QPoint(0, 1)), QPoint(0, 0));
    }

    void pressingTheStickyNotesHeaderShowsItsItems()
    {
        StartBar();
        Click(MenuBarHeader::StickyNotes);
        QTRY_COMPARE(ShownItems(), (QList<int>{30, 32}));
        QTRY_COMPARE(LabelText(31), QStringLiteral("Sticky Notes"));
        QCOMPARE(LabelText(33), QStringLiteral("Print"));
        // Each item shows the icon of the pane button it mirrors.
        QCOMPARE(qobject_cast<QToolButton*>(Widget(30))->icon().pixmap(16).toImage(),
                 QIcon(WindowDescription::ImagePath(QStringLiteral("~sticky.gif"))).pixmap(16).toImage());
        QVERIFY(!qobject_cast<QToolButton*>(Widget(32))->icon().isNull());
        QVERIFY(Shown(31) && Shown(33));
        QCOMPARE(int(MenuBarState.CurrentGroup), 4);
        // The newly expanded group opens its list.
        QCOMPARE(OpenCount(QStringLiteral("StickyNotes")), 1);
        // Its header and those above stack at the top, the others below its items.
        QVERIFY(Widget(MenuBarHeader::StickyNotes)->geometry().bottom() <= Widget(30)->y());
        QVERIFY(Widget(32)->geometry().bottom() <= Widget(MenuBarHeader::Contacts)->y());
        QCOMPARE(Widget(HeaderImage(4))->geometry(), Widget(MenuBarHeader::StickyNotes)->geometry());
    }

    void pressingAnItemOpensItsWindowOnceAndASecondPressBringsItForward_data()
    {
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("otherItem"); // opens another window meanwhile
        QTest::newRow("All Events") << int(MenuBarHeader::LogEvents) << 10 << "AllView" << 8;
        QTest::newRow("Search") << int(MenuBarHeader::LogEvents) << 14 << "Search" << 8;
        QTest::newRow("Sticky Notes") << int(MenuBarHeader::StickyNotes) << 30 << "StickyNotes" << 32;
        QTest::newRow("Tasks") << int(MenuBarHeader::Tasks) << 24 << "Tasks" << 26;
    }
    void pressingAnItemOpensItsWindowOnceAndASecondPressBringsItForward()
    {
        QFETCH(int, header);
        QFETCH(int, item);
        QFETCH(QString, procedure);
        QFETCH(int, otherItem);
        StartBar();
        Click(header);
        QTRY_VERIFY(Shown(item));
        Click(item);
        QCOMPARE(OpenCount(procedure), 1);
        Click(otherItem);
        QVERIFY(!FindWindow(procedure)->IsActive());
        Click(item);
        QCOMPARE(OpenCount(procedure), 1);
        QTRY_VERIFY(FindWindow(procedure)->IsActive());
    }

    void thePrintItemsSetTheReportArea_data()
    {
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("area");
        QTest::newRow("Log Events") << int(MenuBarHeader::LogEvents) << 12 << 1;
        QTest::newRow("Reminder") << int(MenuBarHeader::Reminder) << 20 << 4;
        QTest::newRow("Tasks") << int(MenuBarHeader::Tasks) << 26 << 2;
        QTest::newRow("Sticky Notes") << int(MenuBarHeader::StickyNotes) << 32 << 5;
        QTest::newRow("Contacts") << int(MenuBarHeader::Contacts) << 38 << 3;
        QTest::newRow("Scrap Book") << int(MenuBarHeader::ScrapBook) << 44 << 6;
    }
    void thePrintItemsSetTheReportArea()
    {
        QFETCH(int, header);
        QFETCH(int, item);
        QFETCH(int, area);
        StartBar();
        Click(header);
        QTRY_VERIFY(Shown(item));
        QTRY_COMPARE(LabelText(item + 1), QStringLiteral("Print"));
        Click(item);
        QCOMPARE(CurrentReportArea, area);
        QCOMPARE(OpenCount(QStringLiteral("PrintOptions")), 1);
    }

    void aSecondPressOfARunningGroupsHeaderBringsItsListBack()
    {
        StartBar();
        Click(MenuBarHeader::Tasks);
        QTRY_COMPARE(OpenCount(QStringLiteral("Tasks")), 1);
        const ThreadNumber pane = MenuBarState.PaneThread[3];
        FindWindow(QStringLiteral("Tasks"))->Post(Event::CloseWindow);
        QVERIFY(WaitIdle());
        Click(MenuBarHeader::Reminder);
        QTRY_COMPARE(int(MenuBarState.CurrentGroup), 2);

        Click(MenuBarHeader::Tasks);
        QTRY_COMPARE(int(MenuBarState.CurrentGroup), 3);
        QCOMPARE(MenuBarState.PaneThread[3], pane); // the second pane ended unseen
        QCOMPARE(OpenCount(QStringLiteral("TasksTAB")), 1);
        QCOMPARE(OpenCount(QStringLiteral("Tasks")), 1); // through the relayed first item
        QTRY_COMPARE(ShownItems(), (QList<int>{24, 26}));
    }

    void aHeaderPressedByTheFrameDoesNotPressTheFirstItem()
    {
        StartBar();
        Click(MenuBarHeader::Tasks);
        QTRY_COMPARE(OpenCount(QStringLiteral("Tasks")), 1);
        FindWindow(QStringLiteral("Tasks"))->Post(Event::CloseWindow);
        QVERIFY(WaitIdle());
        MenuBarState.FirstPressDone = 0;
        PostEvent(Event::Accepted, MenuBarHeader::Tasks, MenuBarThread);
        QVERIFY(WaitIdle());
        QCOMPARE(int(MenuBarState.CurrentGroup), 3);
        QCOMPARE(OpenCount(QStringLiteral("Tasks")), 0);
    }

    void whenAPaneEndsTheGroupFocusedBeforeIsExpanded()
    {
        StartBar();
        QTRY_COMPARE(int(MenuBarState.CurrentGroup), 1); // the start-up view, Date View
        Click(MenuBarHeader::Contacts);
        QTRY_COMPARE(ShownItems(), (QList<int>{36, 38}));
        PostEvent(Event::CloseWindow, 0, MenuBarState.PaneThread[5]);
        QVERIFY(WaitIdle());
        QCOMPARE(int(MenuBarState.CurrentGroup), 1);
        QTRY_COMPARE(ShownItems(), (QList<int>{8, 10, 12, 14}));
        PostEvent(Event::CloseWindow, 0, MenuBarState.PaneThread[1]);
        QVERIFY(WaitIdle());
        QCOMPARE(int(MenuBarState.CurrentGroup), 0);
        QTRY_COMPARE(ShownItems(), QList<int>{});
    }

    void theArrowsScrollTheGroupAndATallerFrameShowsItWhole()
    {
        StartBar();
        QTRY_COMPARE(int(MenuBarState.CurrentGroup), 1);
        // An inner area of 205 dialog units holds two items, with or without the up arrow.
        const double sy = MenuBarState.ScaleY;
        const int height = int(205 * sy + 14 * sy + sy) + MenuBarState.Reserve + 2;
        frame->Root()->resize(900, height);
        QTRY_COMPARE(ShownItems(), (QList<int>{8, 10}));
        QVERIFY(!Shown(UpArrow));
        QVERIFY(Shown(DownArrow));
        const int top = Widget(8)->y();

        Click(DownArrow);
        QTRY_COMPARE(ShownItems(), (QList<int>{10, 12}));
        QVERIFY(Shown(UpArrow) && Shown(DownArrow));
        QCOMPARE(Widget(10)->y(), top + int(6 * sy));
        Click(DownArrow);
        QTRY_COMPARE(ShownItems(), (QList<int>{12, 14}));
        QVERIFY(!Shown(DownArrow));

        frame->Root()->resize(900, 700);
        QTRY_COMPARE(ShownItems(), (QList<int>{8, 10, 12, 14}));
        QCOMPARE(int(MenuBarState.FirstVisible[1]), 1);
        QVERIFY(!Shown(UpArrow) && !Shown(DownArrow));
    }

    void theCloseButtonAsksItsQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("Yes hides the bar") << int(MessageButton::Yes) << true;
        QTest::newRow("No leaves it") << int(MessageButton::No) << false;
    }
    void theCloseButtonAsksItsQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, hidden);
        StartBar();
        boxes->answers << answer;
        Click(CloseButton);
        QCOMPARE(boxes->boxes.size(), 1);
        const MessageBoxRequest& box = boxes->boxes[0];
        QCOMPARE(box.caption, QStringLiteral("Close the Jornix Menu Bar?"));
        QCOMPARE(box.text,
                 QStringLiteral("You are about to close the Jornix Menu Bar To activate it again, select "
                                "View --> Jornix Menu Bar. Close the Jornix Menu Bar?"));
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(box.defaultButton, int(MessageButton::Yes));
        QTRY_COMPARE(Bar()->isHidden(), hidden);
        QCOMPARE(MenuBarState.BarWidth, hidden ? MenuBarStateRecord::HiddenWidth : 100);
    }

    void theViewMenuShowsTheBarAgainAtLeast100Wide_data()
    {
        QTest::addColumn<int>("dragTo"); // where the split bar is dragged before the bar is closed
        QTest::addColumn<int>("width");
        QTest::newRow("dragged to 50") << 50 << 100;
        QTest::newRow("dragged to 180") << 180 << 180;
    }
    void theViewMenuShowsTheBarAgainAtLeast100Wide()
    {
        QFETCH(int, dragTo);
        QFETCH(int, width);
        StartBar();
        QTRY_COMPARE(Widget(SplitBar)->x(), 100);
        QWidget* split = Widget(SplitBar);
        QTest::mousePress(split, Qt::LeftButton, {}, QPoint(2, 10));
        QTest::mouseMove(split, QPoint(2 + dragTo - 100, 10));
        QTest::mouseRelease(split, Qt::LeftButton, {}, QPoint(2 + dragTo - 100, 10));
        QVERIFY(WaitIdle());
        QCOMPARE(MenuBarState.BarWidth, dragTo);
        Click(CloseButton);
        QTRY_VERIFY(Bar()->isHidden());

        ShowBarFromViewMenu();
        QVERIFY(!Bar()->isHidden());
        QCOMPARE(MenuBarState.BarWidth, width);
        QCOMPARE(qobject_cast<QDockWidget*>(Bar())->widget()->width(), width + 6);
    }

    void theSplitBarFollowsTheMouseWithinItsLimits_data()
    {
        QTest::addColumn<int>("x"); // in the bar's window
        QTest::addColumn<int>("width");
        QTest::newRow("wider") << 150 << 148;
        QTest::newRow("narrower") << 60 << 58;
        QTest::newRow("15 pixels from the left edge") << 15 << 100;
        QTest::newRow("beyond the frame's width") << 950 << 100;
    }
    void theSplitBarFollowsTheMouseWithinItsLimits()
    {
        QFETCH(int, x);
        QFETCH(int, width);
        StartBar();
        QTRY_COMPARE(Widget(SplitBar)->x(), 100);
        PostEvent(FrameworkEvent{Event::MouseDown, SplitBar, 0, 102, 50}, MenuBarThread);
        PostEvent(FrameworkEvent{Event::MouseMove, SplitBar, 0, x, 50}, MenuBarThread);
        QVERIFY(WaitIdle());
        // Each accepted move lays the bar out at once.
        QCOMPARE(MenuBarState.BarWidth, width);
        QCOMPARE(Widget(SplitBar)->x(), width);
        QCOMPARE(Widget(OuterPanel)->width(), width + 6);
        // Once the mouse is up, moves do nothing.
        PostEvent(FrameworkEvent{Event::MouseUp, SplitBar, 0, x, 50}, MenuBarThread);
        PostEvent(FrameworkEvent{Event::MouseMove, SplitBar, 0, 300, 50}, MenuBarThread);
        QVERIFY(WaitIdle());
        QCOMPARE(MenuBarState.BarWidth, width);
    }

    void theWidthIsWrittenSinglyAtTheEnd_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("openWidth");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("50 becomes 100")
            << QByteArray("GLO:JornixMenubarWidth=50\n") << 100 << QByteArray("GLO:JornixMenubarWidth=100");
        QTest::newRow("180 stays") << QByteArray("GLO:JornixMenuBarWidth=180\n") << 180
                                   << QByteArray("GLO:JornixMenuBarWidth=180");
        QTest::newRow("a hidden bar stores 100")
            << QByteArray("GLO:JornixMenuBarWidth=180\nGLO:ShowJornixMenuBar=0\n") << 0
            << QByteArray("GLO:JornixMenuBarWidth=100");
        QTest::newRow("no entry yet") << QByteArray() << 100 << QByteArray("GLO:JornixMenuBarWidth=100");
    }
    void theWidthIsWrittenSinglyAtTheEnd()
    {
        QFETCH(QByteArray, settings);
        QFETCH(int, openWidth);
        QFETCH(QByteArray, stored);
        GivenSettings("[Preserved]\n" + settings);
        const QByteArrayList before = WidthEntries();
        StartBar();
        if (openWidth)
            QTRY_COMPARE(Widget(OuterPanel)->width(), openWidth + 6);
        CloseEverything();
        QCOMPARE(WidthEntries(), before); // nothing written while the bar runs
        PostEvent(Event::CloseWindow, 0, MenuBarThread);
        QVERIFY(WaitIdle());
        QVERIFY(!Bar());
        QCOMPARE(WidthEntries(), QByteArrayList{stored});
    }

    void theBarTakesItsColoursFromTheSettings()
    {
        GLO.JornixMenuBarBGColor = 0x0000FF; // red in the low byte
        GLO.JornixMenuBarTextColor = 0x00FF00;
        StartBar();
        QTRY_COMPARE(ShownItems(), (QList<int>{8, 10, 12, 14}));
        QTRY_COMPARE(LabelText(9), QStringLiteral("Date View"));
        QCOMPARE(Widget(InnerPanel)->palette().color(QPalette::Window), QColor(255, 0, 0));
        QVERIFY(Widget(InnerPanel)->autoFillBackground());
        QCOMPARE(Widget(9)->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 255, 0));
    }

    void theStartupView_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("group");
        QTest::addColumn<QStringList>("windows");
        QTest::newRow("1 Date View") << 1 << int(AccessArea::LogEvents) << 2 << 1 << QStringList{"DateView"};
        QTest::newRow("2 All Events View, the pane's Date View too")
            << 2 << int(AccessArea::LogEvents) << 1 << 1 << QStringList{"DateView", "AllView"};
        QTest::newRow("4 Tasks") << 4 << int(AccessArea::Tasks) << 2 << 3 << QStringList{"Tasks"};
        QTest::newRow("4 without task access") << 4 << int(AccessArea::Tasks) << 0 << 0 << QStringList{};
        QTest::newRow("5 without sticky-note access")
            << 5 << int(AccessArea::StickyNotes) << 0 << 0 << QStringList{};
        QTest::newRow("6 Contacts") << 6 << int(AccessArea::Contacts) << 2 << 5 << QStringList{"Contacts"};
        QTest::newRow("9 as 1") << 9 << int(AccessArea::LogEvents) << 2 << 1 << QStringList{"DateView"};
    }
    void theStartupView()
    {
        QFETCH(int, view);
        QFETCH(int, area);
        QFETCH(int, level);
        QFETCH(int, group);
        QFETCH(QStringList, windows);
        GivenSettings("[Preserved]\nGLO:StartupView=" + QByteArray::number(view) + "\n");
        CurrentUserAccess[std::size_t(area)] = quint8(level);
        StartBar();
        QCOMPARE(int(MenuBarState.CurrentGroup), group);
        QStringList open;
        for (WindowController* window : WindowController::OpenWindows())
            if (!window->ProcedureName().endsWith(QStringLiteral("TAB")))
                open << window->ProcedureName();
        open.sort();
        windows.sort();
        QCOMPARE(open, windows);
        QCOMPARE(MenuBarState.PaneCount, group ? 1 : 0);
        QVERIFY(boxes->boxes.isEmpty());
        if (group)
            QTRY_VERIFY(!ShownItems().isEmpty());
        else
            QVERIFY(ShownItems().isEmpty());
    }

    void whileTheMigrationRunsTheSetupItemsAreGreyedAndDropTheirPresses()
    {
        StartBar();
        Click(MenuBarHeader::Setup);
        QTRY_COMPARE(ShownItems(), (QList<int>{52, 54, 56}));
        QTRY_COMPARE(LabelText(57), QStringLiteral("Migrate from 1.0"));
        Click(56);
        WindowController* migration = FindWindow(QStringLiteral("MigrateData"));
        QVERIFY(migration);
        QCOMPARE(migration->Thread(), MenuBarState.PaneThread[8]);
        QTRY_VERIFY(!Widget(52)->isEnabled());
        QVERIFY(!Widget(53)->isEnabled());
        PostEvent(Event::Accepted, 54, MenuBarThread);
        PostEvent(Event::Accepted, 52, MenuBarThread);
        QVERIFY(WaitIdle());
        QCOMPARE(FindWindow(QStringLiteral("MigrateData")), migration);
        QCOMPARE(OpenCount(QStringLiteral("ManageUsers")), 0);

        Press(*migration, QStringLiteral("Close"));
        QVERIFY(!FindWindow(QStringLiteral("MigrateData")));
        QTRY_VERIFY(Widget(52)->isEnabled());
    }

    // The program's own frame in place of the one made here; the panes that open at start dock at its
    // other side.
    void underTheProgramsFrameTheBarRunsDownItsLeftSide()
    {
        ProgramFrame = nullptr;
        frame.reset();
        const ThreadNumber main = Start([] { Main(); });
        WindowController* jornix = FindWindow(QStringLiteral("Main"));
        QVERIFY(jornix);
        auto* mainWindow = qobject_cast<QMainWindow*>(jornix->window.Root());
        QTRY_VERIFY(Bar() && Bar()->isVisible());
        QCOMPARE(mainWindow->dockWidgetArea(qobject_cast<QDockWidget*>(Bar())), Qt::LeftDockWidgetArea);
        WindowController* overdue = FindWindow(QStringLiteral("OverdueReminders"));
        QVERIFY(overdue);
        QCOMPARE(mainWindow->dockWidgetArea(qobject_cast<QDockWidget*>(overdue->window.Root())),
                 Qt::RightDockWidgetArea);
        // The last header ends above the status bar, by no more than the height kept free below the bar.
        const auto* status = mainWindow->findChild<QStatusBar*>();
        QVERIFY(status);
        const auto gapAboveStatus = [&] {
            QWidget* setup = Widget(MenuBarHeader::Setup);
            return status->y() - setup->mapTo(mainWindow, QPoint(0, setup->height())).y();
        };
        QTRY_VERIFY(gapAboveStatus() >= 0);
        QVERIFY(gapAboveStatus() <= 5 * MenuBarState.ScaleY + MenuBarState.Reserve);
        mainWindow->resize(mainWindow->width(), mainWindow->height() - 150);
        QTRY_VERIFY(gapAboveStatus() >= 0 &&
                    gapAboveStatus() <= 5 * MenuBarState.ScaleY + MenuBarState.Reserve);

        Press(*jornix, -7); // "Show/Hide Jornix &Menu Bar"
        QTRY_VERIFY(Bar()->isHidden());
        Press(*jornix, -7);
        QTRY_VERIFY(!Bar()->isHidden());
        QCOMPARE(qobject_cast<QDockWidget*>(Bar())->widget()->width(), 106);

        // Closing the frame ends the bar and its panes.
        PostEvent(Event::CloseWindow, 0, main);
        QVERIFY(WaitIdle(10000));
        QVERIFY(!ThreadIsActive(main));
        QVERIFY(!Bar());
        for (const ThreadNumber pane : MenuBarState.PaneThread)
            QCOMPARE(pane, 0);
        QCOMPARE(WidthEntries(), QByteArrayList{"GLO:JornixMenuBarWidth=100"});
        MakeFrame();
    }
};

QTEST_MAIN(MenuBarTest)
#include "tst_MenuBar.moc"
