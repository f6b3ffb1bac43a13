#pragma once

namespace jornix {

// The main frame "Jornix"; returns when the frame has closed.
void Main();

} // namespace jornix
