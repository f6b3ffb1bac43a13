#pragma once

#include "reports/PrintSelectionValues.h"

#include <QString>

// Turns the selection of one area into what the print engine takes: the sort order, a readable criteria
// text ("Completed = Yes, Priority = High") and a filter expression over the area's table
// ("TSK:Completed = 1 AND TSK:Priority = 1"). Reads no table and shows nothing. An area outside 1-6 gives
// sort order 0 and empty texts.
namespace jornix {

struct PrintSelection
{
    int sortOrder = 0;
    QString criteria;
    QString filter;
};

PrintSelection BuildPrintSelection(int area, const PrintSelectionValues& values);

} // namespace jornix
