#pragma once

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QString>
#include <QTextCursor>
#include <QTextFormat>

#include <functional>
#include <optional>

class QTextDocument;

namespace jornix {

// A text field: a marked stretch of the text with an id, a type and two data texts. Where the control's
// text-field messages and properties were used, these are the operations of TextFields that answer them:
//
//   message / property   operation
//   1220, "FieldType("   Field(id)->type
//   1221                 SetType() with the type data
//   1224                 SetValue()
//   1226                 At(caret position)
//   1229                 Insert()
//   1230                 SetAttribute()
//   1231 with 1          Remove()
//   1232, "FieldNext("   Next()
//   1233, "FieldData("   SetData(), Field(id)->data
//   "FieldTypeData("     Field(id)->typeData
//   "FieldStart", "FieldEnd"  Field(id)->start + 1 and start + length (counted from 1, the end inclusive)
//   "FieldInsert("       Mark() for the selection
struct TextField
{
    quint32 id = 0; // 0 is no field
    int type = 0;   // a byte; 0 for a new field
    QString data;
    QString typeData;
    qint32 attribute = 0; // display attributes the caller keeps with the field
    qint32 value = 0;     // a number the caller keeps with the field
    int start = 0;        // position of the first character, counted from 0
    int length = 0;       // characters shown; 0 for a field whose text is empty
    QString text;         // the characters shown

    bool operator==(const TextField& other) const = default;
};

// The text fields of one document. A field's characters carry its id as a character property, so a field
// moves with every edit of the text around it, comes back with undo and goes with its text; its data stays
// here by id, so no edit changes it and undo of a removal brings it back whole. Pasted text never carries
// a field (the clipboard holds HTML, which has no field ids). A field whose text was set empty keeps its
// place by a cursor of its own. Ids rise and are never given twice within one document, until it is cleared.
class TextFields
{
public:
    // The character property that holds a field's id.
    static constexpr int IdProperty = QTextFormat::UserProperty + 0x4649;

    explicit TextFields(QTextDocument& document);
    ~TextFields();
    TextFields(const TextFields&) = delete;
    TextFields& operator=(const TextFields&) = delete;

    QTextDocument& Document() const { return document_; }

    // Every field in document order.
    QList<TextField> All() const;
    // The fields of a copy of the document or of a part of it (a selection saved apart), with the data kept
    // here and the copy's positions.
    QList<TextField> In(const QTextDocument& copy) const;
    std::optional<TextField> Field(quint32 id) const;
    // The field after the one given (0: the first); 0 after the last and for an id that is no field.
    quint32 Next(quint32 id) const;
    // The field at a position: one whose text holds it, else one that ends or stands empty there; 0 if none.
    quint32 At(int position) const;
    bool IsEmpty() const { return All().isEmpty(); }

    // Puts a new field showing the text in place of the cursor's selection (the text's format that of the
    // cursor, without any field); the cursor ends behind it. Returns the new id.
    quint32 Insert(QTextCursor& cursor, const QString& text, int type = 0);
    // The cursor's selection becomes a new field; without a selection an empty field stands at the cursor.
    quint32 Mark(const QTextCursor& selection, int type = 0);
    // Removes the field's mark; its text stays. False when the id is no field.
    bool Remove(quint32 id);
    // Removes every field and its data, and starts the ids again from 1: for a new or loaded document.
    void RemoveAll();
    // Replaces the text the field shows; it stays a field, also with an empty text. One step to undo.
    bool SetText(quint32 id, const QString& text);
    bool SetType(quint32 id, int type, const QString& typeData);
    bool SetData(quint32 id, const QString& data);
    bool SetValue(quint32 id, qint32 value);
    bool SetAttribute(quint32 id, qint32 attribute);
    // Changes the look of the field's characters (its colour, say), as one step to undo.
    bool ChangeFormat(quint32 id, const std::function<void(QTextCharFormat&)>& change);

    // Marks the fields of a loaded document. A field whose stored text does not stand at its stored
    // position is looked for near it; one that is not found is left out.
    void Restore(const QList<TextField>& fields);

    // Whether text typed at the cursor would become part of a field: only inside one, never at its start or
    // end. When it would not, the cursor's character format is given without the field's id.
    static bool TypingJoins(const QTextCursor& caret);
    static QTextCharFormat WithoutField(QTextCharFormat format);

private:
    struct Entry
    {
        TextField data; // type, data texts and numbers; positions come from the document
        // Set once the field's text was made empty: where it stands while it has no characters.
        std::optional<QTextCursor> place;
    };

    static quint32 idOf(const QTextCharFormat& format);
    // Id, start and end (exclusive) of every marked stretch of a document, in document order.
    struct Span
    {
        quint32 id;
        int start;
        int end;
    };
    static QList<Span> spansOf(const QTextDocument& document);
    QList<TextField> fieldsOf(const QTextDocument& document, bool withEmpty) const;
    const QList<TextField>& cached() const;
    quint32 newEntry(int type);
    void mark(int start, int end, quint32 id);
    // Changes the format of the characters of that field between the two positions.
    void changeFormat(int start, int end, quint32 id, const std::function<void(QTextCharFormat&)>& change);
    void unmark(int start, int end, quint32 id);
    bool changeData(quint32 id, const std::function<void(TextField&)>& change);

    QTextDocument& document_;
    QHash<quint32, Entry> entries_;
    quint32 nextId_ = 1;
    mutable QList<TextField> cache_;
    mutable bool cacheValid_ = false;
    QMetaObject::Connection changes_;
};

} // namespace jornix
