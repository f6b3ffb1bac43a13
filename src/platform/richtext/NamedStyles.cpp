#include "platform/richtext/NamedStyles.h"

#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCursor>
#include <QTextDocument>

namespace jornix {
namespace {

// The paragraph lengths a style sets, by their names in the section.
const std::pair<const char*, QTextFormat::Property> BlockLengths[] = {
    {"left", QTextFormat::BlockLeftMargin},    {"right", QTextFormat::BlockRightMargin},
    {"firstLine", QTextFormat::TextIndent},    {"before", QTextFormat::BlockTopMargin},
    {"after", QTextFormat::BlockBottomMargin},
};

const std::pair<const char*, QTextFormat::Property> CharacterFlags[] = {
    {"italic", QTextFormat::FontItalic},
    {"underline", QTextFormat::TextUnderlineStyle},
    {"strikeOut", QTextFormat::FontStrikeOut},
};

bool hasFlag(const QTextCharFormat& format, QTextFormat::Property property)
{
    return property == QTextFormat::TextUnderlineStyle ? format.fontUnderline()
                                                       : format.boolProperty(property);
}

void setFlag(QTextCharFormat& format, QTextFormat::Property property, bool on)
{
    if (property == QTextFormat::TextUnderlineStyle)
        format.setFontUnderline(on);
    else
        format.setProperty(property, on);
}

QJsonObject encode(const NamedStyle& style)
{
    QJsonObject object{{QStringLiteral("name"), style.name}};
    const QTextCharFormat& character = style.character;
    const QStringList families = character.fontFamilies().toStringList();
    if (!families.isEmpty())
        object.insert(QStringLiteral("font"), families.first());
    if (character.hasProperty(QTextFormat::FontPointSize))
        object.insert(QStringLiteral("size"), character.fontPointSize());
    if (character.hasProperty(QTextFormat::FontWeight))
        object.insert(QStringLiteral("weight"), character.fontWeight());
    for (const auto& [key, property] : CharacterFlags)
        if (character.hasProperty(property))
            object.insert(QLatin1String(key), hasFlag(character, property));
    if (character.hasProperty(QTextFormat::ForegroundBrush))
        object.insert(QStringLiteral("colour"), character.foreground().color().name());
    const QTextBlockFormat& paragraph = style.paragraph;
    if (paragraph.hasProperty(QTextFormat::BlockAlignment))
        object.insert(QStringLiteral("alignment"), AlignmentCode(paragraph.alignment()));
    for (const auto& [key, property] : BlockLengths)
        if (paragraph.hasProperty(property))
            object.insert(QLatin1String(key),
                          qRound(paragraph.doubleProperty(property) * TwipsPerLayoutUnit));
    if (paragraph.hasProperty(QTextFormat::LineHeight))
        object.insert(QStringLiteral("lineHeight"), qRound(paragraph.lineHeight()));
    return object;
}

// Each value is taken only when it is of its kind and in its range; anything else is passed over.
NamedStyle decode(const QJsonObject& object)
{
    NamedStyle style;
    style.name = object.value(QStringLiteral("name")).toString().trimmed();
    QTextCharFormat& character = style.character;
    if (const QJsonValue font = object.value(QStringLiteral("font"));
        font.isString() && !font.toString().isEmpty())
        character.setFontFamilies({font.toString()});
    if (const QJsonValue size = object.value(QStringLiteral("size")); size.isDouble()) {
        const double points = size.toDouble();
        if (points >= 1 && points <= 1638)
            character.setFontPointSize(points);
    }
    if (const QJsonValue weight = object.value(QStringLiteral("weight")); weight.isDouble()) {
        const int value = weight.toInt(-1);
        if (value >= 1 && value <= 1000)
            character.setFontWeight(value);
    }
    for (const auto& [key, property] : CharacterFlags)
        if (const QJsonValue flag = object.value(QLatin1String(key)); flag.isBool())
            setFlag(character, property, flag.toBool());
    if (const QJsonValue colour = object.value(QStringLiteral("colour")); colour.isString()) {
        const QColor value = QColor::fromString(colour.toString());
        if (value.isValid())
            character.setForeground(value);
    }
    QTextBlockFormat& paragraph = style.paragraph;
    if (const QJsonValue alignment = object.value(QStringLiteral("alignment")); alignment.isDouble()) {
        const int code = alignment.toInt(-1);
        if (code >= 0 && code <= 3)
            paragraph.setAlignment(RichTextControl::AlignmentOf(code));
    }
    for (const auto& [key, property] : BlockLengths)
        if (const QJsonValue twips = object.value(QLatin1String(key)); twips.isDouble()) {
            const double value = twips.toDouble();
            if (qAbs(value) <= 31680) // 22 inches, more than any page
                paragraph.setProperty(property, value / TwipsPerLayoutUnit);
        }
    if (const QJsonValue height = object.value(QStringLiteral("lineHeight")); height.isDouble()) {
        const int percent = height.toInt(-1);
        if (percent >= 50 && percent <= 1000)
            paragraph.setLineHeight(percent, QTextBlockFormat::ProportionalHeight);
    }
    return style;
}

} // namespace

int AlignmentCode(Qt::Alignment alignment)
{
    for (int code = 1; code <= 3; ++code)
        if (alignment & RichTextControl::AlignmentOf(code))
            return code;
    return 0;
}

int FindNamedStyle(const QList<NamedStyle>& styles, const QString& name)
{
    const QString wanted = name.trimmed();
    for (qsizetype index = 0; index < styles.size(); ++index)
        if (styles.at(index).name.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return int(index);
    return -1;
}

NamedStyle StyleAtCursor(const QTextCursor& cursor, const QString& name)
{
    // The format of the first character of a selection, or of the one before the caret.
    QTextCursor probe(cursor);
    probe.setPosition(cursor.selectionStart());
    if (cursor.hasSelection())
        probe.movePosition(QTextCursor::NextCharacter);
    const QTextCharFormat format = probe.charFormat();
    const QFont font = format.font().resolve(cursor.document() ? cursor.document()->defaultFont() : QFont());

    NamedStyle style;
    style.name = name;
    style.character.setFontFamilies({font.family()});
    style.character.setFontPointSize(font.pointSizeF() > 0 ? font.pointSizeF() : 12);
    style.character.setFontWeight(font.weight());
    style.character.setFontItalic(font.italic());
    style.character.setFontUnderline(font.underline());
    style.character.setFontStrikeOut(font.strikeOut());
    style.character.setForeground(format.foreground().style() == Qt::NoBrush ? QColor(Qt::black)
                                                                             : format.foreground().color());
    const QTextBlockFormat block = probe.blockFormat();
    style.paragraph.setAlignment(RichTextControl::AlignmentOf(AlignmentCode(block.alignment())));
    for (const auto& [key, property] : BlockLengths)
        style.paragraph.setProperty(property, block.doubleProperty(property));
    style.paragraph.setLineHeight(
        block.lineHeightType() == QTextBlockFormat::ProportionalHeight ? block.lineHeight() : 100,
        QTextBlockFormat::ProportionalHeight);
    return style;
}

void ApplyNamedStyle(QTextCursor& cursor, const NamedStyle& style)
{
    cursor.beginEditBlock();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(style.character);
    } else {
        QTextCursor paragraph(cursor);
        paragraph.movePosition(QTextCursor::StartOfBlock);
        paragraph.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        paragraph.mergeCharFormat(style.character);
        cursor.mergeBlockCharFormat(style.character); // an empty paragraph types in the style
        cursor.mergeCharFormat(style.character);      // and so does the caret
    }
    cursor.mergeBlockFormat(style.paragraph);
    cursor.endEditBlock();
}

QByteArray EncodeNamedStyles(const QList<NamedStyle>& styles)
{
    QJsonArray list;
    for (const NamedStyle& style : styles)
        list.append(encode(style));
    return QJsonDocument(QJsonObject{{QStringLiteral("styles"), list}}).toJson(QJsonDocument::Compact);
}

QList<NamedStyle> DecodeNamedStyles(QByteArrayView payload)
{
    QList<NamedStyle> styles;
    const QJsonDocument json = QJsonDocument::fromJson(payload.toByteArray());
    for (const QJsonValue entry : json.object().value(QStringLiteral("styles")).toArray()) {
        if (!entry.isObject())
            continue;
        NamedStyle style = decode(entry.toObject());
        if (!style.name.isEmpty() && FindNamedStyle(styles, style.name) < 0)
            styles.append(std::move(style));
    }
    return styles;
}

} // namespace jornix
