#pragma once

namespace jornix {

// The select list "Select Contact": the chosen contact in the caller's contact buffer.
void SelectContact();

} // namespace jornix
