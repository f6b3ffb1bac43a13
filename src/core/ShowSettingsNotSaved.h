#pragma once

namespace jornix {

// Tells that Jornix.ini could not be written, with the file and the reason of the last write that failed. The
// file keeps what it held before, so the settings in effect at the next start are the earlier ones.
void ShowSettingsNotSaved();

} // namespace jornix
