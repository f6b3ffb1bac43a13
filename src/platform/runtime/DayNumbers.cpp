#include "platform/runtime/DayNumbers.h"

namespace jornix {
namespace {
const QDate dayZero(1800, 12, 28);
}

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
