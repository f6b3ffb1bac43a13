#pragma once

namespace jornix {

// The list window "Tasks".
void Tasks();

} // namespace jornix
