#pragma once

#include "platform/runtime/ProgramThreads.h"

#include <QString>

#include <functional>

// Jornix's window procedures by name. The frame, the side menu bar, its panes and the forms reach the windows
// through this table, because core cannot call the procedures of the libraries that link it (journal,
// organizer, reports). The program fills it at start, each library with its own windows (RegisterCore-,
// Journal-, Organizer- and ReportsProcedures). A name that is not in the table is a fault of the program: it
// is logged ("No window procedure is named ...") and the call answers Cancelled. Registering a name again
// replaces its procedure.
namespace jornix {

using ProcedureBody = std::function<void()>;

void RegisterProcedure(const QString& name, ProcedureBody body);
bool HasProcedure(const QString& name);
void ClearProcedures(); // tests: back to an empty table

// Starts the procedure on a program thread of its own; 0 when no procedure has the name.
ThreadNumber StartProcedure(const QString& name);
// Runs the procedure on the calling thread (a form, a select list) and gives its response, which it also
// leaves in the thread's GlobalResponseCode; a name that is not in the table answers Cancelled.
int CallProcedure(const QString& name);

} // namespace jornix
