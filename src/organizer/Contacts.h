#pragma once

namespace jornix {

// The list window "Contacts".
void Contacts();

} // namespace jornix
