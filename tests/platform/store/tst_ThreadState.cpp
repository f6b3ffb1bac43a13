#include "platform/runtime/ProgramThreads.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/Transaction.h"

#include <QtTest>

#include <climits>

using namespace jornix;
using namespace jornix::test;

namespace {

// Hands turns between program threads: a thread waits, giving way, until the turn it needs has come, so that
// the threads' steps interleave in a fixed order while each keeps its own state. A thread that ends (also
// one that stops at a failed check) gives every turn away, so that no other thread waits for it for ever.
class Turns
{
public:
    void Start(std::function<void()> procedure)
    {
        threads_.push_back(StartProcedureThread([this, procedure = std::move(procedure)] {
            procedure();
            ++finished_;
            Pass(INT_MAX);
        }));
    }
    void WaitFor(int turn)
    {
        WaitUntil([this, turn] { return turn_ >= turn; }, WaitKind::Work);
    }
    void Pass(int turn)
    {
        turn_ = std::max(turn_, turn);
        for (const ThreadNumber thread : threads_)
            WakeThread(thread);
    }
    int Finished() const { return finished_; }

private:
    std::vector<ThreadNumber> threads_;
    int turn_ = 0;
    int finished_ = 0;
};

// Reads the person of this number into the running thread's buffer.
Status FetchPerson(Table& people, qint32 num)
{
    people.Buffer().SetValue("PEO:Num", num);
    return people.Fetch(0);
}

} // namespace

