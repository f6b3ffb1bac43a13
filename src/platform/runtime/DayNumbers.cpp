#include "platform/runtime/DayNumbers.h"

namespace jornix {
namespace {
// 28 December 1800, as a constant: set before any other file's constants that count days are.
constexpr QDate dayZero = QDate::fromJulianDay(2378858);
} // namespace

int DayNumberFromDate(const QDate& date)
{
    if (!date.isValid())
        return NoDate;
    return static_cast<int>(dayZero.daysTo(date));
}

QDate DateFromDayNumber(int dayNumber)
{
    if (dayNumber == NoDate)
        return {};
    return dayZero.addDays(dayNumber);
}

int TimeFromQTime(const QTime& time)
{
    if (!time.isValid())
        return NoTime;
    return time.msecsSinceStartOfDay() / 10 + 1;
}

QTime QTimeFromTime(int time)
{
    if (time <= NoTime)
        return {};
    return QTime::fromMSecsSinceStartOfDay(((time - 1) % 8640000) * 10);
}

quint32 ColourFromQColor(const QColor& colour)
{
    return quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16);
}

QColor QColorFromColour(quint32 colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace jornix
