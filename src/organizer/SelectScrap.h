#pragma once

namespace jornix {

// The scrap picker "Select Scrap", opened on its caller's thread: the user copies a scrap's text to the
// clipboard, as often as needed, and closes it to paste in the calling form.
void SelectScrap();

} // namespace jornix
