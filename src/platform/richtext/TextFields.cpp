#include "platform/richtext/TextFields.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace jornix {
namespace {

// Stored fields are looked for this far around their stored position when the text moved.
constexpr int RestoreReach = 256;

} // namespace

TextFields::TextFields(QTextDocument& document) : document_(document)
{
    changes_ = QObject::connect(&document, &QTextDocument::contentsChange, [this] { cacheValid_ = false; });
}

TextFields::~TextFields()
{
    QObject::disconnect(changes_);
}

quint32 TextFields::idOf(const QTextCharFormat& format)
{
    return format.property(IdProperty).toUInt();
}

QTextCharFormat TextFields::WithoutField(QTextCharFormat format)
{
    format.clearProperty(IdProperty);
    return format;
}

QList<TextFields::Span> TextFields::spansOf(const QTextDocument& document)
{
    QList<Span> spans;
    QHash<quint32, qsizetype> index;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const quint32 id = idOf(fragment.charFormat());
            if (id == 0)
                continue;
            const int end = fragment.position() + fragment.length();
            // A field's characters normally stand together; should an edit have parted them, the field
            // reaches from its first character to its last.
            if (const auto found = index.constFind(id); found != index.cend())
                spans[*found].end = end;
            else {
                index.insert(id, spans.size());
                spans.append({id, fragment.position(), end});
            }
        }
    return spans;
}

QList<TextField> TextFields::fieldsOf(const QTextDocument& document, bool withEmpty) const
{
    QList<TextField> fields;
    QSet<quint32> shown;
    const QString raw = document.toRawText();
    for (const Span& span : spansOf(document)) {
        const auto entry = entries_.constFind(span.id);
        if (entry == entries_.cend())
            continue;
        TextField field = entry->data;
        field.start = span.start;
        field.length = span.end - span.start;
        field.text = raw.mid(span.start, field.length);
        fields.append(field);
        shown.insert(span.id);
    }
    if (withEmpty) {
        for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
            if (!it->place || shown.contains(it.key()))
                continue;
            TextField field = it->data;
            field.start = it->place->position();
            field.length = 0;
            field.text.clear();
            fields.append(field);
        }
        std::stable_sort(fields.begin(), fields.end(), [](const TextField& a, const TextField& b) {
            return a.start != b.start ? a.start < b.start : a.length < b.length;
        });
    }
    return fields;
}

const QList<TextField>& TextFields::cached() const
{
    if (!cacheValid_) {
        cache_ = fieldsOf(document_, true);
        cacheValid_ = true;
    }
    return cache_;
}

QList<TextField> TextFields::All() const
{
    return cached();
}

QList<TextField> TextFields::In(const QTextDocument& copy) const
{
    return fieldsOf(copy, false);
}

std::optional<TextField> TextFields::Field(quint32 id) const
{
    for (const TextField& field : cached())
        if (field.id == id)
            return field;
    return std::nullopt;
}

quint32 TextFields::Next(quint32 id) const
{
    const QList<TextField>& fields = cached();
    if (id == 0)
        return fields.isEmpty() ? 0 : fields.first().id;
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (fields[i].id == id)
            return i + 1 < fields.size() ? fields[i + 1].id : 0;
    return 0;
}

quint32 TextFields::At(int position) const
{
    quint32 touching = 0;
    for (const TextField& field : cached()) {
        if (field.start <= position && position < field.start + field.length)
            return field.id;
        if (!touching && field.start + field.length == position)
            touching = field.id;
    }
    return touching;
}

quint32 TextFields::newEntry(int type)
{
    const quint32 id = nextId_++;
    Entry entry;
    entry.data.id = id;
    entry.data.type = type;
    entries_.insert(id, entry);
    cacheValid_ = false;
    return id;
}

void TextFields::mark(int start, int end, quint32 id)
{
    QTextCursor cursor(&document_);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setProperty(IdProperty, id);
    cursor.mergeCharFormat(format);
    cacheValid_ = false;
}

quint32 TextFields::Insert(QTextCursor& cursor, const QString& text, int type)
{
    const quint32 id = newEntry(type);
    QTextCharFormat format = WithoutField(cursor.charFormat());
    if (text.isEmpty()) {
        cursor.removeSelectedText();
        entries_[id].place = QTextCursor(&document_);
        entries_[id].place->setPosition(cursor.position());
    } else {
        QTextCharFormat marked = format;
        marked.setProperty(IdProperty, id);
        cursor.insertText(text, marked);
    }
    // Typing behind the new field does not extend it.
    cursor.setCharFormat(format);
    cacheValid_ = false;
    return id;
}

quint32 TextFields::Mark(const QTextCursor& selection, int type)
{
    const quint32 id = newEntry(type);
    if (selection.hasSelection()) {
        mark(selection.selectionStart(), selection.selectionEnd(), id);
    } else {
        entries_[id].place = QTextCursor(&document_);
        entries_[id].place->setPosition(selection.position());
    }
    return id;
}

