#include "platform/richtext/TypingFont.h"

#include <QTextCursor>

namespace jornix {

QTextCharFormat TypingFont(const QTextCursor& caret)
{
    QTextCharFormat font;
    const QMap<int, QVariant> properties = caret.charFormat().properties();
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        const int property = it.key();
        // The background is left out: on a cell it would colour the whole cell.
        if ((property >= QTextFormat::FirstFontProperty && property <= QTextFormat::LastFontProperty) ||
            property == QTextFormat::ForegroundBrush || property == QTextFormat::TextUnderlineColor ||
            property == QTextFormat::TextVerticalAlignment || property == QTextFormat::TextOutline ||
            property == QTextFormat::TextUnderlineStyle)
            font.setProperty(property, it.value());
    }
    return font;
}

} // namespace jornix
