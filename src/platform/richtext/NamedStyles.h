#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

class QTextCursor;

// Named styles of a document: character and paragraph formatting kept under a name, to be applied to the
// selection again and again. A document keeps its styles in the control's own format (OwnFormat.h).
namespace jornix {

struct NamedStyle
{
    QString name;
    // Only the properties the style sets: font family, point size, weight, italic, underline,
    // strike-through and colour of the characters; alignment, indents, spacing and line height of the
    // paragraphs.
    QTextCharFormat character;
    QTextBlockFormat paragraph;

    // Formats compare by their properties: QTextFormat's own comparison also looks at the order in which
    // they were set.
    bool operator==(const NamedStyle& other) const
    {
        return name == other.name && character.properties() == other.character.properties() &&
               paragraph.properties() == other.paragraph.properties();
    }
};

// The control's code of a paragraph alignment: 0 left, 1 right, 2 centred, 3 justified.
int AlignmentCode(Qt::Alignment alignment);

// The place of the style with the name in the list, case and surrounding blanks ignored; -1 when none.
int FindNamedStyle(const QList<NamedStyle>& styles, const QString& name);

// A style of the formatting at the cursor (the start of a selection): every property a style can set.
NamedStyle StyleAtCursor(const QTextCursor& cursor, const QString& name);

// The style on the selection as one step to undo: its character formatting on the selected text and its
// paragraph formatting on every paragraph the selection touches. Without a selection the paragraph at the
// caret takes the style whole, its text included, and so does what is typed next.
void ApplyNamedStyle(QTextCursor& cursor, const NamedStyle& style);

// The payload of the own format's styles section: UTF-8 JSON, {"styles": [ {"name": ..., ...}, ... ]},
// lengths in twips, colours as "#rrggbb", alignment 0 left, 1 right, 2 centred, 3 justified, line height
// in percent. Decoding leaves out what it cannot read (a style without a name, a second style of a name,
// a value of the wrong kind), so that a damaged section never costs the document its text.
QByteArray EncodeNamedStyles(const QList<NamedStyle>& styles);
QList<NamedStyle> DecodeNamedStyles(QByteArrayView payload);

} // namespace jornix
