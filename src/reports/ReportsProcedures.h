#pragma once

// The windows of the reports library in the table of procedures, each in place of its stand-in.
namespace jornix {

void RegisterReportsProcedures();

} // namespace jornix
