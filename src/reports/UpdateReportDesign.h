#pragma once

#include <QString>

#include <functional>

// The form of one report layout (LLL_:), called by the Report Designer on its thread with the request in
// GlobalRequestCode; besides the layout's own fields it edits the layout's default print options of its area,
// opens the report designer on the layout file and imports another layout file over it.
namespace jornix {

// The report area of the Report Designer's selected tab, which a new layout takes as its area.
extern int DesignerArea;

void UpdateReportDesign();

// The calendar the "Select Date" buttons open: it gets the date (today's when none) and a title and answers
// the date picked, or the date as given when closed without a choice. The program sets the journal's.
using LayoutDatePicker = std::function<int(int date, const QString& title)>;
void SetLayoutDatePicker(LayoutDatePicker picker);

} // namespace jornix
