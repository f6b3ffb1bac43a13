#include "platform/richtext/TextFormat.h"

namespace jornix {

bool IsSupportedTextFormat(int format)
{
    return IsLoadableTextFormat(format) || format == TextFormat::Word || format == TextFormat::Pdf;
}

bool IsLoadableTextFormat(int format)
{
    return format == TextFormat::PlainText || format == TextFormat::OwnFormat || format == TextFormat::Html ||
           format == TextFormat::Rtf;
}

QString UnsupportedTextFormatMessage(int format)
{
    QString name;
    switch (format) {
    case TextFormat::Word:
        name = QStringLiteral(" (Word)");
        break;
    case TextFormat::Pdf:
        name = QStringLiteral(" (PDF)");
        break;
    default:
        break;
    }
    if (IsSupportedTextFormat(format))
        return QStringLiteral("Format %1%2 cannot be loaded.").arg(format).arg(name);
    return QStringLiteral("Format %1%2 is not supported.").arg(format).arg(name);
}

} // namespace jornix
