#include "core/BroadcastRefresh.h"
#include "core/SharedState.h"

#include <QtTest>

using namespace jornix;

class BroadcastRefreshTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        posts_.clear();
        SetRefreshPoster([this](int event, int control, ThreadNumber thread) {
            QCOMPARE(event, RefreshEvent);
            QCOMPARE(control, 0);
            posts_ << thread;
        });
    }
    void cleanup()
    {
        SetRefreshPoster({});
        WindowThreadRegistry.fill(0);
        RefreshSuppressed = 0;
    }

    void theRefreshReachesEveryOpenListWindowInItsOrder_data()
    {
        QTest::addColumn<QList<int>>("kinds"); // registered, kind k on thread 100 + k
        QTest::addColumn<bool>("suppressed");
        QTest::addColumn<QList<int>>("threads");
        using namespace WindowKind;
        QTest::newRow("only Date View and Tasks, Date View's first")
            << QList<int>{Tasks, DateView} << false << QList<int>{100 + DateView, 100 + Tasks};
        QList<int> all;
        for (int kind = 0; kind < WindowKind::Count; ++kind)
            all << kind;
        QTest::newRow("every kind but Program Setup and Manage Users")
            << all << false
            << QList<int>{
                   100 + Scrap,          100 + OverdueReminders, 100 + StickyNotes, 100 + MiniStickyNotes,
                   100 + MiniSrap,       100 + DateView,         100 + AllView,     100 + PrintOptions,
                   100 + ReportDesigner, 100 + Search,           100 + Reminder,    100 + Contacts,
                   100 + Tasks};
        QTest::newRow("Manage Users alone hears nothing")
            << QList<int>{ManageUsers, SetupProgram} << false << QList<int>{};
        QTest::newRow("nothing while the refresh is suppressed") << all << true << QList<int>{};
    }
    void theRefreshReachesEveryOpenListWindowInItsOrder()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(bool, suppressed);
        QFETCH(QList<int>, threads);
        for (const int kind : kinds)
            WindowThreadRegistry[kind] = 100 + kind;
        RefreshSuppressed = suppressed ? 1 : 0;
        BroadcastRefresh();
        QCOMPARE(posts_, threads);
    }

private:
    QList<int> posts_;
};

QTEST_MAIN(BroadcastRefreshTest)
#include "tst_BroadcastRefresh.moc"
