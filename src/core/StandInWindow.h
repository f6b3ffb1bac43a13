#pragma once

#include <QString>

namespace jornix {

// Windows whose turn has not come yet stand in as a question: "<what> is not yet available. Continue without
// it?" Yes goes on as if the window had succeeded, No as if it had been cancelled.
bool ContinueWithout(const QString& what);

} // namespace jornix
