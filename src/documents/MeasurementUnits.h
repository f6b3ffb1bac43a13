#pragma once

#include <QString>

// The document component's measuring units (0 millimetres, 1 centimetres, 2 inches) and their conversion
// to and from twips.
namespace jornix {

namespace MeasurementUnit {
enum : int
{
    Millimetres = 0,
    Centimetres = 1,
    Inches = 2
};
}

// Twips in the unit, as a number with two decimals.
double TwipsToUnits(int twips, int unit);
// A value in the unit as (fractional) twips.
double UnitsToTwips(double value, int unit);
// "mm", "cm" or "Inch".
QString UnitName(int unit);

} // namespace jornix
