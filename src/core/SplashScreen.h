#pragma once

namespace jornix {

// The splash window; returns when it has closed.
void SplashScreen();

} // namespace jornix
