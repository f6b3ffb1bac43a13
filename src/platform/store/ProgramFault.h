#pragma once

#include <QString>

#include <functional>

// A fault of the program rather than of its input: a field name that the catalogue does not hold, a key
// that a table does not have. Such a fault is told loudly at its first use, in every build, and never turns
// into a silent blank value (a misspelt flag field would read as 0 and let through what it should stop).
namespace jornix {

using ProgramFaultHandler = std::function<void(const QString& message)>;

// Tells the fault. By default the program stops with the message; tests install a handler that records it.
void ReportProgramFault(const QString& message);
// Installs a handler (an empty one restores the default) and returns the one it replaces.
ProgramFaultHandler SetProgramFaultHandler(ProgramFaultHandler handler);

} // namespace jornix
