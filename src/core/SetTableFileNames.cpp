#include "core/SetTableFileNames.h"

namespace jornix {

// The tables and their file names arrive with the data layer, which fills this in.
void SetTableFileNames(const QString&) {}

} // namespace jornix
