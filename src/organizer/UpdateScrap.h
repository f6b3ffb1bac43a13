#pragma once

namespace jornix {

// The form of one scrap, called on its list's thread with the request in GlobalRequestCode.
void UpdateScrap();

} // namespace jornix
