#include "platform/runtime/RunProgram.h"

#include "platform/runtime/ProgramThreads.h"

#include <QProcess>
#include <QTimer>

namespace jornix {

ProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeLimitMs)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const ThreadNumber thread = CurrentThread();
    ProgramRun run;
    bool done = false;
    QObject::connect(&process, &QProcess::finished, [&](int code, QProcess::ExitStatus status) {
        run.started = true;
        run.exitCode = status == QProcess::NormalExit && !run.timedOut ? code : -1;
        done = true;
        if (thread)
            WakeThread(thread);
    });
    QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        done = true;
        if (thread)
            WakeThread(thread);
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &process, [&] {
        run.timedOut = true;
        process.kill();
    });
    process.start();
    giveUp.start(timeLimitMs);
    if (thread == 0) {
        // Outside the program threads there is nobody to give way to.
        if (!process.waitForFinished(timeLimitMs) && process.state() != QProcess::NotRunning) {
            run.timedOut = true;
            process.kill();
            process.waitForFinished(1000);
        }
    } else {
        WaitUntil([&done] { return done; }, WaitKind::Work);
    }
    return run;
}

} // namespace jornix
