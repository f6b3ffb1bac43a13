#pragma once

#include "platform/reportengine/ExportOutput.h"

// The XLS export: the records of the run as an Excel 97 (BIFF8) workbook: a header row of the column titles
// in bold, then a row per record row in order; texts as shared strings, numbers as numbers, dates as date
// cells (the serial day count of the spreadsheet, a time of day as its fraction). A sheet holds at most
// 65536 rows and 256 columns: further records go on in the sheets "Report 2", "Report 3" ..., each with the
// header row again; columns beyond the 256th are left out. A text longer than a cell holds (32767
// characters) is cut there. The workbook is made in memory, since its shared strings come before its sheets.
namespace jornix {

constexpr int XlsMaxRows = 65536;
constexpr int XlsMaxColumns = 256;
constexpr int XlsMaxText = 32767;
// The engine's date value (the Julian day) less this is the spreadsheet's serial day.
constexpr double XlsDateOffset = 2415018;

bool WriteXls(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
