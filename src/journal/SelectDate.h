#pragma once

#include <QString>

namespace jornix {

// The month calendar from which forms and lists pick a date, run as a dialog on the caller's thread. It
// starts at the month of date (0: today's month) and returns the day the user pressed, or date exactly as
// passed when the calendar is closed without a choice. The caption is the title, or "Select Date" when it is
// blank.
int SelectDate(int date, const QString& title);

} // namespace jornix
