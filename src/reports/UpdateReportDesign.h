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

// Tests put a calendar of their own in place of the journal's month calendar, which the "Select Date" buttons
// open with the date (today's when none) and a title; an empty one gives the journal's back.
using LayoutDatePicker = std::function<int(int date, const QString& title)>;
void SetLayoutDatePicker(LayoutDatePicker picker);

} // namespace jornix
