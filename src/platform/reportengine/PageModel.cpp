#include "platform/reportengine/PageModel.h"

namespace jornix {

namespace {

void Write(QDataStream& stream, const TextStyle& style)
{
    stream << style.fontFamily << style.pointSize << style.bold << style.italic << style.underline
           << style.colour << qint8(style.alignment);
}

void Read(QDataStream& stream, TextStyle& style)
{
    qint8 alignment = 0;
    stream >> style.fontFamily >> style.pointSize >> style.bold >> style.italic >> style.underline >>
        style.colour >> alignment;
    style.alignment = TextAlignment(alignment);
}

} // namespace

bool IsRecordedPicture(const QByteArray& data)
{
    return data.startsWith("QPIC");
}

QDataStream& operator<<(QDataStream& stream, const Page& page)
{
    stream << qint32(page.number) << page.paper << quint32(page.primitives.size());
    for (const PagePrimitive& primitive : page.primitives) {
        stream << quint8(primitive.kind) << primitive.frame << primitive.text;
        Write(stream, primitive.style);
        stream << primitive.wrap << primitive.pen << primitive.penWidth << primitive.fill << primitive.data
               << primitive.keepAspectRatio << primitive.symbology << primitive.showText << primitive.formulas
               << primitive.itemNames << primitive.itemValues << primitive.itemTypes;
    }
    return stream;
}

QDataStream& operator>>(QDataStream& stream, Page& page)
{
    qint32 number = 0;
    quint32 count = 0;
    stream >> number >> page.paper >> count;
    page.number = number;
    page.primitives.clear();
    // The spool is our own file, but a short read must not make a huge allocation.
    page.primitives.reserve(std::min<quint32>(count, 4096));
    for (quint32 at = 0; at < count && stream.status() == QDataStream::Ok; ++at) {
        PagePrimitive primitive;
        quint8 kind = 0;
        stream >> kind >> primitive.frame >> primitive.text;
        primitive.kind = PrimitiveKind(kind);
        Read(stream, primitive.style);
        stream >> primitive.wrap >> primitive.pen >> primitive.penWidth >> primitive.fill >> primitive.data >>
            primitive.keepAspectRatio >> primitive.symbology >> primitive.showText >> primitive.formulas >>
            primitive.itemNames >> primitive.itemValues >> primitive.itemTypes;
        page.primitives.push_back(std::move(primitive));
    }
    return stream;
}

} // namespace jornix
