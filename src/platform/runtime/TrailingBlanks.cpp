#include "platform/runtime/TrailingBlanks.h"

namespace jornix {

QStringView StripTrailingBlanks(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString StripTrailingBlanks(const QString& text)
{
    const qsizetype end = StripTrailingBlanks(QStringView(text)).size();
    return end == text.size() ? text : text.left(end);
}

} // namespace jornix
