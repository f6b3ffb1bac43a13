#pragma once

namespace jornix {

// The form of one task, called on its caller's thread with the request in GlobalRequestCode.
void UpdateTask();

} // namespace jornix