void TextFields::changeFormat(int start, int end, quint32 id,
                              const std::function<void(QTextCharFormat&)>& change)
{
    // A change of format may merge fragments, so they are gathered before any is changed.
    QList<std::pair<QTextFragment, QTextCharFormat>> marked;
    for (QTextBlock block = document_.findBlock(start); block.isValid() && block.position() < end;
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (idOf(it.fragment().charFormat()) == id) {
                QTextCharFormat format = it.fragment().charFormat();
                change(format);
                marked.append({it.fragment(), format});
            }
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    for (const auto& [fragment, format] : marked) {
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    cursor.endEditBlock();
    cacheValid_ = false;
}

void TextFields::unmark(int start, int end, quint32 id)
{
    changeFormat(start, end, id, [](QTextCharFormat& format) { format.clearProperty(IdProperty); });
}

bool TextFields::ChangeFormat(quint32 id, const std::function<void(QTextCharFormat&)>& change)
{
    const std::optional<TextField> field = Field(id);
    if (!field)
        return false;
    if (field->length > 0)
        changeFormat(field->start, field->start + field->length, id, [&](QTextCharFormat& format) {
            change(format);
            format.setProperty(IdProperty, id); // the look changes, the field stays
        });
    return true;
}

bool TextFields::Remove(quint32 id)
{
    const std::optional<TextField> field = Field(id);
    if (!field)
        return false;
    // The data stays, so that undoing the removal brings the whole field back.
    entries_[id].place.reset();
    if (field->length > 0)
        unmark(field->start, field->start + field->length, id);
    cacheValid_ = false;
    return true;
}

void TextFields::RemoveAll()
{
    for (const Span& span : spansOf(document_))
        unmark(span.start, span.end, span.id);
    entries_.clear();
    nextId_ = 1;
    cacheValid_ = false;
}

bool TextFields::SetText(quint32 id, const QString& text)
{
    const std::optional<TextField> field = Field(id);
    if (!field)
        return false;
    Entry& entry = entries_[id];
    QTextCursor cursor(&document_);
    QTextCharFormat format;
    if (field->length > 0) {
        // The new text takes the look of the field's first character.
        cursor.setPosition(field->start + 1);
        format = cursor.charFormat();
        cursor.setPosition(field->start);
        cursor.setPosition(field->start + field->length, QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(field->start);
        format = WithoutField(cursor.charFormat());
        format.setProperty(IdProperty, id);
    }
    if (text.isEmpty()) {
        cursor.removeSelectedText();
        if (!entry.place)
            entry.place = QTextCursor(&document_);
        entry.place->setPosition(field->start);
    } else {
        cursor.insertText(text, format);
        if (entry.place)
            entry.place->setPosition(field->start);
    }
    cacheValid_ = false;
    return true;
}

bool TextFields::changeData(quint32 id, const std::function<void(TextField&)>& change)
{
    if (!Field(id))
        return false;
    change(entries_[id].data);
    cacheValid_ = false;
    return true;
}

bool TextFields::SetType(quint32 id, int type, const QString& typeData)
{
    return changeData(id, [&](TextField& field) {
        field.type = type;
        field.typeData = typeData;
    });
}

bool TextFields::SetData(quint32 id, const QString& data)
{
    return changeData(id, [&](TextField& field) { field.data = data; });
}

bool TextFields::SetValue(quint32 id, qint32 value)
{
    return changeData(id, [&](TextField& field) { field.value = value; });
}

bool TextFields::SetAttribute(quint32 id, qint32 attribute)
{
    return changeData(id, [&](TextField& field) { field.attribute = attribute; });
}

void TextFields::Restore(const QList<TextField>& fields)
{
    const QString raw = document_.toRawText();
    const int textEnd = document_.characterCount() - 1; // behind the last character: the final paragraph end
    for (const TextField& stored : fields) {
        if (stored.id == 0 || entries_.contains(stored.id))
            continue;
        Entry entry;
        entry.data = stored;
        entry.data.start = 0;
        entry.data.length = 0;
        entry.data.text.clear();
        nextId_ = std::max(nextId_, stored.id + 1);
        if (stored.length <= 0 || stored.text.isEmpty()) {
            entry.place = QTextCursor(&document_);
            entry.place->setPosition(std::clamp(stored.start, 0, textEnd));
            entries_.insert(stored.id, entry);
            continue;
        }
        int start = stored.start;
        if (start < 0 || start + stored.text.size() > textEnd ||
            raw.mid(start, stored.text.size()) != stored.text) {
            // The nearest place within reach where the text stands.
            start = -1;
            const int from = std::max(0, stored.start - RestoreReach);
            for (qsizetype at = raw.indexOf(stored.text, from);
                 at >= 0 && at <= qsizetype(stored.start) + RestoreReach &&
                 at + stored.text.size() <= textEnd;
                 at = raw.indexOf(stored.text, at + 1)) {
                if (start < 0 || std::abs(int(at) - stored.start) < std::abs(start - stored.start))
                    start = int(at);
            }
            if (start < 0)
                continue;
        }
        entries_.insert(stored.id, entry);
        mark(start, start + int(stored.text.size()), stored.id);
    }
    cacheValid_ = false;
}

namespace {

// The field id of the character at a position; 0 for a paragraph end or a position outside the text.
quint32 fieldIdAt(const QTextDocument& document, int position)
{
    if (position < 0)
        return 0;
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid() || position >= block.position() + block.length() - 1)
        return 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position))
            return fragment.charFormat().property(TextFields::IdProperty).toUInt();
    }
    return 0;
}

} // namespace

bool TextFields::TypingJoins(const QTextCursor& caret)
{
    const QTextDocument* document = caret.document();
    if (!document)
        return false;
    const int position = caret.position();
    const quint32 before = fieldIdAt(*document, position - 1);
    return before != 0 && before == fieldIdAt(*document, position);
}

} // namespace jornix
