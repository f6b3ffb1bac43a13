#include "core/CoreProcedures.h"
#include "core/Main.h"
#include "core/MenuBar.h"
#include "core/MenuBarState.h"
#include "core/PasswordHash.h"
#include "core/Procedures.h"
#include "journal/JournalProcedures.h"
#include "organizer/OrganizerProcedures.h"
#include "reports/ReportsProcedures.h"

#include "WindowFlaws.h"
#include "InTheFrame.h"
#include "OnScreen.h"
#include "core/DataFolder.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemView>
#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>

using namespace jornix;
using namespace jornix::testing;

namespace {

constexpr qint32 Me = 7;

} // namespace

// The forms, Program Setup, the side menu bar and the panes as a new user first sees them, in the program's
// frame at its first size on a 1280 x 1024 screen: every control whole, and the entries of a form column in
// one line.
class FormsInTheFrameTest : public QObject
{
    Q_OBJECT

    test::FrameSession session;

    // The window a user reaches with the steps of a row: a list window's Insert, or Program Setup's tab.
    static WindowController* Open(const QString& steps)
    {
        const QStringList parts = steps.split(QLatin1Char(' '));
        StartProcedure(parts[0]);
        WaitIdle();
        WindowController* opened = FindWindow(parts[0]);
        if (!opened || parts.size() < 2)
            return opened;
        if (parts[1] == QLatin1String("tab")) {
            opened->window.SelectTab(opened->window.ControlNumber(QStringLiteral("Sheet")), parts[2].toInt());
            WaitIdle();
            return opened;
        }
        Press(*opened, QStringLiteral("Insert"));
        WaitIdle();
        return FindWindow(parts[1]);
    }

