#pragma once

// The journal's main window: a three-month calendar on which the user picks a day, with the log events and the
// reminders of that day listed under it. Opens on today; one window at a time, on a thread of its own.
namespace jornix {

void DateView();

} // namespace jornix
