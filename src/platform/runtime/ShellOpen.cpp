#include "platform/runtime/ShellOpen.h"

#include "platform/runtime/RunProgram.h"
#include "platform/runtime/TrailingBlanks.h"

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
    return RunProgram(QStringLiteral("xdg-open"), {argument}, GiveUpMs).exitCode;
}
} // namespace

int ShellOpen(QWidget* window, const QString& document)
{
    Q_UNUSED(window);
    QString argument = StripTrailingBlanks(document);
    if (argument.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        argument.prepend(QLatin1String("http://"));
    return ResultOf(runner ? runner(argument) : RunXdgOpen(argument));
}

void SetShellOpenRunner(ShellOpenRunner newRunner)
{
    runner = std::move(newRunner);
}

} // namespace jornix
