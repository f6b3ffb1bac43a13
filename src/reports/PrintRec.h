#pragma once

// The print options for one record: the window that prints the record of PrintRecRequest through a layout
// of its area, registered under "PrintRec".
namespace jornix {

void RunPrintRec();

} // namespace jornix
