#pragma once

// Windows that tests of one library open in place of the windows of libraries they do not link. Each opens a
// plain window of its kind that says it is not yet available: a child window of the frame for a list, a docked pane for a pane, a dialog for a window called
// modally (a form, a select list, the print options of one record), which answers Cancelled. It takes the
// access check, the one-window-per-kind registry and the placement of the window it stands in for, so that
// every menu path and the frame's close run as they will. Each is an entry of the table of procedures until
// the window's own registration replaces it; the program registers only the real windows.
namespace jornix {

void RegisterStandInWindows();

} // namespace jornix
