#pragma once

#include <QString>

namespace jornix {

// The text without its trailing blanks, as fixed-width fields are read back.
inline QString ClippedText(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace jornix
