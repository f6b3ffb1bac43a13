#pragma once

#include <QVariantList>

#include <vector>

namespace jornix {

struct Position;

// The rows that a view's filter passes, in the view's order (ascending values, then row id), read once by a
// filter that no page can find cheaply in the order's index: a page is then taken from them. They fit the
// view while the file, the view and the values its SQL names are as they were when they were read.
class FilteredRows
{
public:
    struct Stamp
    {
        quint64 changes = 0;
        int generation = -1;
        QVariantList values;
        bool operator==(const Stamp&) const = default;
    };

    void Start(const Stamp& stamp, int terms);
    void Add(qint64 rowId, const QVariantList& values); // in order
    void Finish() { valid_ = true; }
    void Clear();
    bool Fits(const Stamp& stamp) const { return valid_ && stamp_ == stamp; }

    qsizetype Size() const { return qsizetype(rowIds_.size()); }
    qint64 RowId(qsizetype index) const { return rowIds_[size_t(index)]; }
    // The rows [first, last) that a read of count rows from a position takes, as View::Read reads them.
    void Span(const Position& from, bool backward, bool includeFrom, int count, qsizetype& first,
              qsizetype& last) const;

private:
    // The first row at or after (orAfter: after) the position in the order.
    qsizetype Bound(const QVariantList& values, qint64 rowId, bool orAfter) const;
    int CompareRow(qsizetype index, const QVariantList& values, qint64 rowId) const;

    Stamp stamp_;
    bool valid_ = false;
    int terms_ = 0;
    std::vector<qint64> rowIds_;
    std::vector<QVariant> values_; // terms_ per row; texts as UTF-8, compared as SQLite compares them
};

} // namespace jornix
