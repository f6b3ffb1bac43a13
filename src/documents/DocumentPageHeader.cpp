#include "documents/DocumentPageHeader.h"

#include <QtEndian>

namespace jornix {

QByteArray DocumentPageHeader::ToBytes() const
{
    QByteArray bytes(Size, '\0');
    char* out = bytes.data();
    for (qint32 value : {LVERSION, LLEFTMARGIN, LTOPMARGIN, LRIGHTMARGIN, LBOTTOMMARGIN, LHEIGHT, LWIDTH}) {
        qToLittleEndian(value, out);
        out += 4;
    }
    qToLittleEndian(NPAPERSIZE, out);
    return bytes;
}

DocumentPageHeader DocumentPageHeader::FromBytes(const char* bytes)
{
    DocumentPageHeader header;
    qint32* fields[] = {&header.LVERSION,      &header.LLEFTMARGIN, &header.LTOPMARGIN, &header.LRIGHTMARGIN,
                        &header.LBOTTOMMARGIN, &header.LHEIGHT,     &header.LWIDTH};
    for (qint32* field : fields) {
        *field = qFromLittleEndian<qint32>(bytes);
        bytes += 4;
    }
    header.NPAPERSIZE = qFromLittleEndian<qint16>(bytes);
    return header;
}

} // namespace jornix
