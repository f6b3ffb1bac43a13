#pragma once

// The journal's windows in the table of procedures, each in place of its stand-in.
namespace jornix {

void RegisterJournalProcedures();

} // namespace jornix
