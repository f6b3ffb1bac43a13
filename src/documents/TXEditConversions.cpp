// The conversion operations of TXEdit: the document into a caller's buffer in a chosen format.
#include "documents/TXEdit.h"

#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/MessageBox.h"

#include <cstring>

namespace jornix {

void TXEdit::SaveToBuffer(QByteArray& buffer, qint32& length, int selectionOnly, int format) const
{
    if (!text_)
        return;
    const Conversion conversion = text_->Save(format, selectionOnly != 0);
    if (!conversion.ok()) {
        // A format the control cannot write leaves buffer and length as they were.
        ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(), conversion.error);
        return;
    }
    length = qint32(conversion.bytes.size());
    if (buffer.size() < length) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(),
                       QStringLiteral("Save Buffer To Small."));
        return;
    }
    std::memcpy(buffer.data(), conversion.bytes.constData(), size_t(length));
    std::memset(buffer.data() + length, ' ', size_t(buffer.size() - length));
}

} // namespace jornix
