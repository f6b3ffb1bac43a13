#pragma once

namespace jornix {

// Reads every kept setting from the section "Preserved" into GLO; a missing entry leaves the value it has.
// The menu-bar width is raised to 100 when it is smaller.
void LoadPreservedSettings();

} // namespace jornix
