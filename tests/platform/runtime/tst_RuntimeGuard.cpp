#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>

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
    }
}

int RunScenario(const QByteArray& scenario)
{
    StartProcedureThread([scenario] {
        Misuse(scenario);
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
#if !defined(JORNIX_STRICT_RUNTIME)
        QSKIP("release builds only log scheduler misuse");
#endif
        QFETCH(QByteArray, scenario);
        QFETCH(QString, message);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(scenarioVariable), QString::fromLatin1(scenario));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0, qPrintable(errors));
        QVERIFY2(errors.contains(message), qPrintable(errors));
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
