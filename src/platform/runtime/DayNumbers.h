#pragma once

#include <QColor>
#include <QDate>
#include <QTime>

// The stored forms of dates, times and colours.
//
// A date is a day number: day 4 is 1 January 1801 (day n is 28 December 1800 plus n days) and 0 is "no date".
// A time is hundredths of a second since midnight plus 1, and 0 is "no time".
// A colour is 32 bits with red in the low byte, green in the next and blue in the third.
namespace jornix {

constexpr int NoDate = 0;
constexpr int NoTime = 0;
// Report engine dates are the day number plus this offset (the Julian day number).
constexpr int JulianDayOffset = 2378857;

int DayNumberFromDate(const QDate& date); // NoDate for an invalid date
QDate DateFromDayNumber(int dayNumber);   // invalid QDate for NoDate
int TimeFromQTime(const QTime& time);     // NoTime for an invalid time
QTime QTimeFromTime(int time);            // invalid QTime for NoTime

quint32 ColourFromQColor(const QColor& colour);
QColor QColorFromColour(quint32 colour);

} // namespace jornix
