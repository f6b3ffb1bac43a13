#pragma once

// Core's own window procedures that others reach by name, entered into the table of procedures.
namespace jornix {

void RegisterCoreProcedures();

} // namespace jornix
