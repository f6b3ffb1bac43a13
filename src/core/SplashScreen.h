#pragma once

namespace jornix {

// The splash window: the program's picture, shown once at start on the caller's thread. It closes after
// 3 seconds, at a click, double click or right click on it, or when another window takes the focus from it;
// returns when it has closed.
void SplashScreen();

} // namespace jornix
