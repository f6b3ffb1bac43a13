#pragma once

// The windows whose turn has not come yet. Each opens a plain window of its kind that says it is not yet
// available: a child window of the frame for a list, a docked pane for a pane, a dialog for a window called
// modally. It takes the access check, the one-window-per-kind registry and the placement of the window it
// stands in for, so that every menu path and the frame's close run as they will. Each is replaced by its own
// window when that is built.
namespace jornix {

void DateView();
void AllView();
void Search();
void PrintOptions(); // reads CurrentReportArea
void Reminder();
void Tasks();
void Contacts();
void StickyNotes();
void Scrap();
void ReportDesigner();
void SetupProgram();
void OverdueReminders();
void MiniStickyNotes();
void MiniSrap();
void MigrateData(); // modal on the caller's thread

} // namespace jornix
