#pragma once

#include <QString>

// The document formats of the rich-text control, numbered as its Load and Save calls number them.
namespace jornix {

namespace TextFormat {
enum : int
{
    PlainText = 1, // UTF-8; every paragraph ends with "\n"
    OwnFormat = 3, // the control's own container (OwnFormat.h)
    Html = 4,      // Qt rich-text HTML, UTF-8
    Rtf = 5,       // not yet supported
    Word = 9,      // not yet supported
    Pdf = 12,      // not yet supported
};
}

bool IsSupportedTextFormat(int format);
// "Format 5 (RTF) is not supported." and the like; for any format that IsSupportedTextFormat refuses.
QString UnsupportedTextFormatMessage(int format);

} // namespace jornix
