#include "platform/store/ProcessOwner.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/View.h"

#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace jornix;
using namespace jornix::test;

namespace {

// Another copy of the program on the same data folder: a child process that opens the table itself, primes
// a new record as a form does when it opens (the next number and its row), tells the parent the number
// through a pipe and then ends as asked: at once without closing anything (killed, crashed), or not before
// the parent kills it.
struct PrimingCopy
{
    pid_t pid = -1;
    qint32 number = 0;

    enum class End
    {
        AtOnce,
        WhenKilled
    };

    bool Start(const QString& folder, End end)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            TestCatalogue copy; // its own catalogue and connection, on the parent's folder
            copy.catalogue.SetFolder(folder);
            copy.folder.remove(); // its own empty folder, which _exit would leave behind
            qint32 primed = 0;
            if (copy.people.Open() && copy.people.TakeNextNumber(primed)) {
                copy.people.ClearBuffer();
                copy.people.Buffer().SetValue("PEO:Num", primed);
                if (!copy.people.InsertPrimed())
                    primed = 0;
            }
            (void)!write(fds[1], &primed, sizeof primed);
            if (end == End::WhenKilled)
                for (;;)
                    pause();
            _exit(0); // no destructor runs: nothing is closed or cleaned up
        }
        close(fds[1]);
        const bool told = read(fds[0], &number, sizeof number) == sizeof number && number > 0;
        close(fds[0]);
        return told;
    }
    void Kill()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    void WaitForEnd()
    {
        if (pid > 0) {
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    ~PrimingCopy() { Kill(); }
};

QList<qint32> ListedNumbers(Table& table)
{
    View view(table);
    std::vector<ViewRow> rows;
    QList<qint32> numbers;
    if (view.Read({}, Direction::Forward, 100, rows))
        for (const ViewRow& row : rows)
            numbers << row.record.Long(0);
    return numbers;
}

} // namespace

class PrimedRowsTest : public QObject
{
    Q_OBJECT

private slots:
    // A form cut short by the end of its process leaves a primed row; the next start removes it before any
    // list can show it. The next record takes the number after it: numbers once given are never given again.
    void theRowOfAFormCutShortIsGoneAtTheNextStart()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
        test.people.Close();

        PrimingCopy copy;
        QVERIFY(copy.Start(test.folder.path(), PrimingCopy::End::AtOnce));
        copy.WaitForEnd();
        QCOMPARE(copy.number, 2);

        QVERIFY(test.people.Open()); // the next start
        QCOMPARE(ListedNumbers(test.people), QList<qint32>{1});
        std::vector<std::pair<qint64, QString>> marks;
        QVERIFY(test.people.PrimedRows(marks));
        QVERIFY(marks.empty());
        qint32 next = 0;
        QVERIFY(test.people.TakeNextNumber(next));
        QCOMPARE(next, 3);
        test.people.Close();
    }

    // A copy of the program that is still running keeps its primed row while its form is open; once that
    // copy is killed, the next start removes it.
    void theRowOfAnotherRunningCopyStays()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        test.people.Close();

        PrimingCopy copy;
        QVERIFY(copy.Start(test.folder.path(), PrimingCopy::End::WhenKilled));
        QVERIFY(test.people.Open());
        std::vector<std::pair<qint64, QString>> marks;
        QVERIFY(test.people.PrimedRows(marks));
        QCOMPARE(marks.size(), std::size_t(1));
        QVERIFY(ProcessOwner::MayBeRunning(marks[0].second));
        QCOMPARE(ListedNumbers(test.people), QList<qint32>{copy.number});
        test.people.Close();

        copy.Kill();
        QVERIFY(test.people.Open());
        QCOMPARE(ListedNumbers(test.people), QList<qint32>{});
        test.people.Close();
    }

    // A primed row becomes a record when its form writes it, and is no longer primed; this process's own
    // primed rows stay when the file is opened again while it runs.
    void aWrittenPrimedRowIsARecordAndOwnRowsStay()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        qint32 first = 0, second = 0;
        for (qint32* number : {&first, &second}) {
            QVERIFY(test.people.TakeNextNumber(*number));
            test.people.ClearBuffer();
            test.people.Buffer().SetValue("PEO:Num", *number);
            QVERIFY(test.people.InsertPrimed());
        }
        test.people.Buffer().SetValue("PEO:Name", "Cleo");
        QVERIFY(test.people.Update()); // the second form's OK
        std::vector<std::pair<qint64, QString>> marks;
        QVERIFY(test.people.PrimedRows(marks));
        QCOMPARE(marks.size(), std::size_t(1));
        QCOMPARE(marks[0].second, ProcessOwner::ThisProcess());
        test.people.Close();
        QVERIFY(!test.people.FileIsOpen());
        QVERIFY(test.people.Open());
        QCOMPARE(ListedNumbers(test.people), QList<qint32>({first, second}));
        test.people.Close();
    }

    void whoMayStillBeRunning_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<bool>("running");
        const QStringList self = ProcessOwner::ThisProcess().split(' ');
        QTest::newRow("this process") << ProcessOwner::ThisProcess() << true;
        QTest::newRow("an ended process of this machine") << self[0] + " 999999999 12345" << false;
        QTest::newRow("this process id with another start") << self[0] + ' ' + self[1] + " 1" << false;
        QTest::newRow("another machine") << "elsewhere 1234 5678" << true;
        QTest::newRow("not an owner") << "rubbish" << false;
    }
    void whoMayStillBeRunning()
    {
        QFETCH(QString, owner);
        QFETCH(bool, running);
        QCOMPARE(ProcessOwner::MayBeRunning(owner), running);
    }
};

QTEST_GUILESS_MAIN(PrimedRowsTest)
#include "tst_PrimedRows.moc"
