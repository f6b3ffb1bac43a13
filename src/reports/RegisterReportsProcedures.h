#pragma once

// Puts the report windows into the table of procedures, in place of their stand-ins.
namespace jornix {

void RegisterReportsProcedures();

} // namespace jornix
