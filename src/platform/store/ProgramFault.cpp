#include "platform/store/ProgramFault.h"

namespace jornix {
namespace {

ProgramFaultHandler& Handler()
{
    static ProgramFaultHandler handler;
    return handler;
}

} // namespace

void ReportProgramFault(const QString& message)
{
    if (Handler())
        Handler()(message);
    else
        qFatal("Program fault: %s", qPrintable(message));
}

ProgramFaultHandler SetProgramFaultHandler(ProgramFaultHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

} // namespace jornix
