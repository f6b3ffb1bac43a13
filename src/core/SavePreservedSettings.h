#pragma once

namespace jornix {

// Writes the kept settings of GLO to the section "Preserved", all but GLO:DebugSwitch, which is only read.
// A last login id that is not to be remembered is blanked first, so that the blank is written. The entries are
// written in one write of the file; false when it failed (INIMgr.WriteError() says why) and the file is as it was.
bool SavePreservedSettings();

} // namespace jornix
