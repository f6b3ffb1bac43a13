#pragma once

// Puts the factory report layouts back (InstallFactoryLayouts) while a small window says so, with the wait
// cursor and the refresh broadcast held back. askFirst 1 asks before and reports after, as the Report
// Designer's reset button wants; 0 asks nothing, as the first-run setup wants. A reset that fails says what
// failed either way, and changes nothing. Runs on a program thread; the thread's GlobalResponseCode is
// Completed after a reset and Cancelled after No or a failure.
namespace jornix {

void ResetReportLayouts(int askFirst);

} // namespace jornix
