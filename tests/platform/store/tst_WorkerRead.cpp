#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Sqlite.h"
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

// A filter that passes no row and counts the rows it sees: the SQL function Examined(rowid) on every
// connection opened while it is registered. The rows of the first chunk are slow (100 ms in all, longer than
// a progress wake), and the first row after them waits until the waiting thread has heard of the progress.
std::atomic<int> examined{0};
std::atomic<int> progressHeard{0};
std::atomic<bool> heardBeforeSecondChunk{false};

void Examined(sqlite3_context* context, int, sqlite3_value**)
{
    const int row = ++examined;
    if (row <= WorkerRead::ChunkRows && row % 100 == 0)
        QThread::msleep(5);
    if (row == WorkerRead::ChunkRows + 1) {
        QDeadlineTimer deadline(5000);
        while (progressHeard == 0 && !deadline.hasExpired())
            QThread::msleep(1);
        heardBeforeSecondChunk = progressHeard > 0;
    }
    sqlite3_result_int(context, 0);
}

int AddExamined(sqlite3* db, char**, const sqlite3_api_routines*)
{
    return sqlite3_create_function(db, "Examined", 1, SQLITE_UTF8, nullptr, Examined, nullptr, nullptr);
}

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

    // Several workers read the table in parts at once: every row is taken once, and the progress ends at
    // the end of the table.
    void severalWorkersTakeEveryRowOnce_data()
    {
        QTest::addColumn<int>("workers");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("taken");
        QTest::newRow("two") << 2 << QString() << Notes;
        QTest::newRow("five") << 5 << QString() << Notes;
        QTest::newRow("three, with a filter") << 3 << "NTE:Num > 11000" << 1000;
    }
    void severalWorkersTakeEveryRowOnce()
    {
        QFETCH(int, workers);
        QFETCH(QString, filter);
        QFETCH(int, taken);
        Table& notes = test_->notes;
        std::atomic<int> rows{0};
        std::atomic<qint64> numbers{0};
        ReadProgress last;
        Status status;
        StartProcedureThread([&] {
            QVERIFY(notes.Open());
            WorkerRead read(notes);
            read.SetWorkers(workers);
            SqlExpression compiled;
            QVERIFY(CompileFilter(filter, notes, ExpressionNames(), compiled));
            read.SetFilter(compiled);
            status = read.Run(
                [&](const Record& record, qint64) {
                    ++rows;
                    numbers += record.Long(0);
                    return true;
                },
                [&](const ReadProgress& progress) {
                    last = progress;
                    return true;
                });
            notes.Close();
        });
        QVERIFY(WaitForProgramThreads(30000));
        QVERIFY2(status.Ok(), qPrintable(status.Message()));
        QCOMPARE(rows.load(), taken);
        const qint64 first = Notes - taken + 1;
        QCOMPARE(numbers.load(), (first + Notes) * taken / 2);
        QCOMPARE(last.at, last.end);
        QCOMPARE(last.rowsTaken, qint64(taken));
    }

    // However few rows the filter passes, the read goes on in chunks of row ids: the waiting thread hears of
    // the progress at each chunk's end, and a cancel ends the read within a chunk.
    void aFilterThatPassesNothingShowsProgressAndCancelsWithinAChunk_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("read to the end") << false;
        QTest::newRow("cancelled from the progress") << true;
    }
    void aFilterThatPassesNothingShowsProgressAndCancelsWithinAChunk()
    {
        QFETCH(bool, cancel);
        Table& notes = test_->notes;
        examined = 0;
        progressHeard = 0;
        heardBeforeSecondChunk = false;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(AddExamined));
        Status status;
        bool cancelled = false;
        int taken = 0;
        ReadProgress last;
        StartProcedureThread([&] {
            QVERIFY(notes.Open());
            WorkerRead read(notes);
            read.SetFilter({QStringLiteral("Examined(rowid) = 1"), {}});
            status = read.Run(
                [&](const Record&, qint64) {
                    ++taken;
                    return true;
                },
                [&](const ReadProgress& progress) {
                    ++progressHeard;
                    last = progress;
                    return !cancel;
                });
            cancelled = read.Cancelled();
            notes.Close();
        });
        QVERIFY(WaitForProgramThreads(30000));
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(AddExamined));
        QVERIFY2(status.Ok(), qPrintable(status.Message()));
        QCOMPARE(taken, 0);
        QVERIFY(heardBeforeSecondChunk);
        QCOMPARE(cancelled, cancel);
        if (cancel) {
            QVERIFY(examined <= 2 * WorkerRead::ChunkRows);
        } else {
            QCOMPARE(examined.load(), Notes);
            QCOMPARE(last.at, last.end);
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
