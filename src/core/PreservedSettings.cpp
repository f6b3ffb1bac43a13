#include "core/PreservedSettings.h"

namespace jornix {

PreservedSettings GLO;

} // namespace jornix
