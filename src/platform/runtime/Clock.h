#pragma once

#include <QDateTime>

// The program's clock in stored form. Tests pin it to a fixed moment.
namespace jornix {

int Today(); // day number of the current date
int Clock(); // current time, hundredths of a second since midnight plus 1

// Pins the clock to a moment (tests); an invalid QDateTime releases it.
void SetFixedClock(const QDateTime& moment);

} // namespace jornix
