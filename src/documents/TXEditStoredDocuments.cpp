// The stored-document operations of TXEdit: BLOBs with their page header, file loading, a new document.
#include "documents/TXEdit.h"

#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <QFileInfo>

#include <cstring>

namespace jornix {
namespace {

// The field of the n-th memo or BLOB field of the table, counted from 1; -1 when there is none.
int blobField(const Table& file, int blobNumber)
{
    for (int field = 0; field < file.FieldCount(); ++field) {
        const FieldType type = file.Field(field).type;
        if ((type == FieldType::Memo || type == FieldType::Blob) && --blobNumber == 0)
            return field;
    }
    return -1;
}

const char* const BuiltInMasks =
    "TX Format|*.TX;*.TXD|RTF Format|*.RTF|Text Document|*.TXT|HTML Format|*.HTM;*.HTML|All Files|*.*";

} // namespace

void TXEdit::SaveToBlob(Table& file, int blobNumber) const
{
    const int field = blobField(file, blobNumber);
    if (field < 0 || !text_)
        return;
    QByteArray blob;
    SaveToBlob(blob);
    file.Buffer().SetValue(field, blob);
}

bool TXEdit::LoadFromBlob(Table& file, int blobNumber)
{
    const int field = blobField(file, blobNumber);
    return field >= 0 && LoadFromBlob(file.Buffer().Blob(field));
}

int TXEdit::IsTXDocument(Table& file, int blobNumber)
{
    const int field = blobField(file, blobNumber);
    return field < 0 ? 0 : IsTXDocument(file.Buffer().Blob(field));
}

DocumentPageHeader TXEdit::pageHeader() const
{
    DocumentPageHeader header;
    header.LVERSION = DocumentPageHeader::Mark;
    header.LTOPMARGIN = text_->PageMarginT();
    header.LBOTTOMMARGIN = text_->PageMarginB();
    header.LLEFTMARGIN = text_->PageMarginL();
    header.LRIGHTMARGIN = text_->PageMarginR();
    header.LWIDTH = text_->PageWidth();
    header.LHEIGHT = text_->PageHeight();
    return header;
}

void TXEdit::SaveToBlob(QByteArray& blob) const
{
    if (!text_)
        return;
    blob = pageHeader().ToBytes() + text_->Save(TextFormat::OwnFormat).bytes;
}

bool TXEdit::LoadFromBlob(const QByteArray& blob)
{
    if (!text_)
        return false;
    QByteArray bytes = blob;
    DocumentPageHeader header;
    if (StripPageHeader(bytes, header))
        applyPageHeader(header);
    const bool loaded = text_->Load(bytes, TextFormat::OwnFormat);
    text_->Refresh();
    return loaded;
}

void TXEdit::applyPageHeader(const DocumentPageHeader& header)
{
    text_->SetPageMarginT(header.LTOPMARGIN);
    text_->SetPageMarginB(header.LBOTTOMMARGIN);
    text_->SetPageMarginL(header.LLEFTMARGIN);
    text_->SetPageMarginR(header.LRIGHTMARGIN);
    text_->SetPageWidth(header.LWIDTH);
    text_->SetPageHeight(header.LHEIGHT);
}

void TXEdit::LoadFromMemory(char* bytes, qint32 length)
{
    if (!text_ || !bytes || length < 0)
        return;
    LoadFromBlob(QByteArray(bytes, length));
    // As the stored document's reader does it: the header leaves the caller's bytes too.
    if (length > DocumentPageHeader::Size &&
        DocumentPageHeader::FromBytes(bytes).LVERSION == DocumentPageHeader::Mark) {
        std::memmove(bytes, bytes + DocumentPageHeader::Size, size_t(length - DocumentPageHeader::Size));
        bytes[length - DocumentPageHeader::Size] = 0;
    }
}

void TXEdit::LoadFromString(const QByteArray& bytes)
{
    LoadFromBlob(bytes);
}

void TXEdit::SaveToMemory(char* buffer, qint32 capacity, qint32& length, int withHeader) const
{
    if (!text_)
        return;
    QByteArray bytes;
    if (withHeader)
        SaveToBlob(bytes);
    else
        bytes = text_->Save(TextFormat::OwnFormat).bytes;
    length = qint32(bytes.size());
    if (!buffer || capacity < length) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(),
                       QStringLiteral("Save Buffer To Small."));
        return;
    }
    std::memcpy(buffer, bytes.constData(), size_t(length));
}

