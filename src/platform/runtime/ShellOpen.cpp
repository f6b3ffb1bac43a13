#include "platform/runtime/ShellOpen.h"

#include "platform/runtime/ProgramThreads.h"

#include <QProcess>
#include <QTimer>

namespace jornix {
namespace {
ShellOpenRunner runner;

constexpr int Opened = 42;
constexpr int FileMissing = 2;
constexpr int NoHandler = 31;
constexpr int GiveUpMs = 60000; // a handler that never returns does not hold the thread for ever

// xdg-open's exit codes: 0 done, 1 bad arguments (a blank name), 2 file missing, 3 no handler, 4 the handler
// failed.
int ResultOf(int exitCode)
{
    switch (exitCode) {
    case 0:
        return Opened;
    case 1:
    case 2:
        return FileMissing;
    default:
        return NoHandler;
    }
}

int RunXdgOpen(const QString& argument)
{
    QProcess process;
    process.setProgram(QStringLiteral("xdg-open"));
    process.setArguments({argument});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const ThreadNumber thread = CurrentThread();
    bool done = false;
    int exitCode = -1;
    QObject::connect(&process, &QProcess::finished, [&](int code, QProcess::ExitStatus status) {
        exitCode = status == QProcess::NormalExit ? code : -1;
        done = true;
        WakeThread(thread);
    });
    QObject::connect(&process, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        done = true;
        WakeThread(thread);
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &process, &QProcess::kill);
    process.start();
    giveUp.start(GiveUpMs);
    if (thread == 0)
        process.waitForFinished(GiveUpMs); // outside the program threads there is nobody to give way to
    else
        WaitUntil([&done] { return done; }, WaitKind::Work);
    return exitCode;
}
} // namespace

int ShellOpen(QWidget* window, const QString& document)
{
    Q_UNUSED(window);
    QString argument = document;
    while (argument.endsWith(QLatin1Char(' ')))
        argument.chop(1);
    if (argument.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        argument.prepend(QLatin1String("http://"));
    return ResultOf(runner ? runner(argument) : RunXdgOpen(argument));
}

void SetShellOpenRunner(ShellOpenRunner newRunner)
{
    runner = std::move(newRunner);
}

} // namespace jornix