// Each program thread has its own buffer, current record and open count of every table, while the record
// file is shared. Two threads take turns: each checks its own state after the other has changed its own.
class ThreadStateTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test_ = std::make_unique<TestCatalogue>();
        QVERIFY(test_->people.Open());
        QVERIFY(TestCatalogue::AddPerson(test_->people, 1, "ann", "Ann")); // row 1
        QVERIFY(TestCatalogue::AddPerson(test_->people, 2, "bob", "Bob")); // row 2
        test_->people.Close();
    }
    void cleanup() { test_.reset(); }

    void twoThreadsNeverSeeEachOthersBuffersPositionsOrOpenCounts()
    {
        Table& people = test_->people;
        Turns turns;
        turns.Start([&] {
            QVERIFY(people.Open());
            QVERIFY(FetchPerson(people, 1));
            people.SaveBuffer();
            people.Buffer().SetValue("PEO:Name", "Ann changed");
            turns.Pass(1);

            turns.WaitFor(2); // the other thread has read, changed and written Bob meanwhile
            QCOMPARE(people.OpenCount(), 1);
            QCOMPARE(people.CurrentRow(), 1);
            QCOMPARE(people.Buffer().Text(2), QString("Ann changed"));
            QVERIFY(!people.BufferUnchanged());
            QVERIFY(people.Update()); // this thread's current record: Ann
            people.Close();
            turns.Pass(3);
        });
        turns.Start([&] {
            turns.WaitFor(1); // the first thread holds Ann in its buffer
            QVERIFY(people.FileIsOpen());
            QCOMPARE(people.OpenCount(), 0);
            QCOMPARE(people.CurrentRow(), 0);
            QCOMPARE(people.Buffer().Long(0), 0);
            QCOMPARE(people.Buffer().Text(2), QString());
            QVERIFY(people.BufferUnchanged());
            QCOMPARE(people.Fetch(0).Code(), StoreError::FileNotOpen);
            QVERIFY(people.Open());
            QVERIFY(people.Open());
            QVERIFY(FetchPerson(people, 2));
            people.Buffer().SetValue("PEO:Name", "Robert");
            QVERIFY(people.Update()); // this thread's current record: Bob
            turns.Pass(2);

            turns.WaitFor(3); // the first thread has written Ann and closed the table
            QCOMPARE(people.OpenCount(), 2);
            QCOMPARE(people.CurrentRow(), 2);
            QCOMPARE(people.Buffer().Text(2), QString("Robert"));
            QVERIFY(people.BufferUnchanged());
            QVERIFY(FetchPerson(people, 1));
            QCOMPARE(people.Buffer().Text(2), QString("Ann changed"));
            people.Close();
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(turns.Finished(), 2);

        // The test's own stack is a thread of its own too: it has opened nothing.
        QCOMPARE(people.OpenCount(), 0);
        QVERIFY(!people.FileIsOpen());
        QVERIFY(people.Open());
        QVERIFY(FetchPerson(people, 2));
        QCOMPARE(people.Buffer().Text(2), QString("Robert"));
        people.Close();
    }

    void aFileOpenOnTwoThreadsClosesOnlyWhenBothHaveClosedIt_data()
    {
        QTest::addColumn<int>("firstToClose");
        QTest::addColumn<bool>("lastEndsWithTableOpen");
        QTest::newRow("the first to open closes first") << 0 << false;
        QTest::newRow("the last to open closes first") << 1 << false;
        QTest::newRow("the last holder ends without closing") << 0 << true;
    }
    void aFileOpenOnTwoThreadsClosesOnlyWhenBothHaveClosedIt()
    {
        QFETCH(int, firstToClose);
        QFETCH(bool, lastEndsWithTableOpen);
        Table& people = test_->people;
        Turns turns;
        // Turn 0: the first thread opens; 1: the second opens; 2: one of them closes; 3: the other one
        // still reads, then closes or ends.
        for (int self = 0; self < 2; ++self) {
            turns.Start([&, self] {
                turns.WaitFor(self);
                QCOMPARE(people.FileIsOpen(), self == 1);
                QVERIFY(people.Open());
                turns.Pass(self + 1);
                if (self == firstToClose) {
                    turns.WaitFor(2);
                    people.Close();
                    QCOMPARE(people.OpenCount(), 0);
                    QVERIFY(people.FileIsOpen()); // the other thread still holds it
                    turns.Pass(3);
                    return;
                }
                turns.WaitFor(3);
                QCOMPARE(people.OpenCount(), 1);
                QVERIFY(FetchPerson(people, 2));
                if (!lastEndsWithTableOpen) {
                    people.Close();
                    QVERIFY(!people.FileIsOpen());
                }
            });
        }
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(turns.Finished(), 2);
        QVERIFY(!people.FileIsOpen()); // a thread that ended let go of its tables
        QCOMPARE(people.OpenCount(), 0);
    }

    // A transaction is never kept open while its thread gives way; should one be, the store refuses the other
    // threads' writes rather than letting them join it.
    void aWriteOfAnotherThreadIsRefusedWhileATransactionIsOpen()
    {
        Table& people = test_->people;
        Turns turns;
        turns.Start([&] {
            QVERIFY(people.Open());
            Transaction transaction(people);
            QVERIFY(transaction.Begin());
            turns.Pass(1);
            QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("waits while it holds a write transaction"));
            turns.WaitFor(2);
            QVERIFY(transaction.Commit());
            people.Close();
            turns.Pass(3);
        });
        turns.Start([&] {
            turns.WaitFor(1);
            QVERIFY(people.Open());
            QCOMPARE(TestCatalogue::AddPerson(people, 3, "cleo", "Cleo").Code(), StoreError::Locked);
            Transaction other(people);
            QCOMPARE(other.Begin().Code(), StoreError::Locked);
            turns.Pass(2);
            turns.WaitFor(3);
            QVERIFY(TestCatalogue::AddPerson(people, 3, "cleo", "Cleo"));
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(turns.Finished(), 2);
        QVERIFY(people.Open());
        qint64 count = 0;
        QVERIFY(people.RecordCount(count));
        QCOMPARE(count, 3);
        people.Close();
    }

    // Another thread would read the uncommitted writes through the shared connection: YieldNow is refused
    // while the thread holds a write transaction, and gives way again once it has committed.
    void aThreadThatHoldsAWriteTransactionDoesNotGiveWay()
    {
        Table& people = test_->people;
        bool otherRan = false;
        bool ranDuringTransaction = true;
        StartProcedureThread([&] {
            QVERIFY(people.Open());
            Transaction transaction(people);
            QVERIFY(transaction.Begin());
            QVERIFY(YieldsHeld());
            StartProcedureThread([&] { otherRan = true; });
            QTest::ignoreMessage(QtCriticalMsg,
                                 QRegularExpression("may not give way while it holds a write transaction"));
            YieldNow();
            ranDuringTransaction = otherRan;
            QVERIFY(transaction.Commit());
            QVERIFY(!YieldsHeld());
            YieldNow();
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ranDuringTransaction);
        QVERIFY(otherRan);
    }

private:
    std::unique_ptr<TestCatalogue> test_;
};

QTEST_GUILESS_MAIN(ThreadStateTest)
#include "tst_ThreadState.moc"
