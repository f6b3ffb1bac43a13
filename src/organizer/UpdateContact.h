#pragma once

namespace jornix {

// The form of one contact, called on its caller's thread with the request in GlobalRequestCode.
void UpdateContact();

} // namespace jornix
