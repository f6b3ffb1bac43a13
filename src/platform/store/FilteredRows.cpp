#include "platform/store/FilteredRows.h"

#include "platform/store/View.h"

#include <algorithm>
#include <cstring>

namespace jornix {
namespace {

// SQLite's order of the values a key holds: NULL, then numbers by value, then texts byte by byte (UTF-8,
// the BINARY collation of the indexes).
int Class(const QVariant& value)
{
    if (value.isNull())
        return 0;
    return value.typeId() == QMetaType::QByteArray ? 2 : 1;
}

QVariant Comparable(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return QVariant(value.toString().toUtf8());
    return value;
}

int Compare(const QVariant& a, const QVariant& b)
{
    const int classA = Class(a), classB = Class(b);
    if (classA != classB)
        return classA < classB ? -1 : 1;
    if (classA == 0)
        return 0;
    if (classA == 2) {
        const QByteArray x = a.toByteArray(), y = b.toByteArray();
        const int common = std::memcmp(x.constData(), y.constData(), size_t(std::min(x.size(), y.size())));
        if (common != 0)
            return common < 0 ? -1 : 1;
        return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    }
    const bool whole = a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double;
    if (whole) {
        const qint64 x = a.toLongLong(), y = b.toLongLong();
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    const double x = a.toDouble(), y = b.toDouble();
    return x == y ? 0 : (x < y ? -1 : 1);
}

} // namespace

void FilteredRows::Start(const Stamp& stamp, int terms)
{
    Clear();
    stamp_ = stamp;
    terms_ = terms;
}

void FilteredRows::Add(qint64 rowId, const QVariantList& values)
{
    rowIds_.push_back(rowId);
    for (const QVariant& value : values)
        values_.push_back(Comparable(value));
}

void FilteredRows::Clear()
{
    valid_ = false;
    stamp_ = {};
    rowIds_.clear();
    values_.clear();
}

int FilteredRows::CompareRow(qsizetype index, const QVariantList& values, qint64 rowId) const
{
    for (int term = 0; term < terms_; ++term) {
        if (const int order = Compare(values_[size_t(index) * size_t(terms_) + size_t(term)], values[term]))
            return order;
    }
    const qint64 own = rowIds_[size_t(index)];
    return own == rowId ? 0 : (own < rowId ? -1 : 1);
}

qsizetype FilteredRows::Bound(const QVariantList& values, qint64 rowId, bool orAfter) const
{
    qsizetype low = 0, high = Size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        const int order = CompareRow(middle, values, rowId);
        if (order < 0 || (orAfter && order == 0))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void FilteredRows::Span(const Position& from, bool backward, bool includeFrom, int count, qsizetype& first,
                        qsizetype& last) const
{
    QVariantList values;
    for (const QVariant& value : from.values)
        values << Comparable(value);
    if (!backward) {
        first = from.IsEdge() ? 0 : Bound(values, from.rowId, !includeFrom);
        last = std::min(Size(), first + count);
    } else {
        last = from.IsEdge() ? Size() : Bound(values, from.rowId, includeFrom);
        first = std::max(qsizetype(0), last - count);
    }
}

} // namespace jornix
