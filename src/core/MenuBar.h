#pragma once

namespace jornix {

// The side menu bar docked at the left of the frame; runs on a thread of its own until the frame closes.
void MenuBar();

} // namespace jornix
