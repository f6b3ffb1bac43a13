#pragma once

#include <QByteArrayView>
#include <QString>

// Windows code pages, as RTF names them, decoded through ICU's converters.
namespace jornix {

// The text of bytes in the code page; an unknown code page reads as 1252. Bytes that have no character in
// the code page become U+FFFD.
QString DecodeCodePage(int codePage, QByteArrayView bytes);

// The code page of an RTF font character set (\fcharset); 0 for the document's own code page.
int CodePageOfCharset(int charset);

} // namespace jornix
