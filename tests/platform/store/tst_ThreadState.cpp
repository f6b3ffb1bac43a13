#include "platform/runtime/ProgramThreads.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/Transaction.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

// Each program thread has its own buffer, current record and open count of every table. The procedures below
// start further threads from inside a thread, so that one thread's state is checked while another holds its
// own.
class ThreadStateTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test_ = std::make_unique<TestCatalogue>();
        QVERIFY(test_->people.Open());
        QVERIFY(TestCatalogue::AddPerson(test_->people, 1, "ann", "Ann"));
        QVERIFY(TestCatalogue::AddPerson(test_->people, 2, "bob", "Bob"));
        test_->people.Close();
    }
    void cleanup() { test_.reset(); }

    void twoThreadsNeverSeeEachOthersBuffersPositionsOrOpenCounts()
    {
        Table& people = test_->people;
        QVERIFY(people.Open());
        people.Buffer().SetValue("PEO:Num", 1);
        QVERIFY(people.Fetch(0));
        people.SaveBuffer();
        people.Buffer().SetValue("PEO:Name", "Ann changed");

        bool otherRan = false;
        StartProcedureThread([&] {
            otherRan = true;
            QCOMPARE(people.OpenCount(), 0);
            QCOMPARE(people.CurrentRow(), 0);
            QCOMPARE(people.Buffer().Long(0), 0);
            QVERIFY(people.BufferUnchanged());
            QCOMPARE(people.Fetch(0).Code(), StoreError::FileNotOpen);
            QVERIFY(people.Open());
            QVERIFY(people.Open());
            people.Buffer().SetValue("PEO:Num", 2);
            QVERIFY(people.Fetch(0));
            QCOMPARE(people.Buffer().Text(2), QString("Bob"));
            people.Buffer().SetValue("PEO:Name", "Robert");
            QVERIFY(people.Update()); // changes this thread's current record: Bob
            people.Close();
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(otherRan);

        QCOMPARE(people.OpenCount(), 1);
        QCOMPARE(people.CurrentRow(), 1);
        QCOMPARE(people.Buffer().Text(2), QString("Ann changed"));
        QVERIFY(!people.BufferUnchanged());
        people.Buffer().SetValue("PEO:Num", 2);
        QVERIFY(people.Fetch(0));
        QCOMPARE(people.Buffer().Text(2), QString("Robert"));
        people.Close();
    }

    void aFileOpenOnTwoThreadsClosesOnlyWhenBothHaveClosedIt()
    {
        Table& people = test_->people;
        StartProcedureThread([&] {
            QVERIFY(people.Open());
            const ThreadNumber inner = StartProcedureThread([&] {
                QVERIFY(people.Open());
                people.Close();
                QVERIFY(people.FileIsOpen()); // the first thread still holds it
                QVERIFY(people.Open());       // and this thread ends without closing it
            });
            while (ThreadIsActive(inner))
                YieldNow();
            QVERIFY(people.FileIsOpen());
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!people.FileIsOpen()); // the ended thread let go of it too
        QCOMPARE(people.OpenCount(), 0);
    }

    void aWriteOfAnotherThreadWaitsForNoTransaction()
    {
        Table& people = test_->people;
        QVERIFY(people.Open());
        Transaction transaction(people);
        QVERIFY(transaction.Begin());
        StartProcedureThread([&] {
            QVERIFY(people.Open());
            const Status status = TestCatalogue::AddPerson(people, 3, "cleo", "Cleo");
            QCOMPARE(status.Code(), StoreError::Locked);
            Transaction other(people);
            QCOMPARE(other.Begin().Code(), StoreError::Locked);
            people.Close();
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(transaction.Commit());
        QVERIFY(TestCatalogue::AddPerson(people, 3, "cleo", "Cleo"));
        people.Close();
    }

private:
    std::unique_ptr<TestCatalogue> test_;
};

QTEST_GUILESS_MAIN(ThreadStateTest)
#include "tst_ThreadState.moc"
