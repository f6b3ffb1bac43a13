#pragma once

namespace jornix {

// The pane "Mini-Sticky Notes" docked at the frame's side.
void MiniStickyNotes();

} // namespace jornix
