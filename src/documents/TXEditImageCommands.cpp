// Stand-ins for the picture and object commands until they are built; the right-click menu offers them.
#include "documents/TXEdit.h"

#include "platform/runtime/MessageBox.h"

namespace jornix {

namespace {

void notYet(const QString& caption)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption,
                   QStringLiteral("This version of Jornix cannot do this yet."));
}

} // namespace

void TXEdit::InsertImage(int, int)
{
    notYet(QStringLiteral("Insert Image"));
}

void TXEdit::InsertObject(int)
{
    notYet(QStringLiteral("Insert Object"));
}

void TXEdit::ImageAttributes()
{
    notYet(QStringLiteral("Image Attributes"));
}

} // namespace jornix
