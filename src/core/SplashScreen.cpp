#include "core/SplashScreen.h"

namespace jornix {

void SplashScreen() {}

} // namespace jornix
