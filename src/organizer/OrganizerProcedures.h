#pragma once

// The organizer's windows in the table of procedures, each in place of its stand-in.
namespace jornix {

void RegisterOrganizerProcedures();

} // namespace jornix
