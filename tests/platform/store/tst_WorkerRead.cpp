#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/Transaction.h"
#include "platform/store/WorkerRead.h"

#include <QtTest>

#include <atomic>

// A long read runs on a worker thread with its own connection: the calling program thread gives way while it
// waits, so that other threads go on; it hears of the progress and may cancel.
using namespace jornix;
using namespace jornix::test;

namespace {

constexpr int Notes = 12000;

} // namespace

class WorkerReadTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestCatalogue> test_;

private slots:
    void initTestCase()
    {
        test_ = std::make_unique<TestCatalogue>();
        Table& notes = test_->notes;
        QVERIFY(notes.Open());
        Transaction transaction(notes);
        QVERIFY(transaction.Begin());
        for (int n = 1; n <= Notes; ++n) {
            notes.Buffer().SetValue("NTE:Num", n);
            notes.Buffer().SetValue("NTE:Text", n % 100 == 0 ? QStringLiteral("needle %1").arg(n)
                                                             : QStringLiteral("hay %1").arg(n));
            QVERIFY(notes.Insert());
        }
        QVERIFY(transaction.Commit());
        notes.Close();
    }
    void cleanupTestCase()
    {
        EndProgramThreads();
        test_.reset();
    }

    void aLongReadLetsTheOtherThreadsGoOn_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("endedBy"); // "the end", "cancel", "take"
        QTest::addColumn<int>("taken");       // -1: fewer than all, more than none
        QTest::newRow("every row") << QString() << "the end" << Notes;
        QTest::newRow("a filter in SQL") << "NTE:Num > 11000"
                                         << "the end" << 1000;
        QTest::newRow("cancelled from the progress") << QString() << "cancel" << -1;
        QTest::newRow("ended by the worker's function") << QString() << "take" << 5;
    }
    void aLongReadLetsTheOtherThreadsGoOn()
    {
        QFETCH(QString, filter);
        QFETCH(QString, endedBy);
        QFETCH(int, taken);
        Table& notes = test_->notes;
        std::atomic<int> rows{0};
        int needles = 0;
        int otherTurns = 0, turnsDuringRead = -1;
        std::atomic<int> progressCalls{0};
        bool readRunning = true, cancelled = false, atMost = true;
        Status status;
        StartProcedureThread([&] {
            while (readRunning) {
                ++otherTurns;
                YieldNow();
            }
        });
        StartProcedureThread([&] {
            QVERIFY(notes.Open());
            WorkerRead read(notes);
            if (!filter.isEmpty()) {
                SqlExpression compiled;
                QVERIFY(CompileFilter(filter, notes, ExpressionNames(), compiled));
                read.SetFilter(compiled);
            }
            const int turnsBefore = otherTurns;
            status = read.Run(
                [&](const Record& record, qint64) {
                    ++rows;
                    if (record.Text(1).startsWith(QStringLiteral("needle")))
                        ++needles;
                    // The first chunk lasts longer than a progress wake (100 ms or more against 50 ms), so
                    // the waiting thread is woken at its end; the second chunk waits until that thread has
                    // heard of the progress (and may have cancelled), however busy the machine is.
                    if (rows <= WorkerRead::ChunkRows && rows % 100 == 0)
                        QThread::msleep(5);
                    if (rows == WorkerRead::ChunkRows + 1) {
                        QDeadlineTimer deadline(30000);
                        while (progressCalls == 0 && !deadline.hasExpired())
                            QThread::msleep(1);
                    }
                    return endedBy != "take" || rows < 5;
                },
                [&](const ReadProgress& progress) {
                    ++progressCalls;
                    atMost = atMost && progress.at <= progress.end;
                    return endedBy != "cancel";
                });
            turnsDuringRead = otherTurns - turnsBefore;
            cancelled = read.Cancelled();
            readRunning = false;
            notes.Close();
        });
        QVERIFY(WaitForProgramThreads(30000));
        QVERIFY2(status.Ok(), qPrintable(status.Message()));
        QCOMPARE(cancelled, endedBy == "cancel");
        QVERIFY(atMost);
        if (taken >= 0)
            QCOMPARE(rows.load(), taken);
        else
            QVERIFY(rows > 0 && rows < Notes);
        if (endedBy == "the end" && filter.isEmpty()) {
            QCOMPARE(needles, Notes / 100);
            QVERIFY(turnsDuringRead > 0);
            QVERIFY(progressCalls > 1);
        }
    }

    void aThreadThatHoldsAWriteTransactionCannotWaitForARead()
    {
        Table& notes = test_->notes;
        Status status;
        bool taken = false;
        StartProcedureThread([&] {
            QVERIFY(notes.Open());
            Transaction transaction(notes);
            QVERIFY(transaction.Begin());
            status = WorkerRead(notes).Run([&](const Record&, qint64) { return taken = true; });
            transaction.Rollback();
            notes.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(status.Code(), StoreError::Locked);
        QVERIFY(!taken);
    }
};

QTEST_GUILESS_MAIN(WorkerReadTest)
#include "tst_WorkerRead.moc"
