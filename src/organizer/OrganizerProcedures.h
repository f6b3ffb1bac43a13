#pragma once

// The organizer's windows in the table of procedures.
namespace jornix {

void RegisterOrganizerProcedures();

} // namespace jornix
