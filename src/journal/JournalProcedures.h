#pragma once

// The journal's window procedures that others reach by name, entered into core's table of procedures.
namespace jornix {

void RegisterJournalProcedures();

} // namespace jornix
