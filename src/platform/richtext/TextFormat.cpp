#include "platform/richtext/TextFormat.h"

namespace jornix {

bool IsSupportedTextFormat(int format)
{
    return format == TextFormat::PlainText || format == TextFormat::OwnFormat || format == TextFormat::Html;
}

QString UnsupportedTextFormatMessage(int format)
{
    QString name;
    switch (format) {
    case TextFormat::Rtf:
        name = QStringLiteral(" (RTF)");
        break;
    case TextFormat::Word:
        name = QStringLiteral(" (Word)");
        break;
    case TextFormat::Pdf:
        name = QStringLiteral(" (PDF)");
        break;
    default:
        break;
    }
    return QStringLiteral("Format %1%2 is not supported.").arg(format).arg(name);
}

} // namespace jornix
