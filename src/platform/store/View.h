#pragma once

#include "platform/store/Expression.h"
#include "platform/store/FilteredRows.h"
#include "platform/store/Record.h"
#include "platform/store/StoreStatus.h"

#include <QHash>
#include <QVariantList>

#include <vector>

namespace jornix {

class Statement;
class StepBudget;
class Table;

// Where a row stands in a view's order: the values it is ordered by and its row id, which tells apart rows
// with equal values. A position with row id 0 is before the first row (reading forward) or after the last
// one (reading backward).
struct Position
{
    QVariantList values;
    qint64 rowId = 0;
    bool IsEdge() const { return rowId == 0; }
};

struct ViewRow
{
    Record record;
    Position position;
};

enum class Direction
{
    Forward,
    Backward
};

// A keyed, filtered view of one table, read in pages (keyset paging): each read starts from a position and
// runs one statement to its end, so nothing stays open between reads. A view belongs to the window that made
// it; the table must be open on the running thread.
class View
{
public:
    explicit View(Table& table);

    Table& ViewTable() const { return table_; }

    // Order of a key of the table (records with blank key values first); -1 reads in record order.
    void SetOrder(int key);
    // Order of a sort expression ("+LOG:LogDate, -LOG:LogNum"). An error leaves the order as it was.
    Status SetOrder(const QString& sortExpression);
    int OrderKey() const { return key_; }

    // Names besides the table's fields that the filter and sort may use; bind them before setting those.
    ExpressionNames& Names() { return names_; }
    // An empty text shows every record. An error leaves the filter as it was.
    Status SetFilter(const QString& expression);
    // Keeps only rows whose leading order values lie between low and high, both included (values as the
    // fields store them; a key's texts are folded as the key compares them).
    Status SetRange(const QVariantList& low, const QVariantList& high);
    void ClearRange();
    // Lists only the rows that are public or private to the viewer, by the table's private fields
    // (Table::SetPrivateFields); the viewer's id is read at each read. An empty function lists every row.
    // The rule runs in the SQL, served by the table's indexes that lead with "_private_to".
    void SetPrivateRule(std::function<QVariant()> viewer);
    // Rows read with their BLOB fields (off by default: lists rarely need them).
    void SetReadBlobs(bool read) { readBlobs_ = read; }

    // Reads up to count rows after (Forward) or before (Backward) a position, the position's own row too when
    // includeFrom is set. The rows come in the view's order either way.
    Status Read(const Position& from, Direction direction, int count, std::vector<ViewRow>& rows,
                bool includeFrom = false);
    // The position of a row of the table in this view's order (used to show a record just written).
    Status PositionOf(qint64 rowId, Position& position);
    Status Count(qint64& count);

    // Numbers that change with every change of what the view reads (order, filter, range, rules) and of its
    // order alone, so that a reader knows whether what it holds still fits the view.
    int Generation() const { return generation_; }
    int OrderGeneration() const { return orderGeneration_; }
    // The values that the view's SQL takes now (TODAY(), bound names, the private rule's viewer): a reader
    // that compares them with those of its last read knows whether a value the view names has changed.
    QVariantList CurrentValues() const;

private:
    struct Term
    {
        SqlExpression expression;
        bool descending = false;
        bool folded = false; // its texts are folded as the case-free keys fold them
    };
    struct Query;
    void AddConditions(Query& query, bool withPrivateRule) const;
    // One SELECT of a page: the position's condition, the rule (with its parameters) and the view's own.
    Status PageSql(Query& query, const Position& from, bool backward, bool includeFrom, int count,
                   const QString& rule, const std::vector<SqlParameter>& ruleParameters, QString& sql) const;

    Table& table_;
    int key_ = -1;
    std::vector<Term> terms_; // the order, without the final row id
    ExpressionNames names_;
    SqlExpression filter_;
    QVariantList rangeLow_, rangeHigh_;
    bool readBlobs_ = false;
    std::function<QVariant()> privateViewer_;
    // The rows of a sort-expression order, by row id, read as far as reads have needed them: from the first
    // row on (front) and from the last row back (back), each side read further as pages go further, so that
    // a first screen served by an index costs a page. An order that only a sort of every row gives is read
    // whole at once. Valid while the file, the view and the values it names are as they were.
    struct Keyset
    {
        std::vector<qint64> front, back; // back holds the last row first
        bool whole = false;              // front holds the whole order
        bool sorts = false;              // reading any of the order sorts every listed row
        int plannedGeneration = -1;
        // Places of rows in front and back, filled as rows are looked for.
        QHash<qint64, qsizetype> frontAt, backAt;
        qsizetype frontIndexed = 0, backIndexed = 0;
        // The rows at both ends of the last page: the next read usually starts from one of them.
        struct Hint
        {
            qint64 rowId = 0;
            bool back = false;
            qsizetype at = 0;
        } hints[2];
        bool valid = false;
        quint64 changes = 0;
        int generation = -1;
        QVariantList values;
        static QVariantList Values(const std::vector<SqlParameter>& parameters);
    } keyset_;
    QString KeysetSql(bool fromEnd, bool limited, QVariantList& values) const;
    Status EnsureKeyset();
    Status ExtendKeyset(bool back, qsizetype atLeast);
    bool FindInKeyset(qint64 rowId, bool& back, qsizetype& at);
    ViewRow TakeRow(const Statement& statement) const;
    Status ReadByKeyset(const Position& from, bool backward, int count, std::vector<ViewRow>& rows,
                        bool includeFrom, bool& served);
    // A page of a key's (or the record) order read by SQL: the order's index walked from the position, the
    // filter tested on each row it finds. Under a budget, a walk that goes beyond it stops with no rows.
    Status ReadPage(const Position& from, bool backward, bool includeFrom, int count,
                    std::vector<ViewRow>& rows, StepBudget* budget);
    // A filtered page: walked as above while the filter passes rows often enough, else taken from the rows
    // it passes, read once (through an index of the filter's columns, or in one pass over the table).
    Status ReadFiltered(const Position& from, bool backward, bool includeFrom, int count,
                        std::vector<ViewRow>& rows);
    // With an index budget (> 0): only through an index, within so many steps; read is false otherwise.
    Status ReadFilteredRows(const FilteredRows::Stamp& stamp, qint64 indexBudget, bool& read);
    Status TakeFilteredRows(const Position& from, bool backward, bool includeFrom, int count,
                            std::vector<ViewRow>& rows);
    enum class FilterPlan
    {
        Unknown, // not chosen yet since the view changed
        Walk,
        Rows
    };
    FilterPlan filterPlan_ = FilterPlan::Unknown;
    int filterPlanGeneration_ = -1;
    FilteredRows filtered_;
    Status ReadKeysetRows(const std::vector<qint64>& ids, std::vector<ViewRow>& rows);
    int generation_ = 0;
    int orderGeneration_ = 0;
    void Changed(bool order);
};

} // namespace jornix
