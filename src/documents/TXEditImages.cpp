#include "documents/TXEdit.h"

#include "documents/ImageAttributesDialog.h"
#include "documents/ParagraphFramesDialog.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

namespace jornix {

void TXEdit::InsertImage(int asCharacter, int option)
{
    if (!text_ || text_->isReadOnly())
        return;
    // Where the picture goes is taken before the dialog, whose clicks are not the document's.
    const int position = asCharacter ? -1 : text_->PositionNearestLastClick();
    const QString fileName = AskOpenFileName(QStringLiteral("Insert Image"), ImageFilters(), {}, FileKind::Pictures);
    if (fileName.isEmpty() || !text_) // the control may have gone while the dialog was open
        return;
    ObjectAttributes attributes;
    attributes.saveMode = option != 0 ? 1 : 0;
    attributes.textflow = asCharacter ? 0 : TextflowAround;
    if (position >= 0) {
        QTextCursor at = text_->textCursor();
        at.setPosition(qBound(0, position, text_->document()->characterCount() - 1));
        text_->setTextCursor(at);
    }
    QString error;
    if (!text_->InsertImageFile(fileName, attributes, &error))
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Insert Image"),
                       QStringLiteral("The picture %1 cannot be inserted: %2").arg(fileName, error));
    Activate();
}

void TXEdit::InsertObject(int atClick)
{
    // The click position of an object placed where the user clicked plays no part: no object is inserted.
    Q_UNUSED(atClick);
    InsertOleObject(1, 0, 0);
}

void TXEdit::InsertOleObject(int asCharacter, int x, int y)
{
    Q_UNUSED(asCharacter);
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (!text_)
        return;
    ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Insert Object"),
                   QStringLiteral("Objects of other programs cannot be inserted: this system has no way to "
                                  "embed or run them. Pictures can be inserted with Insert > Image."));
}

void TXEdit::ImageAttributes()
{
    if (!text_)
        return;
    ImageAttributesDialog dialog(text_, measurements_);
    RunThreadModal(dialog);
}

void TXEdit::ParagraphFrames()
{
    if (!text_)
        return;
    ParagraphFramesDialog dialog(text_);
    if (RunThreadModal(dialog) == QDialog::Accepted)
        text_->Refresh();
}

} // namespace jornix