    static void AddWindows()
    {
        QTest::addColumn<QString>("steps"); // a procedure, then the form its Insert opens or the tab
        QTest::newRow("task") << "Tasks UpdateTask";
        QTest::newRow("contact") << "Contacts UpdateContact";
        QTest::newRow("reminder") << "Reminder UpdateReminder";
        QTest::newRow("sticky note") << "StickyNotes UpdateStickyNotes";
        QTest::newRow("scrap") << "Scrap UpdateScrap";
        for (int tab = 1; tab <= 6; ++tab)
            QTest::newRow(qPrintable(QStringLiteral("Program Setup, tab %1").arg(tab)))
                << QStringLiteral("SetupProgram tab %1").arg(tab);
    }

private slots:
    void initTestCase()
    {
        test::RegisterEveryWindow();
        QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024));
    }
    void init()
    {
        session.Begin();
        QVERIFY(session.SignIn(Me));
    }
    void cleanup()
    {
        QVERIFY(session.End());
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void theEntriesOfAFormColumnShareOneLeftEdge_data() { AddWindows(); }
    void theEntriesOfAFormColumnShareOneLeftEdge()
    {
        QFETCH(QString, steps);
        QVERIFY(test::OpenFrame(50));
        WindowController* opened = Open(steps);
        QVERIFY(opened);
        QWidget* root = opened->window.Root();
        test::SavePicture(root, QString(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
        const QStringList flaws = test::UnalignedEntries(root);
        QVERIFY2(flaws.isEmpty(), qPrintable(flaws.join(QStringLiteral("; "))));
    }

    void noControlIsCutOrSqueezed_data() { AddWindows(); }
    void noControlIsCutOrSqueezed()
    {
        QFETCH(QString, steps);
        QVERIFY(test::OpenFrame(50));
        WindowController* opened = Open(steps);
        QVERIFY(opened);
        QWidget* root = opened->window.Root();
        QVERIFY(!root->isMaximized());
        QStringList flaws = test::CutOrSqueezed(root);
        QVERIFY2(flaws.isEmpty(), qPrintable(flaws.join(QStringLiteral("; "))));
        // Made as small as the user can make it, the window still holds its tabs and groups whole.
        root->resize(root->minimumSizeHint().expandedTo(root->minimumSize()));
        WaitIdle();
        QApplication::sendPostedEvents(); // the layouts follow the new size
        test::SavePicture(root, QStringLiteral("least-") + QString(QTest::currentDataTag()).replace(' ', '-'));
        flaws = test::CutOrSqueezed(root);
        QVERIFY2(flaws.isEmpty(), qPrintable(QStringLiteral("at %1x%2: ").arg(root->width()).arg(root->height()) +
                                             flaws.join(QStringLiteral("; "))));
    }

    void theSideMenuBarShowsItsLabelsWhole_data()
    {
        QTest::addColumn<int>("group");
        for (int group = 1; group <= MenuBarStateRecord::Groups; ++group)
            QTest::newRow(qPrintable(QStringLiteral("group %1").arg(group))) << group;
    }
    void theSideMenuBarShowsItsLabelsWhole()
    {
        QFETCH(int, group);
        WindowController* main = test::OpenFrame(50);
        QVERIFY(main);
        QTRY_VERIFY(MenuBarControlWidget(MenuBarControl::Window) && MenuBarState.BarOpened);
        auto* header = qobject_cast<QAbstractButton*>(MenuBarControlWidget(MenuBarControl::Header(group)));
        QVERIFY(header);
        header->click();
        QVERIFY(WaitIdle());
        QTRY_VERIFY(MenuBarState.PaneThread[std::size_t(group)] != 0);
        QTRY_VERIFY(MenuBarState.CurrentGroup == group);
        PostEvent(Event::Size, 0, MenuBarThread);
        QTest::qWait(100); // past the bar's layout throttle
        PostEvent(Event::Size, 0, MenuBarThread);
        WaitIdle();
        QWidget* bar = MenuBarControlWidget(MenuBarControl::Window);
        test::SavePicture(main->window.Root(), QStringLiteral("SideBar-group%1").arg(group));
        QStringList cut;
        int shown = 0;
        for (int item = 1; item <= MenuBarState.ItemCount[std::size_t(group)]; ++item) {
            auto* label = qobject_cast<QLabel*>(MenuBarControlWidget(MenuBarControl::ItemLabel(group, item)));
            QVERIFY(label);
            if (!label->isVisibleTo(bar))
                continue;
            ++shown;
            QVERIFY(!label->text().isEmpty());
            const QSize needed = label->sizeHint();
            const QRect inBar(label->mapTo(bar, QPoint(0, 0)), label->size());
            if (label->width() < needed.width() || label->height() < needed.height() ||
                !bar->rect().contains(inBar))
                cut << QStringLiteral("\"%1\" %2x%3 for %4x%5")
                           .arg(label->text())
                           .arg(label->width())
                           .arg(label->height())
                           .arg(needed.width())
                           .arg(needed.height());
        }
        QVERIFY(shown > 0);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void theMiniScrapBookShowsMoreThanTwoRows()
    {
        WindowController* main = test::OpenFrame(50);
        QVERIFY(main);
        StartProcedure(QStringLiteral("MiniSrap"));
        WaitIdle();
        WindowController* pane = FindWindow(QStringLiteral("MiniSrap"));
        QVERIFY(pane);
        QTest::qWait(50);
        WaitIdle();
        test::SavePicture(main->window.Root(), QStringLiteral("Frame-MiniScrapBook"));
        auto* list = qobject_cast<QAbstractItemView*>(pane->window.Widget(pane->window.ControlNumber("List")));
        QVERIFY(list);
        const int rowHeight = list->model() && list->model()->rowCount() > 0
                                  ? list->sizeHintForRow(0)
                                  : list->fontMetrics().height() + 4;
        const int rows = list->viewport()->height() / rowHeight;
        QVERIFY2(rows > 2, qPrintable(QStringLiteral("%1 rows of %2 pixels in %3")
                                          .arg(rows)
                                          .arg(rowHeight)
                                          .arg(list->viewport()->height())));
        const QStringList flaws = test::CutOrSqueezed(pane->window.Root());
        QVERIFY2(flaws.isEmpty(), qPrintable(flaws.join(QStringLiteral("; "))));
    }
};

JORNIX_TEST_MAIN_ON_SCREEN(FormsInTheFrameTest, 1280, 1024)
#include "tst_FormsInTheFrame.moc"
