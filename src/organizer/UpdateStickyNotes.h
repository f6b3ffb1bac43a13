#pragma once

namespace jornix {

// The form of one sticky note, called on its list's thread with the request in GlobalRequestCode; its text
// shows in the sticky-note colours of the settings as they stand when it opens.
void UpdateStickyNotes();

} // namespace jornix
