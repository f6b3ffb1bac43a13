#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <ctime>

// Each misuse runs in a child copy of this program, which the scheduler must stop with a clear message.
using namespace jornix;

namespace {
const char* const scenarioVariable = "JORNIX_GUARD_SCENARIO";

// The misuse, done on program thread 1; when nothing stops it, the child ends normally.
void Misuse(const QByteArray& scenario)
{
    if (scenario == "exec") {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    } else if (scenario == "dialog exec") {
        QDialog dialog;
        QTimer::singleShot(50, &dialog, &QDialog::accept);
        dialog.exec();
    } else if (scenario == "processEvents") {
        QCoreApplication::processEvents();
    } else if (scenario == "qWait") {
        QTest::qWait(20);
    } else if (scenario == "exec with a thread queued") {
        // Another thread waits for its turn during the loop: the scheduler is asked to resume while this one
        // runs. The CPU time the loop takes shows whether the scheduler spins.
        StartProcedureThread([] {});
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        const std::clock_t start = std::clock();
        loop.exec();
        std::printf("cpu %ld ms\n", long((std::clock() - start) * 1000 / CLOCKS_PER_SEC));
    }
}

int messages = 0;
QtMessageHandler previousHandler = nullptr;
void CountMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QStringLiteral("Program threads:")))
        ++messages;
    previousHandler(type, context, text);
}

int RunScenario(const QByteArray& scenario)
{
    previousHandler = qInstallMessageHandler(CountMessages);
    StartProcedureThread([scenario] {
        Misuse(scenario);
        std::printf("messages %d\n", messages);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
} // namespace

class TestRuntimeGuard : public QObject
{
    Q_OBJECT

private slots:
    void misuseOfTheSchedulerStopsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<QString>("message");
        QTest::newRow("exec() on a thread")
            << QByteArray("exec") << "an event loop was started on the stack of program thread 1";
        QTest::newRow("a dialog's exec() on a thread")
            << QByteArray("dialog exec") << "an event loop was started on the stack of program thread 1";
        QTest::newRow("processEvents() on a thread")
            << QByteArray("processEvents") << "an event loop was started on the stack of program thread 1";
        QTest::newRow("a test's wait on a thread")
            << QByteArray("qWait") << "an event loop was started on the stack of program thread 1";
    }

    void misuseOfTheSchedulerStopsTheProgram()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(QString, message);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(scenarioVariable), QString::fromLatin1(scenario));
        environment.insert(QStringLiteral("JORNIX_STRICT_RUNTIME"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0, qPrintable(errors));
        QVERIFY2(errors.contains(message), qPrintable(errors));
    }

    // The installed program goes on after a misuse: each fault is told once, and the scheduler never spins while the
    // loop runs on the thread's stack.
    void aReleaseBuildTellsANestedLoopOnceAndNeverSpins()
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(scenarioVariable),
                           QStringLiteral("exec with a thread queued"));
        environment.remove(QStringLiteral("JORNIX_STRICT_RUNTIME"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(errors.count(QStringLiteral("an event loop was started on the stack of program thread 1")),
                 1);
        QCOMPARE(errors.count(QStringLiteral("a resume was requested while program thread 1 runs")), 1);
        QVERIFY2(output.contains(QStringLiteral("messages 2")), qPrintable(output + errors));
        const QRegularExpressionMatch cpu = QRegularExpression(QStringLiteral("cpu (\\d+) ms")).match(output);
        QVERIFY2(cpu.hasMatch(), qPrintable(output));
        QVERIFY2(cpu.captured(1).toInt() < 50, qPrintable(output)); // of a loop of 300 ms
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray scenario = qgetenv(scenarioVariable);
    if (!scenario.isEmpty())
        return RunScenario(scenario);
    TestRuntimeGuard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RuntimeGuard.moc"
