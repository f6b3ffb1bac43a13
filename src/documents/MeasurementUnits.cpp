#include "documents/MeasurementUnits.h"

#include <cmath>

namespace jornix {
namespace {

double twipsPerUnit(int unit)
{
    switch (unit) {
    case MeasurementUnit::Inches:
        return 1440.0;
    case MeasurementUnit::Centimetres:
        return 567.0;
    default:
        return 56.7;
    }
}

} // namespace

double TwipsToUnits(int twips, int unit)
{
    return std::round((twips + 0.0005) / twipsPerUnit(unit) * 100.0) / 100.0;
}

double UnitsToTwips(double value, int unit)
{
    return value * twipsPerUnit(unit);
}

QString UnitName(int unit)
{
    switch (unit) {
    case MeasurementUnit::Inches:
        return QStringLiteral("Inch");
    case MeasurementUnit::Centimetres:
        return QStringLiteral("cm");
    default:
        return QStringLiteral("mm");
    }
}

} // namespace jornix
