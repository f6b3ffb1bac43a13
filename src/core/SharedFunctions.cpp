#include "core/SharedFunctions.h"

#include "platform/runtime/DayNumbers.h"

#include <array>

namespace jornix {

QString DayOfWeekName(int date)
{
    static const std::array<const char*, 7> names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
    int r = date % 7;
    if (r < 0)
        r += 7;
    return QString::fromLatin1(names[r]);
}

QString MonthName(int date)
{
    static const std::array<const char*, 12> names = {"January",   "February", "March",    "April",
                                                      "May",       "June",     "July",     "August",
                                                      "September", "October",  "November", "December"};
    const QDate day = DateFromDayNumber(date);
    if (!day.isValid())
        return {};
    return QString::fromLatin1(names[day.month() - 1]) + QLatin1Char(' ');
}

int DaysInMonth(int date)
{
    const QDate day = DateFromDayNumber(date);
    return day.isValid() ? day.daysInMonth() : 31;
}

QString GetFilePath(const QString& fullName)
{
    const qsizetype slash = fullName.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : fullName.left(slash + 1);
}

} // namespace jornix
