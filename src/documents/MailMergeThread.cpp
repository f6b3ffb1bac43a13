#include "documents/MailMerge.h"

#include "documents/TXEdit.h"
#include "platform/runtime/FrameworkEvents.h"

namespace jornix {

void MailMergeThread(const std::shared_ptr<TXEditLink>& link, const QString& command)
{
    TXEdit* edit = link->edit;
    if (!edit || command.left(9).toUpper() != QLatin1String("MAILMERGE"))
        return;
    MailMergeFields& mail = edit->Mail();
    if (mail.POPUPMAILMERGE != 0) {
        // 1 stands for a window that is still starting: nothing to close yet.
        if (mail.POPUPMAILMERGE > 1)
            PostEvent(Event::CloseWindow, 0, mail.POPUPMAILMERGE);
        return;
    }
    mail.POPUPMAILMERGE = 1;
    edit->MailMergeWindow();
}

} // namespace jornix
