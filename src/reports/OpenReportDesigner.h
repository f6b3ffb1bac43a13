#pragma once

#include "platform/store/Record.h"

class QWidget;

// Edit Layout of the layout form: the report engine's designer on the layout's file in the data folder,
// with every item of the layout's area declared with its sample value. The designer saves the file itself.
namespace jornix {

void OpenReportDesigner(const Record& layout, QWidget* window);

} // namespace jornix
