#pragma once

#include <QString>

#include <vector>

// The default print options a layout keeps per report area (sort order, date ranges, filters), held as small
// numbers (dates as day numbers, 0 for none) and stored in the layout's memo LLL_:Filter as the count, then
// each value, every one followed by "|": "5|1|0|1|0|0|" for a new log-event layout.
namespace jornix {

// The options of a new layout of the area (1 log events ... 6 scrap book); none for any other area.
std::vector<int> InitialLayoutOptions(int area);

// The memo of the options of the area; blank for an area other than 1 to 6.
QString PackLayoutOptions(int area, const std::vector<int>& options);

// The options of the area read from the memo, starting from the initial ones: the count ahead of the first
// "|" is skipped, each further value that ends in "|" sets the next option (a text that is not a number reads
// as 0, values beyond the area's options are ignored) and a last value without its "|" is ignored.
std::vector<int> UnpackLayoutOptions(int area, const QString& memo);

} // namespace jornix
