#include "core/OpenLink.h"

#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ShellOpen.h"

namespace jornix {

bool OpenLink(QWidget* window, const QString& link)
{
    if (ShellOpen(window, link) > 32)
        return true;
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Error Launching Document"),
                   QStringLiteral("There are no associated programs installed that can run this document."));
    return false;
}

} // namespace jornix
