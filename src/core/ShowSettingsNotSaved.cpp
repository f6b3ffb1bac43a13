#include "core/ShowSettingsNotSaved.h"
#include "core/ProgramGlobals.h"
#include "platform/runtime/MessageBox.h"

namespace jornix {

void ShowSettingsNotSaved()
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Settings Not Saved"),
                   QStringLiteral("The settings could not be saved in \"%1\": %2.\n\nThe file keeps the "
                                  "settings it had before.")
                       .arg(INIMgr.FileName(), INIMgr.WriteError()));
}

} // namespace jornix
