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
    Rtf = 5,       // Rtf.h
    Word = 9,      // saved only: RTF converted by LibreOffice (WordConverter.h)
    Pdf = 12,      // saved only: the pages as PagePainter draws them
};
}

// The formats the control saves; it loads them all but Word and PDF.
bool IsSupportedTextFormat(int format);
bool IsLoadableTextFormat(int format);
// "Format 2 is not supported." for a format that IsSupportedTextFormat refuses; "Format 12 (PDF) cannot be
// loaded." and the like for one that IsLoadableTextFormat refuses.
QString UnsupportedTextFormatMessage(int format);

} // namespace jornix
