#pragma once

#include "reports/PrintSelectionValues.h"

#include <QString>

// Reads the selection a layout keeps for its area ("count|value|value|...|", as the layout form writes it)
// into the values: value n sets the area's n-th option. Values that the text does not hold keep what they
// were; the count is not used.
namespace jornix {

void LoadLayoutSelection(int area, const QString& layoutFilter, PrintSelectionValues& values);

} // namespace jornix
