#include "platform/store/TextValues.h"

namespace jornix {

QString CutToWidth(const QString& text, int width)
{
    if (width < 0 || text.size() <= width)
        return text;
    qsizetype end = width;
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end);
}

QString FoldedKeyText(const QString& text)
{
    return StripTrailingBlanks(text.toCaseFolded());
}

} // namespace jornix
