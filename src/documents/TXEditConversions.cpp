// The conversion operations of TXEdit: the document into a caller's buffer in a chosen format, into files
// whose format follows from their extension, and the selection as RTF.
#include "documents/TXEdit.h"

#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/TextValues.h"

#include <QFileInfo>

#include <cstring>

namespace jornix {
namespace {

const char* const BuiltInSaveMasks =
    "TX Format|*.TX;*.TXD|RTF Format|*.RTF|Text Document|*.TXT|HTML "
    "Format|*.HTM;*.HTML|Word Document|*.DOC|Pdf Document|*.PDF|All Files|*.*";

void showPlainMessage(const QString& text)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(), text);
}

} // namespace

void TXEdit::SaveToBuffer(QByteArray& buffer, qint32& length, int selectionOnly, int format) const
{
    if (!text_)
        return;
    const Conversion conversion = text_->Save(format, selectionOnly != 0);
    if (!conversion.ok()) {
        // A format the control cannot write leaves buffer and length as they were.
        showPlainMessage(conversion.error);
        return;
    }
    length = qint32(conversion.bytes.size());
    if (buffer.size() < length) {
        showPlainMessage(QStringLiteral("Save Buffer To Small."));
        return;
    }
    std::memcpy(buffer.data(), conversion.bytes.constData(), size_t(length));
    std::memset(buffer.data() + length, ' ', size_t(buffer.size() - length));
}

int TXEdit::SaveFormatFromFileName(const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix().left(3).toUpper();
    if (extension == QLatin1String("DOC"))
        return TextFormat::Word;
    if (extension == QLatin1String("PDF"))
        return TextFormat::Pdf;
    return LoadFormatFromFileName(fileName);
}

void TXEdit::saveTo(const QString& fileName, int format) const
{
    // The control writes through a temporary file and a rename: a failed save leaves an existing file as it
    // was and makes no new one.
    QString error;
    if (!text_->SaveFile(fileName, format, &error))
        showPlainMessage(QStringLiteral("The file \"%1\" could not be saved: %2").arg(fileName, error));
}

void TXEdit::SaveAs(const QString& masks, int builtInMasks)
{
    if (!text_)
        return;
    const QString chosen = AskSaveFileName(
        QStringLiteral("Save File As"),
        builtInMasks ? QLatin1String(BuiltInSaveMasks) : StripTrailingBlanks(masks), workFileName_,
        FileKind::Documents);
    if (chosen.isEmpty())
        return;
    workFileName_ = chosen;
    int format = SaveFormatFromFileName(chosen);
    if (QFileInfo(chosen).suffix().isEmpty()) {
        showPlainMessage(QStringLiteral("You need to specify a valid extension"));
        format = TextFormat::PlainText;
    }
    if (format != TextFormat::Html) {
        saveTo(chosen, format);
        return;
    }
    // A page saved here gets its pictures as files beside it.
    const int imageSaveMode = text_->ImageSaveMode();
    text_->SetImageSaveMode(0);
    saveTo(chosen, format);
    text_->SetImageSaveMode(imageSaveMode);
}

void TXEdit::Save()
{
    if (!text_)
        return;
    if (StripTrailingBlanks(workFileName_).isEmpty())
        SaveAs(QString(), 1);
    else
        saveTo(workFileName_, SaveFormatFromFileName(workFileName_));
}

void TXEdit::SaveAsWord()
{
    if (!text_)
        return;
    QString chosen =
        AskSaveFileName(QStringLiteral("Save File As"), QStringLiteral("Word Document|*.DOC"), workFileName_,
                        FileKind::Documents);
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += chosen.endsWith(QLatin1Char('.')) ? QStringLiteral("doc") : QStringLiteral(".doc");
    workFileName_ = chosen;
    saveTo(chosen, TextFormat::Word);
}

void TXEdit::SaveToFile(const QString& fileName, int format)
{
    if (text_)
        saveTo(fileName, format == 0 ? TextFormat::OwnFormat : format);
}

void TXEdit::GetRTFSelText(QString& rtf) const
{
    if (text_)
        rtf = text_->RTFSelText();
}

void TXEdit::SetRTFSelText(const QString& rtf)
{
    if (!text_)
        return;
    text_->SetRTFSelText(rtf);
    Activate();
}

} // namespace jornix
