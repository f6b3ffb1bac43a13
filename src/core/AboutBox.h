#pragma once

namespace jornix {

// The window "About Jornix": the program's name, version and description and the links to its maker. Runs on
// the caller's thread, whose windows wait meanwhile; returns when it has closed.
void AboutBox();

} // namespace jornix
