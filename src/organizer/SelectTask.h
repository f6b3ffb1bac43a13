#pragma once

namespace jornix {

// The select list "Select Task": the chosen task in the caller's task buffer.
void SelectTask();

} // namespace jornix
