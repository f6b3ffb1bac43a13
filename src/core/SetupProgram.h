#pragma once

namespace jornix {

// The Program Setup window: the kept settings on six tabs, bound straight to GLO, the own password and the
// definitions of the user-defined fields. The settings file is written when the window opens and on Apply;
// Cancel reads it back.
void SetupProgram();

} // namespace jornix
