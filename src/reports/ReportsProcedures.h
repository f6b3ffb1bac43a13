#pragma once

// The windows of the reports library in the table of procedures.
namespace jornix {

void RegisterReportsProcedures();

} // namespace jornix
