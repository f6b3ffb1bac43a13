#pragma once

namespace jornix {

// The pane "Mini-Scrap Book" docked at the frame's side.
void MiniSrap();

} // namespace jornix
