#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace jornix {

// The 30-byte page header in front of a stored document: packed, little-endian, page values in twips.
// The height comes before the width.
struct DocumentPageHeader
{
    static constexpr int Size = 30;
    static constexpr qint32 Mark = 23; // LVERSION of every header

    qint32 LVERSION = 0;
    qint32 LLEFTMARGIN = 0;
    qint32 LTOPMARGIN = 0;
    qint32 LRIGHTMARGIN = 0;
    qint32 LBOTTOMMARGIN = 0;
    qint32 LHEIGHT = 0;
    qint32 LWIDTH = 0;
    qint16 NPAPERSIZE = 0; // always written 0; nothing reads it

    QByteArray ToBytes() const;
    // Reads the first Size bytes; the caller makes sure there are that many.
    static DocumentPageHeader FromBytes(const char* bytes);
};

} // namespace jornix
