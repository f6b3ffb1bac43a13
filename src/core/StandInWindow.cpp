#include "core/StandInWindow.h"

#include "platform/runtime/MessageBox.h"

namespace jornix {

bool ContinueWithout(const QString& what)
{
    return ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                          QStringLiteral("Jornix"),
                          what + QStringLiteral(" is not yet available. Continue without it?"),
                          MessageButton::Yes) == MessageButton::Yes;
}

} // namespace jornix
