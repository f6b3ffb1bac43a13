#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/RunProgram.h"

#include <QElapsedTimer>
#include <QTest>

using namespace jornix;

class TestRunProgram : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aRunEndsWithItsProgramOrItsTimeLimit_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("exitCode");
        // A program meant to end by itself gets a limit that a busy machine cannot reach while starting it.
        QTest::addColumn<int>("timeLimit");
        QTest::newRow("done") << "true" << QStringList() << true << false << 0 << 30000;
        QTest::newRow("failed") << "false" << QStringList() << true << false << 1 << 30000;
        QTest::newRow("arguments are not read by a shell")
            << "test" << QStringList{"a b; exit 3", "=", "a b; exit 3"} << true << false << 0 << 30000;
        QTest::newRow("over the time limit") << "sleep" << QStringList{"30"} << true << true << -1 << 500;
        QTest::newRow("no such program")
            << "jornix-no-such-program" << QStringList() << false << false << -1 << 30000;
    }
    void aRunEndsWithItsProgramOrItsTimeLimit()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(bool, started);
        QFETCH(bool, timedOut);
        QFETCH(int, exitCode);
        QFETCH(int, timeLimit);
        for (const bool onAThread : {true, false}) {
            ProgramRun run;
            QElapsedTimer timer;
            timer.start();
            if (onAThread) {
                StartProcedureThread([&] { run = RunProgram(program, arguments, timeLimit); });
                QVERIFY(WaitForProgramThreads(10000));
            } else {
                run = RunProgram(program, arguments, timeLimit);
            }
            QCOMPARE(run.started, started);
            QCOMPARE(run.timedOut, timedOut);
            QCOMPARE(run.exitCode, exitCode);
            QVERIFY(timer.elapsed() < 5000);
        }
    }

    void otherThreadsGoOnWhileTheProgramRuns()
    {
        QStringList log;
        StartProcedureThread([&log] {
            RunProgram(QStringLiteral("sleep"), {QStringLiteral("0.2")}, 5000);
            log << QStringLiteral("ran");
        });
        StartProcedureThread([&log] { log << QStringLiteral("other thread"); });
        QVERIFY(WaitForProgramThreads(10000));
        QCOMPARE(log, QStringList({"other thread", "ran"}));
    }
};

QTEST_MAIN(TestRunProgram)
#include "tst_RunProgram.moc"
