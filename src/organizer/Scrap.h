#pragma once

namespace jornix {

// The list window "Scrap Book".
void Scrap();

} // namespace jornix
