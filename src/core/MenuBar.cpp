#include "core/MenuBar.h"

namespace jornix {

void MenuBar() {}

} // namespace jornix
