#pragma once

#include <QByteArray>
#include <QDataStream>

#include <optional>

// The payload of an own-format section that holds records of one size: a 32-bit count, then the records, all
// little-endian.
namespace jornix {

// Sets the stream over the bytes to little-endian and reads the count; nothing when the bytes are not exactly
// that many records of the size.
inline std::optional<quint32> ReadRecordCount(QDataStream& in, const QByteArray& bytes, qsizetype recordSize)
{
    if (bytes.size() < 4 || (bytes.size() - 4) % recordSize != 0)
        return std::nullopt;
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 count = 0;
    in >> count;
    if (qsizetype(count) != (bytes.size() - 4) / recordSize)
        return std::nullopt;
    return count;
}

} // namespace jornix
