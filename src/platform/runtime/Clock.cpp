#include "platform/runtime/Clock.h"

#include "platform/runtime/DayNumbers.h"

namespace jornix {
namespace {
QDateTime fixedMoment;

QDateTime now()
{
    return fixedMoment.isValid() ? fixedMoment : QDateTime::currentDateTime();
}
} // namespace

int Today()
{
    return DayNumberFromDate(now().date());
}

int Clock()
{
    return TimeFromQTime(now().time());
}

void SetFixedClock(const QDateTime& moment)
{
    fixedMoment = moment;
}

} // namespace jornix
