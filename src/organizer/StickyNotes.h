#pragma once

namespace jornix {

// The list window "Sticky Notes".
void StickyNotes();

} // namespace jornix
