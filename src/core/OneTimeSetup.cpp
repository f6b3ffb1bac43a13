#include "core/OneTimeSetup.h"

#include "core/StandInWindow.h"

namespace jornix {

int OneTimeSetup()
{
    return ContinueWithout(QStringLiteral("The first-run setup")) ? 1 : 0;
}

} // namespace jornix
