#pragma once

#include <QString>

// Small stateless functions that several parts of the program share. Dates are day numbers.
namespace jornix {

QString DayOfWeekName(int date); // "Sunday" ... "Saturday"
QString MonthName(int date);     // the month's name followed by one blank, as "March "
int DaysInMonth(int date);       // 28 to 31

// The folder of a full file name, with its final "/"; blank for a bare file name. Never cut to a length.
QString GetFilePath(const QString& fullName);

} // namespace jornix
