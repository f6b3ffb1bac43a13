#pragma once

// The Report Designer: the report layouts of the six report areas, one tab per area, with the selected
// layout's preview picture and notes; its buttons copy, add, change and delete a layout and put the factory
// layouts back. Started on a program thread of its own as a child window of the frame.
namespace jornix {

void ReportDesigner();

} // namespace jornix
