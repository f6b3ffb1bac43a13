#include "documents/TXEdit.h"

#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/store/TextValues.h"

#include <QTextCursor>

namespace jornix {
namespace {

constexpr int MarkedFieldAttribute = 32768;

// The field if there is one of that id.
std::optional<TextField> fieldOf(const RichTextControl* text, quint32 id)
{
    if (!text || id == 0)
        return std::nullopt;
    return text->Fields().Field(id);
}

// The colour of the field's first character; invalid when it has none of its own.
QColor colourOf(QTextDocument& document, const TextField& field)
{
    if (field.length == 0)
        return {};
    QTextCursor cursor(&document);
    cursor.setPosition(field.start + 1);
    const QBrush brush = cursor.charFormat().foreground();
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

void setColour(QTextCharFormat& format, const QColor& colour)
{
    if (colour.isValid())
        format.setForeground(colour);
    else
        format.clearForeground();
}

} // namespace

quint32 TXEdit::NextField(quint32 id) const
{
    return text_ ? text_->Fields().Next(id) : 0;
}

QString TXEdit::GetFieldData(quint32 id) const
{
    const std::optional<TextField> field = fieldOf(text_, id);
    return field ? field->data : QString();
}

QString TXEdit::GetFieldTypeData(quint32 id) const
{
    const std::optional<TextField> field = fieldOf(text_, id);
    return field ? field->typeData : QString();
}

int TXEdit::GetFieldType(quint32 id) const
{
    const std::optional<TextField> field = fieldOf(text_, id);
    return field ? field->type : -1;
}

void TXEdit::SelectField(quint32 id)
{
    const std::optional<TextField> field = fieldOf(text_, id);
    if (!field)
        return;
    text_->SetSelStart(field->start);
    text_->SetSelLength(field->length);
}

void TXEdit::FindFieldByData(const QString& data)
{
    if (!text_)
        return;
    const QString wanted = StripTrailingBlanks(data);
    for (const TextField& field : text_->Fields().All())
        if (StripTrailingBlanks(field.data).compare(wanted, Qt::CaseInsensitive) == 0) {
            SelectField(field.id);
            return;
        }
}

void TXEdit::InsertField(const QString& data)
{
    if (!text_)
        return;
    QTextCursor cursor = text_->textCursor();
    if (!cursor.hasSelection() && cursor.position() == text_->TextLength()) {
        cursor.insertText(QStringLiteral(" "), TextFields::WithoutField(cursor.charFormat()));
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    }
    TextFields& fields = text_->Fields();
    fields.SetData(fields.Mark(cursor, 2), data);
    cursor.setPosition(cursor.selectionEnd());
    text_->setTextCursor(cursor);
}

quint32 TXEdit::InsertTypedField(const QString& displayText, const QString& data)
{
    if (!text_)
        return 0;
    QTextCursor cursor = text_->textCursor();
    const quint32 id = text_->Fields().Insert(cursor, displayText, 1);
    text_->Fields().SetType(id, 1, data);
    text_->setTextCursor(cursor);
    return id;
}

void TXEdit::MarkTypedField(int mark, const QString& displayText, const QString& data)
{
    if (!text_)
        return;
    TextFields& fields = text_->Fields();
    if (!mark) {
        fields.Remove(fields.At(text_->textCursor().position()));
        return;
    }
    QTextCursor cursor = text_->textCursor();
    const quint32 id = fields.Insert(cursor, displayText, 3);
    fields.SetAttribute(id, MarkedFieldAttribute);
    fields.SetType(id, 3, data);
    text_->setTextCursor(cursor);
}

void TXEdit::DeleteField(quint32 id)
{
    if (text_)
        text_->Fields().Remove(id);
}

void TXEdit::DeleteCurrentField()
{
    if (text_)
        text_->Fields().Remove(text_->Fields().At(text_->textCursor().position()));
}

int TXEdit::ReadMergeField(quint32 id, QString& text, QString& typeData) const
{
    const std::optional<TextField> field = fieldOf(text_, id);
    if (!field || field->type != 1)
        return 0;
    text = field->text;
    typeData = field->typeData;
    return 1;
}

int TXEdit::ReadCurrentField(QString& text, QString& typeData) const
{
    if (!text_)
        return 0;
    const quint32 id = text_->Fields().At(text_->textCursor().position());
    return id == 0 ? 0 : ReadMergeField(id, text, typeData);
}

int TXEdit::GetFieldText(quint32 id, QString& text, QString& data) const
{
    const std::optional<TextField> field = fieldOf(text_, id);
    if (!field || field->type != 0)
        return 0;
    text = field->text;
    data = field->data;
    return 1;
}

void TXEdit::SetFieldTypeText(quint32 id, const QString& text)
{
    if (text_)
        text_->Fields().SetType(id, 1, text);
}

int TXEdit::SetFieldData(quint32 id, qint32 value, const QString& text)
{
    const std::optional<TextField> field = fieldOf(text_, id);
    if (!field || field->type == 0)
        return 0;
    if (value != 0)
        text_->Fields().SetValue(id, value);
    text_->Fields().SetData(id, text);
    return 1;
}

void TXEdit::colourFields(bool mergeFieldsOnly, const QColor& colour, bool underline, bool keepColours)
{
    if (!text_)
        return;
    QTextDocument& document = *text_->document();
    const bool updates = text_->updatesEnabled();
    text_->setUpdatesEnabled(false);
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (const TextField& field : text_->Fields().All()) {
        if (mergeFieldsOnly && field.type != 0)
            continue;
        if (keepColours)
            fieldColours_.append({field.id, colourOf(document, field)});
        text_->Fields().ChangeFormat(field.id, [&](QTextCharFormat& format) {
            setColour(format, colour);
            if (underline)
                format.setFontUnderline(true);
        });
    }
    edit.endEditBlock();
    text_->setUpdatesEnabled(updates);
}

void TXEdit::HighlightFields(const QColor& colour)
{
    colourFields(true, colour, false, true);
}

void TXEdit::MarkFieldsInColour(const QColor& colour, int underline)
{
    colourFields(false, colour, underline != 0, false);
}

void TXEdit::RestoreFieldColours()
{
    if (!text_) {
        fieldColours_.clear();
        return;
    }
    QTextCursor edit(text_->document());
    edit.beginEditBlock();
    // Latest first, so that a field highlighted twice gets its very own colour back.
    for (auto it = fieldColours_.crbegin(); it != fieldColours_.crend(); ++it)
        text_->Fields().ChangeFormat(it->fieldId,
                                     [&](QTextCharFormat& format) { setColour(format, it->colour); });
    edit.endEditBlock();
    fieldColours_.clear();
}

} // namespace jornix
