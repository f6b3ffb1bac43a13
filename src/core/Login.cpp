#include "core/Login.h"

#include "core/StandInWindow.h"

namespace jornix {

int Login()
{
    return ContinueWithout(QStringLiteral("The sign-in")) ? 1 : 0;
}

} // namespace jornix
