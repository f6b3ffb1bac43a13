#pragma once

namespace jornix {

// The program's start procedure: runs as program thread 1 and returns the exit code.
int ProgramStart();

} // namespace jornix
