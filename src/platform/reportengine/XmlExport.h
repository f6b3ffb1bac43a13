#pragma once

#include "platform/reportengine/ExportOutput.h"

// The XML export: the records of the run as UTF-8 XML, version 1 of this schema:
//
//   <report xmlns="urn:jornix:report-export" version="1" title="...">
//     <record number="1" page="1">
//       <item name="Company" type="text">O&apos;Neil &amp; Partners</item>
//       <item name="Amount" type="number">12.5</item>
//       <item name="Due" type="date">2024-02-29</item>
//     </record>
//     ...
//   </report>
//
// A record is a row of the run (a list project's data line, a card or label); its items are its cells in
// the order of the columns, named by the column title (a list's column, a card's text object) and typed
// "text", "number" (shortest decimal form, "." as the point) or "date" (yyyy-mm-dd, with "Thh:mm:ss" when
// the value holds a time of day). An empty cell is an empty item of type "text". Every text is escaped; a
// control character that XML cannot hold is written as U+FFFD. A later version adds attributes or elements
// only; a reader ignores what it does not know.
namespace jornix {

bool WriteXml(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
