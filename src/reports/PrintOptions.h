#pragma once

// The print options for many records: one window at a time, for the area in CurrentReportArea, which it
// takes again whenever it comes forward. Registered under "PrintOptions".
namespace jornix {

void PrintOptions();

} // namespace jornix
