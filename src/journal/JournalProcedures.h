#pragma once

// The journal's window procedures that others reach by name, entered into core's table of procedures (each
// replaces a stand-in of the same name, if there is one).
namespace jornix {

void RegisterJournalProcedures();

} // namespace jornix
