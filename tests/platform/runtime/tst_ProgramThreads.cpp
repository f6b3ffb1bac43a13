#include "platform/runtime/ProgramThreads.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace jornix;

namespace {
// Counts how often a per-thread value was destroyed.
int destroyedSlots = 0;
struct CountedSlot
{
    QString owner;
    ~CountedSlot() { ++destroyedSlots; }
};
} // namespace

class TestProgramThreads : public QObject
{
    Q_OBJECT

private slots:
    void threadNumbersAreNeverReused()
    {
        QCOMPARE(CurrentThread(), 0);
        std::vector<ThreadNumber> seen;
        std::vector<ThreadNumber> started;
        for (int i = 0; i < 3; ++i)
            started.push_back(StartProcedureThread([&seen] { seen.push_back(CurrentThread()); }));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(seen, started);
        QVERIFY(started[0] > 0 && started[0] < started[1] && started[1] < started[2]);
        for (ThreadNumber thread : started)
            QVERIFY(!ThreadIsActive(thread));
        const ThreadNumber later = StartProcedureThread([] {});
        QVERIFY(later > started[2]);
        QVERIFY(ThreadIsActive(later));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(CurrentThread(), 0);
    }

    void aRequestCodeSetOnOneThreadIsZeroOnAnother()
    {
        struct Seen
        {
            int request = -1;
            int response = -1;
            qint32 vcr = -1;
            QString slot;
        };
        Seen first, second, firstAfterwards;
        destroyedSlots = 0;
        StartProcedureThread([&] {
            ThreadContext& context = CurrentContext();
            context.GlobalRequestCode = 4;
            context.GlobalResponseCode = 1;
            context.VCRRequest = 7;
            context.Slot<CountedSlot>().owner = QStringLiteral("first");
            YieldNow(); // the second thread runs meanwhile
            firstAfterwards = {CurrentContext().GlobalRequestCode, CurrentContext().GlobalResponseCode,
                               CurrentContext().VCRRequest, CurrentContext().Slot<CountedSlot>().owner};
        });
        StartProcedureThread([&] {
            ThreadContext& context = CurrentContext();
            second = {context.GlobalRequestCode, context.GlobalResponseCode, context.VCRRequest,
                      context.Slot<CountedSlot>().owner};
            context.GlobalRequestCode = 2;
            context.Slot<CountedSlot>().owner = QStringLiteral("second");
        });
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(second.request, 0);
        QCOMPARE(second.response, 0);
        QCOMPARE(second.vcr, 0);
        QCOMPARE(second.slot, QString());
        QCOMPARE(firstAfterwards.request, 4);
        QCOMPARE(firstAfterwards.response, 1);
        QCOMPARE(firstAfterwards.vcr, 7);
        QCOMPARE(firstAfterwards.slot, QStringLiteral("first"));
        // Each thread's context went when its thread ended; the context outside the threads is untouched.
        QCOMPARE(destroyedSlots, 2);
        QCOMPARE(int(CurrentContext().GlobalRequestCode), 0);
    }

    void yieldingThreadsTakeTurnsWithTheEventLoop()
    {
        QStringList log;
        const auto worker = [&log](const QString& name) {
            return [&log, name] {
                for (int step = 1; step <= 3; ++step) {
                    log << name + QString::number(step);
                    // A queued call made before giving way runs before this thread goes on.
                    QTimer::singleShot(0, [&log, name, step] {
                        log << QStringLiteral("loop") + name + QString::number(step);
                    });
                    YieldNow();
                }
            };
        };
        StartProcedureThread(worker(QStringLiteral("A")));
        StartProcedureThread(worker(QStringLiteral("B")));
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(log.size(), 12);
        QVERIFY(log.indexOf("A1") < log.indexOf("B1"));
        QVERIFY(log.indexOf("B1") < log.indexOf("A2"));
        QVERIFY(log.indexOf("A2") < log.indexOf("B2"));
        QVERIFY(log.indexOf("B2") < log.indexOf("A3"));
        for (const QString name : {"A", "B"})
            for (int step = 1; step < 3; ++step)
                QVERIFY(log.indexOf("loop" + name + QString::number(step)) <
                        log.indexOf(name + QString::number(step + 1)));
    }

    void aTimedWaitLetsOtherThreadsRun()
    {
        QStringList log;
        QElapsedTimer clock;
        qint64 waited = 0;
        clock.start();
        StartProcedureThread([&] {
            WaitMilliseconds(60);
            waited = clock.elapsed();
            log << QStringLiteral("waited");
        });
        StartProcedureThread([&] { log << QStringLiteral("other"); });
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(log, QStringList({"other", "waited"}));
        QVERIFY(waited >= 60);
    }

    void aSmallStackRequestGetsAFullStack()
    {
        bool ran = false;
        StartProcedureThread(
            [&ran] {
                volatile char buffer[512 * 1024];
                for (std::size_t i = 0; i < sizeof buffer; i += 4096)
                    buffer[i] = char(i);
                ran = buffer[4096] == char(4096);
            },
            25000);
        QVERIFY(WaitForProgramThreads());
        QVERIFY(ran);
    }

    void anExceptionEndsOnlyItsOwnThread()
    {
        bool otherRan = false;
        QTest::ignoreMessage(
            QtCriticalMsg, QRegularExpression("^Program thread \\d+ ended by an exception: broken record$"));
        const ThreadNumber failing = StartProcedureThread([] {
            YieldNow();
            throw std::runtime_error("broken record");
        });
        StartProcedureThread([&otherRan] {
            YieldNow();
            YieldNow();
            otherRan = true;
        });
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ThreadIsActive(failing));
        QVERIFY(otherRan);
    }
};

QTEST_MAIN(TestProgramThreads)
#include "tst_ProgramThreads.moc"
