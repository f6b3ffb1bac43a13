#pragma once

namespace jornix {

// The first-run setup: creates the record files and the first administrator. 1 when finished, 0 when
// cancelled.
int OneTimeSetup();

} // namespace jornix