void TXEdit::SaveToString(QByteArray& buffer, qint32& length, int withHeader) const
{
    SaveToMemory(buffer.data(), qint32(buffer.size()), length, withHeader);
}

void TXEdit::SaveToBlobViaFile(Table& file, int blobNumber) const
{
    const int field = blobField(file, blobNumber);
    if (field < 0 || !text_)
        return;
    QByteArray blob;
    SaveToBlobViaFile(blob);
    file.Buffer().SetValue(field, blob);
}

void TXEdit::SaveToBlobViaFile(QByteArray& blob) const
{
    if (text_)
        blob = text_->Save(TextFormat::OwnFormat).bytes;
}

void TXEdit::LoadFromBlobViaFile(Table& file, int blobNumber)
{
    const int field = blobField(file, blobNumber);
    if (field >= 0)
        LoadFromBlobViaFile(file.Buffer().Blob(field));
}

void TXEdit::LoadFromBlobViaFile(const QByteArray& blob)
{
    if (!text_)
        return;
    QByteArray bytes = blob;
    DocumentPageHeader header;
    StripPageHeader(bytes, header);
    text_->Load(bytes, TextFormat::OwnFormat);
    text_->Refresh();
}

qint32 TXEdit::GetNativeLength(int withHeader) const
{
    if (!text_)
        return 0;
    return text_->SaveLength(TextFormat::OwnFormat) + (withHeader ? DocumentPageHeader::Size : 0);
}

int TXEdit::StripPageHeader(QByteArray& bytes, DocumentPageHeader& header)
{
    if (bytes.size() <= DocumentPageHeader::Size)
        return 0;
    const DocumentPageHeader found = DocumentPageHeader::FromBytes(bytes.constData());
    if (found.LVERSION != DocumentPageHeader::Mark)
        return 0;
    header = found;
    bytes.remove(0, DocumentPageHeader::Size);
    return 1;
}

int TXEdit::IsTXDocument(const QByteArray& blob)
{
    if (blob.size() < 16)
        return 0;
    QByteArray bytes = blob;
    DocumentPageHeader header;
    StripPageHeader(bytes, header);
    return IsOwnFormat(bytes) ? 1 : 0;
}

qint32 TXEdit::GetSaveLength(int format, int selectionOnly) const
{
    if (!text_)
        return 0;
    return text_->SaveLength(format, selectionOnly != 0);
}

int TXEdit::LoadFormatFromFileName(const QString& fileName)
{
    // The extension as a short (8.3) name shows it: at most three letters, so ".html" counts as ".HTM".
    const QString extension = QFileInfo(fileName).suffix().left(3).toUpper();
    if (extension == QLatin1String("RTF"))
        return TextFormat::Rtf;
    if (extension == QLatin1String("HTM"))
        return TextFormat::Html;
    if (extension == QLatin1String("TX") || extension == QLatin1String("TXD"))
        return TextFormat::OwnFormat;
    return TextFormat::PlainText;
}

void TXEdit::LoadFile(const QString& masks, const QString& fileName, int ask, int builtInMasks)
{
    workFileName_.clear();
    if (!text_)
        return;
    if (ask) {
        workFileName_ = AskOpenFileName(QStringLiteral("Open"), builtInMasks ? QLatin1String(BuiltInMasks)
                                                                             : StripTrailingBlanks(masks),
                                        {}, FileKind::Documents);
        if (workFileName_.isEmpty())
            return;
    } else {
        workFileName_ = StripTrailingBlanks(fileName);
    }
    // A file that is missing, unreadable or no document of its format loads nothing and leaves the document
    // as it was.
    QString error;
    if (!text_->LoadFile(workFileName_, LoadFormatFromFileName(workFileName_), &error))
        ShowMessageBox(MessageButton::Ok, MessageIcon::None, QString(),
                       QStringLiteral("The file \"%1\" could not be loaded: %2").arg(workFileName_, error));
}

int TXEdit::NewDocument(int clearWithoutAsking)
{
    if (!text_)
        return 0;
    // A document whose only fields are empty shows nothing, but is cleared all the same.
    if (text_->TextLength() == 0 && text_->Fields().IsEmpty())
        return 1;
    if (!clearWithoutAsking && text_->TextLength() != 0) {
        const int answer = ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Stop, QStringLiteral("TX Text"),
            QStringLiteral("Are you sure you want to start over on this document?\n"
                           "All text and formatting will be lost!"),
            MessageButton::No);
        if (answer != MessageButton::Yes)
            return 0;
    }
    text_->ClearDocument();
    text_->Refresh();
    return 1;
}

} // namespace jornix
