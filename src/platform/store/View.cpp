#include "platform/store/View.h"

#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/StepBudget.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <algorithm>
#include <optional>

namespace jornix {
namespace {

// The work (in VM steps, a few per row visited) that a filtered page may cost in the order's index before
// the rows the filter passes are read instead: about 25 rows visited for each row of the page.
qint64 WalkBudget(int count)
{
    return 2000 + 100 * qint64(count);
}

// The pages of a table's file: what one pass over it reads.
qint64 FilePages(Table& table)
{
    Status status;
    Statement statement = table.File()->Prepare(QStringLiteral("PRAGMA page_count"), status);
    return statement && statement.Step() == SQLITE_ROW ? statement.Int64(0) : 0;
}

// The pages that such a walk may read from the file (and decipher) before it is given up: an eighth of the
// pass over the file that the filter's rows then cost. A page not in the cache costs as much to read at
// random as in a pass, and a walk reads about one for each row it visits.
qint64 WalkPageReads(qint64 filePages)
{
    return std::max<qint64>(64, filePages / 8);
}

// The work that reading the rows a filter passes through an index may cost before the filter counts as one
// that passes too many rows for that (the walk then serves it): about as many rows as the file has pages,
// each read at random, cost as much as a pass over the file.
qint64 IndexBudget(qint64 filePages)
{
    return std::max<qint64>(20000, 20 * filePages);
}

} // namespace

// SQL text with its parameters, built piece by piece in the order the "?" appear.
struct View::Query
{
    QString sql;
    std::vector<SqlParameter> parameters;
    QStringList conditions;

    QString Add(const SqlExpression& expression)
    {
        parameters.insert(parameters.end(), expression.parameters.begin(), expression.parameters.end());
        return expression.sql;
    }
    void BindTo(Statement& statement) const
    {
        for (size_t index = 0; index < parameters.size(); ++index)
            statement.Bind(int(index) + 1, parameters[index].Value());
    }
    QString Add(const QVariant& value)
    {
        parameters.push_back({value, {}});
        return QStringLiteral("?");
    }
};

View::View(Table& table) : table_(table) {}

void View::Changed(bool order)
{
    ++generation_;
    if (order)
        ++orderGeneration_;
}

void View::SetOrder(int key)
{
    Changed(true);
    key_ = key >= 0 && key < table_.KeyCount() ? key : -1;
    terms_.clear();
    if (key_ < 0)
        return;
    for (int component = 0; component < int(table_.Key(key_).components.size()); ++component)
        terms_.push_back({{table_.KeyTermSql(key_, component), {}}, false});
}

Status View::SetOrder(const QString& sortExpression)
{
    std::vector<SqlSortTerm> sorted;
    if (Status status = CompileSort(sortExpression, table_, names_, sorted); !status)
        return status;
    Changed(true);
    key_ = -1;
    terms_.clear();
    for (SqlSortTerm& term : sorted)
        terms_.push_back({std::move(term.expression), term.descending, term.folded});
    return {};
}

Status View::SetFilter(const QString& expression)
{
    SqlExpression filter;
    if (Status status = CompileFilter(expression, table_, names_, filter); !status)
        return status;
    filter_ = std::move(filter);
    Changed(false);
    return {};
}

Status View::SetRange(const QVariantList& low, const QVariantList& high)
{
    if (low.size() != high.size() || low.isEmpty() || low.size() > qsizetype(terms_.size()))
        return Status(
            StoreError::BadExpression,
            QStringLiteral("A range needs as many low as high values, at most one per order term."));
    Changed(false);
    rangeLow_.clear();
    rangeHigh_.clear();
    // Bounds compare as the order's values do: a key's texts and the texts of UPPER terms folded.
    const auto bound = [&](qsizetype index, const QVariant& value) {
        if (key_ >= 0)
            return table_.KeyTermValue(key_, int(index), value);
        if (terms_[size_t(index)].folded && value.typeId() == QMetaType::QString)
            return QVariant(FoldedKeyText(value.toString()));
        return value;
    };
    for (qsizetype index = 0; index < low.size(); ++index) {
        rangeLow_ << bound(index, low[index]);
        rangeHigh_ << bound(index, high[index]);
    }
    return {};
}

void View::ClearRange()
{
    Changed(false);
    rangeLow_.clear();
    rangeHigh_.clear();
}

void View::AddConditions(Query& query, bool withPrivateRule) const
{
    if (withPrivateRule && privateViewer_) {
        query.conditions << QStringLiteral("(%1 IS NULL OR %1 = ?)").arg(Table::PrivateToSql());
        query.parameters.push_back({{}, privateViewer_});
    }
    if (!filter_.sql.isEmpty())
        query.conditions << query.Add(filter_);
    if (!rangeLow_.isEmpty()) {
        auto side = [&](const QVariantList& values, const char* op) {
            QString sql = QStringLiteral("(");
            for (qsizetype index = 0; index < values.size(); ++index) {
                if (index)
                    sql += QStringLiteral(", ");
                sql += query.Add(terms_[index].expression);
            }
            sql += QStringLiteral(") ") + QLatin1String(op) + QStringLiteral(" (");
            for (qsizetype index = 0; index < values.size(); ++index)
                sql += (index ? QStringLiteral(", ") : QString()) + query.Add(values[index]);
            return sql + QLatin1Char(')');
        };
        query.conditions << side(rangeLow_, ">=");
        query.conditions << side(rangeHigh_, "<=");
    }
}

void View::SetPrivateRule(std::function<QVariant()> viewer)
{
    privateViewer_ = table_.HasPrivateFields() ? std::move(viewer) : nullptr;
    Changed(false);
}

Status View::Read(const Position& start, Direction direction, int count, std::vector<ViewRow>& rows,
                  bool includeFrom)
{
    const Position from = start; // start may be a row of the rows about to be replaced
    rows.clear();
    if (Status status = table_.CheckOpen(); !status)
        return status;
    if (count <= 0)
        return {};
    const bool backward = direction == Direction::Backward;
    if (key_ < 0 && !terms_.empty()) {
        // No key covers a sort expression: its order is read once as a keyset, and pages are taken from it.
        bool served = false;
        if (Status status = ReadByKeyset(from, backward, count, rows, includeFrom, served); !status || served)
            return status;
    }
    // A sort expression's order is served by its keyset above; a row it does not hold is placed by SQL.
    if (filter_.sql.isEmpty() || (key_ < 0 && !terms_.empty()))
        return ReadPage(from, backward, includeFrom, count, rows, nullptr);
    return ReadFiltered(from, backward, includeFrom, count, rows);
}

Status View::ReadPage(const Position& from, bool backward, bool includeFrom, int count,
                      std::vector<ViewRow>& rows, StepBudget* budget)
{
    Query query;
    QString sql;
    if (!privateViewer_) {
        if (Status status = PageSql(query, from, backward, includeFrom, count, {}, {}, sql); !status)
            return status;
    } else {
        // Two reads that the indexes leading with "_private_to" serve in the view's order, each at most a
        // page: the public rows and the viewer's own private ones; merged, the first page of both is the
        // page.
        QString visible, own;
        if (Status status = PageSql(query, from, backward, includeFrom, count,
                                    Table::PrivateToSql() + QStringLiteral(" IS NULL"), {}, visible);
            !status)
            return status;
        PageSql(query, from, backward, includeFrom, count, Table::PrivateToSql() + QStringLiteral(" = ?"),
                {SqlParameter{{}, privateViewer_}}, own);
        QStringList order;
        const int firstTerm = table_.FieldCount() + 2; // result columns: fields, rowid, order terms
        for (size_t index = 0; index < terms_.size(); ++index)
            order << QString::number(firstTerm + int(index)) +
                         (terms_[index].descending != backward ? QStringLiteral(" DESC") : QString());
        order << QString::number(table_.FieldCount() + 1) + (backward ? QStringLiteral(" DESC") : QString());
        sql = QStringLiteral("SELECT * FROM (%1) UNION ALL SELECT * FROM (%2) ORDER BY %3 LIMIT ")
                  .arg(visible, own, order.join(QStringLiteral(", "))) +
              query.Add(count);
    }

    Status status;
    Statement statement = table_.File()->Prepare(sql, status);
    if (!statement)
        return status;
    query.BindTo(statement);
    int result;
    while ((result = statement.Step()) == SQLITE_ROW)
        rows.push_back(TakeRow(statement));
    if (budget && budget->Exceeded()) {
        rows.clear();
        return {};
    }
    if (result != SQLITE_DONE) {
        rows.clear();
        return table_.File()->Error(StoreError::Failed, QStringLiteral("The records could not be read"));
    }
    if (backward)
        std::reverse(rows.begin(), rows.end());
    return {};
}

Status View::ReadFiltered(const Position& from, bool backward, bool includeFrom, int count,
                          std::vector<ViewRow>& rows)
{
    if (!from.IsEdge() && from.values.size() != qsizetype(terms_.size()))
        return Status(StoreError::BadExpression,
                      QStringLiteral("The position does not fit the view's order."));
    if (filterPlanGeneration_ != generation_) {
        filterPlan_ = FilterPlan::Unknown;
        filterPlanGeneration_ = generation_;
        filtered_.Clear();
    }
    const FilteredRows::Stamp stamp{table_.ChangeCount(), generation_, CurrentValues()};
    if (!filtered_.Fits(stamp)) {
        const qint64 filePages = FilePages(table_);
        // The plan: first the filter's rows through an index of its columns, when one serves it and
        // they are few; else the order's index walked, while pages come at the cost of their rows; else
        // the filter's rows read in one pass. What was chosen stays until the view changes.
        bool read = false;
        if (filterPlan_ == FilterPlan::Unknown) {
            if (Status status = ReadFilteredRows(stamp, IndexBudget(filePages), read); !status)
                return status;
            if (read)
                filterPlan_ = FilterPlan::Rows;
        }
        if (!read && filterPlan_ != FilterPlan::Rows) {
            StepBudget budget(WalkBudget(count));
            budget.LimitPageReads(table_.File()->Handle(), WalkPageReads(filePages));
            const Status status = ReadPage(from, backward, includeFrom, count, rows, &budget);
            if (!status || !budget.Exceeded()) {
                if (status)
                    filterPlan_ = FilterPlan::Walk;
                return status;
            }
            filterPlan_ = FilterPlan::Rows;
        }
        if (!read) {
            if (Status status = ReadFilteredRows(stamp, 0, read); !status)
                return status;
        }
    }
    return TakeFilteredRows(from, backward, includeFrom, count, rows);
}

Status View::ReadFilteredRows(const FilteredRows::Stamp& stamp, qint64 indexBudget, bool& read)
{
    read = false;
    filtered_.Clear();
    // The order's terms behind a "+", so that no index is chosen for the order: the planner then takes an
    // index of the filter's columns where one serves it, or passes over the table once, and sorts what the
    // filter passes.
    Query query;
    QStringList selected{QStringLiteral("rowid")};
    for (const Term& term : terms_)
        selected << query.Add(term.expression);
    AddConditions(query, true);
    QStringList order;
    for (const Term& term : terms_)
        order << QStringLiteral("+(%1)").arg(query.Add(term.expression));
    order << QStringLiteral("+rowid");
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QStringLiteral(", ")), table_.TableSql());
    if (!query.conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + query.conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));

    Status status;
    Statement statement = table_.File()->Prepare(sql, status);
    if (!statement)
        return status;
    query.BindTo(statement);
    std::optional<StepBudget> budget;
    if (indexBudget > 0) {
        budget.emplace(indexBudget);
        sqlite3_stmt_status(statement.Handle(), SQLITE_STMTSTATUS_FULLSCAN_STEP, 1);
        budget->RefuseFullScan(statement.Handle());
    }
    filtered_.Start(stamp, int(terms_.size()));
    int result;
    QVariantList values;
    while ((result = statement.Step()) == SQLITE_ROW) {
        values.clear();
        for (size_t index = 0; index < terms_.size(); ++index)
            values << statement.Column(1 + int(index));
        filtered_.Add(statement.Int64(0), values);
    }
    if (budget && budget->Exceeded()) {
        filtered_.Clear();
        return {};
    }
    if (result != SQLITE_DONE) {
        filtered_.Clear();
        return table_.File()->Error(StoreError::Failed, QStringLiteral("The records could not be read"));
    }
    filtered_.Finish();
    read = true;
    return {};
}

Status View::TakeFilteredRows(const Position& from, bool backward, bool includeFrom, int count,
                              std::vector<ViewRow>& rows)
{
    qsizetype first = 0, last = 0;
    filtered_.Span(from, backward, includeFrom, count, first, last);
    Query query;
    QStringList selected{table_.SelectListSql(readBlobs_)};
    for (const Term& term : terms_)
        selected << query.Add(term.expression);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ")
                            .arg(selected.join(QStringLiteral(", ")), table_.TableSql()) +
                        query.Add(QVariant(qint64(0)));
    for (qsizetype index = first; index < last; ++index) {
        Status status;
        Statement statement = table_.File()->Prepare(sql, status);
        if (!statement)
            return status;
        query.parameters.back().value = filtered_.RowId(index);
        query.BindTo(statement);
        const int result = statement.Step();
        if (result == SQLITE_ROW)
            rows.push_back(TakeRow(statement));
        else if (result != SQLITE_DONE) {
            rows.clear();
            return table_.File()->Error(StoreError::Failed, QStringLiteral("The records could not be read"));
        }
    }
    return {};
}

QVariantList View::CurrentValues() const
{
    Query query;
    AddConditions(query, true);
    for (const Term& term : terms_)
        query.Add(term.expression);
    return Keyset::Values(query.parameters);
}

ViewRow View::TakeRow(const Statement& statement) const
{
    // The columns: the fields, the row id, the order terms.
    ViewRow row{Record(table_), {}};
    table_.ReadRow(statement.Handle(), row.record, readBlobs_);
    row.position.rowId = statement.Int64(table_.FieldCount());
    for (size_t index = 0; index < terms_.size(); ++index)
        row.position.values << statement.Column(table_.FieldCount() + 1 + int(index));
    return row;
}

QVariantList View::Keyset::Values(const std::vector<SqlParameter>& parameters)
{
    QVariantList values;
    for (const SqlParameter& parameter : parameters)
        values << parameter.Value();
    return values;
}

QString View::KeysetSql(bool fromEnd, bool limited, QVariantList& values) const
{
    // The order of every listed row, by row id: from its first row, or from its last row back.
    Query query;
    AddConditions(query, true);
    QStringList order;
    for (const Term& term : terms_)
        order << query.Add(term.expression) +
                     (term.descending != fromEnd ? QStringLiteral(" DESC") : QString());
    order << (fromEnd ? QStringLiteral("rowid DESC") : QStringLiteral("rowid"));
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(table_.TableSql());
    if (!query.conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + query.conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    if (limited)
        sql += QStringLiteral(" LIMIT ? OFFSET ?");
    values = Keyset::Values(query.parameters);
    return sql;
}

Status View::EnsureKeyset()
{
    // Read again when the file, the view or a value it names (TODAY(), a bound name) has changed since.
    QVariantList values;
    const QString sql = KeysetSql(false, false, values);
    const quint64 changes = table_.ChangeCount();
    if (keyset_.valid && keyset_.changes == changes && keyset_.generation == generation_ &&
        keyset_.values == values)
        return {};
    const bool sorts = keyset_.sorts;
    const int planned = keyset_.plannedGeneration;
    keyset_ = {};
    keyset_.changes = changes;
    keyset_.generation = generation_;
    keyset_.values = values;
    keyset_.sorts = sorts;
    keyset_.plannedGeneration = planned;
    if (keyset_.plannedGeneration != generation_) {
        // Whether an index gives the order (its rows come in order, groups of equal leading values sorted
        // at most) or every listed row must be sorted before the first comes out.
        Status status;
        Statement plan = table_.File()->Prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, status);
        if (!plan)
            return status;
        for (qsizetype index = 0; index < values.size(); ++index)
            plan.Bind(int(index) + 1, values[index]);
        keyset_.sorts = false;
        int result;
        while ((result = plan.Step()) == SQLITE_ROW)
            keyset_.sorts = keyset_.sorts ||
                            plan.Column(3).toString().contains(QLatin1String("TEMP B-TREE FOR ORDER BY"));
        if (result != SQLITE_DONE)
            return table_.File()->Error(StoreError::Failed, QStringLiteral("The order could not be read"));
        keyset_.plannedGeneration = generation_;
    }
    keyset_.valid = true;
    return {};
}

Status View::ExtendKeyset(bool back, qsizetype atLeast)
{
    std::vector<qint64>& side = back ? keyset_.back : keyset_.front;
    // An order that must be sorted costs the same for a page as for all of it: it is read whole.
    constexpr qsizetype FirstRead = 128;
    const bool limited = !keyset_.sorts;
    const qsizetype have = qsizetype(side.size());
    const qsizetype wanted = std::max({atLeast, 2 * have, FirstRead}) - have;
    QVariantList values;
    const QString sql = KeysetSql(back, limited, values);
    Status status;
    Statement statement =
        limited ? table_.File()->Prepare(sql, status) : table_.File()->PrepareOwned(sql, status);
    if (!statement)
        return status;
    for (qsizetype index = 0; index < values.size(); ++index)
        statement.Bind(int(index) + 1, values[index]);
    if (limited) {
        statement.Bind(int(values.size()) + 1, qint64(wanted));
        statement.Bind(int(values.size()) + 2, qint64(have));
    }
    int result;
    qsizetype read = 0;
    while ((result = statement.Step()) == SQLITE_ROW) {
        side.push_back(statement.Int64(0));
        ++read;
    }
    if (result != SQLITE_DONE) {
        keyset_ = {};
        return table_.File()->Error(StoreError::Failed, QStringLiteral("The order could not be read"));
    }
    statement.Reset();
    if (limited && table_.ChangeCount() != keyset_.changes) {
        // Another copy of the program wrote between two reads of the order: it is read again.
        keyset_.valid = false;
        return {};
    }
    if (!limited || read < wanted) {
        // This side has reached the other end of the order: it holds all of it.
        if (back) {
            keyset_.front.assign(keyset_.back.rbegin(), keyset_.back.rend());
            keyset_.frontAt.clear();
            keyset_.frontIndexed = 0;
        }
        keyset_.back.clear();
        keyset_.backAt.clear();
        keyset_.backIndexed = 0;
        keyset_.whole = true;
        for (Keyset::Hint& hint : keyset_.hints)
            hint = {};
    }
    return {};
}

bool View::FindInKeyset(qint64 rowId, bool& back, qsizetype& at)
{
    for (const Keyset::Hint& hint : keyset_.hints) {
        const std::vector<qint64>& side = hint.back ? keyset_.back : keyset_.front;
        if (hint.rowId == rowId && hint.at < qsizetype(side.size()) && side[size_t(hint.at)] == rowId) {
            back = hint.back;
            at = hint.at;
            return true;
        }
    }
    // Rows are entered in the places' table as far as the search goes, so each row is entered once.
    const auto search = [rowId](const std::vector<qint64>& side, QHash<qint64, qsizetype>& places,
                                qsizetype& indexed, qsizetype& found) {
        if (const auto place = places.constFind(rowId); place != places.constEnd()) {
            found = place.value();
            return true;
        }
        while (indexed < qsizetype(side.size())) {
            const qint64 row = side[size_t(indexed)];
            places.insert(row, indexed);
            if (row == rowId) {
                found = indexed++;
                return true;
            }
            ++indexed;
        }
        return false;
    };
    if (search(keyset_.front, keyset_.frontAt, keyset_.frontIndexed, at)) {
        back = false;
        return true;
    }
    if (search(keyset_.back, keyset_.backAt, keyset_.backIndexed, at)) {
        back = true;
        return true;
    }
    return false;
}

Status View::ReadByKeyset(const Position& from, bool backward, int count, std::vector<ViewRow>& rows,
                          bool includeFrom, bool& served)
{
    served = false;
    std::vector<qint64> ids; // the page's rows in the view's order
    // Takes the page from what the keyset holds; false when more of the order must be read first (which
    // side and how far in need) or, with missing set, when the order does not hold the row at all.
    bool needBack = false, missing = false;
    qsizetype needTo = 0;
    const auto take = [&]() -> bool {
        const std::vector<qint64>& front = keyset_.front;
        const std::vector<qint64>& back = keyset_.back;
        const qsizetype frontSize = qsizetype(front.size()), backSize = qsizetype(back.size());
        const auto fromFront = [&](qsizetype first, qsizetype last) {
            for (qsizetype index = std::max(qsizetype(0), first); index < std::min(last, frontSize); ++index)
                ids.push_back(front[size_t(index)]);
        };
        // Rows of back from index `first` on, in the view's order: back holds them last first.
        const auto fromBack = [&](qsizetype first, qsizetype last) {
            for (qsizetype index = std::min(last, backSize) - 1; index >= std::max(qsizetype(0), first);
                 --index)
                ids.push_back(back[size_t(index)]);
        };
        if (from.IsEdge()) {
            if (!backward) {
                if (frontSize < count && !keyset_.whole) {
                    needBack = false, needTo = count;
                    return false;
                }
                fromFront(0, count);
            } else if (keyset_.whole) {
                fromFront(frontSize - count, frontSize);
            } else {
                if (backSize < count) {
                    needBack = true, needTo = count;
                    return false;
                }
                fromBack(0, count);
            }
            return true;
        }
        bool inBack = false;
        qsizetype at = 0;
        if (!FindInKeyset(from.rowId, inBack, at)) {
            if (keyset_.whole) {
                missing = true; // a row the order does not hold: the SQL read finds its place
                return false;
            }
            needBack = false, needTo = frontSize + 1;
            return false;
        }
        if (!inBack) {
            if (!backward) {
                const qsizetype first = includeFrom ? at : at + 1;
                if (frontSize < first + count && !keyset_.whole) {
                    needBack = false, needTo = first + count;
                    return false;
                }
                fromFront(first, first + count);
            } else {
                const qsizetype last = includeFrom ? at + 1 : at;
                fromFront(last - count, last);
            }
        } else {
            if (!backward) {
                const qsizetype last = includeFrom ? at + 1 : at; // the rows after it lie before it in back
                fromBack(last - count, last);
            } else {
                const qsizetype first = includeFrom ? at : at + 1;
                if (backSize < first + count) {
                    needBack = true, needTo = first + count;
                    return false;
                }
                fromBack(first, first + count);
            }
        }
        return true;
    };

    // A write by another copy of the program between two reads of the order makes it read again; after a
    // few such turns the SQL read takes over.
    for (int restarts = 0;;) {
        if (!keyset_.valid && keyset_.generation == generation_ && ++restarts > 3)
            return {};
        if (Status status = EnsureKeyset(); !status)
            return status;
        ids.clear();
        missing = false;
        if (take())
            break;
        if (missing)
            return {};
        if (Status status = ExtendKeyset(needBack, needTo); !status)
            return status;
    }
    if (Status status = ReadKeysetRows(ids, rows); !status)
        return status;
    // The next read usually starts from an end of this page.
    if (!ids.empty()) {
        std::size_t hint = 0;
        for (const qint64 rowId : {ids.front(), ids.back()}) {
            bool inBack = false;
            qsizetype at = 0;
            if (FindInKeyset(rowId, inBack, at))
                keyset_.hints[hint] = {rowId, inBack, at};
            ++hint;
        }
    }
    served = true;
    return {};
}

Status View::ReadKeysetRows(const std::vector<qint64>& ids, std::vector<ViewRow>& rows)
{
    // One statement per page of up to MostPlaces rows. The row ids come in places of a power of two (unused
    // ones NULL), so that a few statement texts serve pages of every size.
    constexpr int MostPlaces = 256;
    for (size_t done = 0; done < ids.size();) {
        const int taken = int(std::min(ids.size() - done, size_t(MostPlaces)));
        int places = 1;
        while (places < taken)
            places *= 2;
        Query query;
        QStringList selected{table_.SelectListSql(readBlobs_)};
        for (const Term& term : terms_)
            selected << query.Add(term.expression);
        QStringList marks;
        QHash<qint64, int> place;
        for (int index = 0; index < places; ++index) {
            if (index < taken) {
                marks << query.Add(QVariant(ids[done + size_t(index)]));
                place.insert(ids[done + size_t(index)], index);
            } else {
                marks << query.Add(QVariant());
            }
        }
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)")
                                .arg(selected.join(QStringLiteral(", ")), table_.TableSql(),
                                     marks.join(QStringLiteral(", ")));
        Status status;
        Statement statement = table_.File()->Prepare(sql, status);
        if (!statement)
            return status;
        query.BindTo(statement);
        std::vector<std::optional<ViewRow>> placed;
        placed.resize(size_t(taken));
        int result;
        while ((result = statement.Step()) == SQLITE_ROW) {
            ViewRow row = TakeRow(statement);
            placed[size_t(place.value(row.position.rowId))] = std::move(row);
        }
        if (result != SQLITE_DONE) {
            rows.clear();
            return table_.File()->Error(StoreError::Failed, QStringLiteral("The records could not be read"));
        }
        for (std::optional<ViewRow>& row : placed) {
            if (row) // else gone since the keyset was read
                rows.push_back(std::move(*row));
        }
        done += size_t(taken);
    }
    return {};
}

Status View::PageSql(Query& query, const Position& from, bool backward, bool includeFrom, int count,
                     const QString& rule, const std::vector<SqlParameter>& ruleParameters, QString& sql) const
{
    QStringList selected{table_.SelectListSql(readBlobs_)};
    for (const Term& term : terms_)
        selected << query.Add(term.expression);

    // The position's condition comes first: the planner then starts the key's index at the position rather
    // than at a bound of the filter, so that a page costs the same deep in the order as at its start.
    if (!from.IsEdge()) {
        if (from.values.size() != qsizetype(terms_.size()))
            return Status(StoreError::BadExpression,
                          QStringLiteral("The position does not fit the view's order."));
        const bool allAscending =
            std::none_of(terms_.begin(), terms_.end(), [](const Term& term) { return term.descending; });
        if (allAscending) {
            // One row-value comparison, which the key's index serves.
            QStringList left, right;
            for (const Term& term : terms_)
                left << query.Add(term.expression);
            left << QStringLiteral("rowid");
            for (const QVariant& value : from.values)
                right << query.Add(value);
            right << query.Add(from.rowId);
            const QString op = backward ? (includeFrom ? QStringLiteral("<=") : QStringLiteral("<"))
                                        : (includeFrom ? QStringLiteral(">=") : QStringLiteral(">"));
            query.conditions << QStringLiteral("(%1) %2 (%3)")
                                    .arg(left.join(QStringLiteral(", ")), op,
                                         right.join(QStringLiteral(", ")));
        } else {
            // Mixed directions: after the position means beyond it in the first term that differs.
            QStringList alternatives;
            for (size_t depth = 0; depth <= terms_.size(); ++depth) {
                QStringList parts;
                // Each term before its value: parameters follow the order of the "?" in the text.
                auto compare = [&](size_t index, const QString& op) {
                    const QString term = query.Add(terms_[index].expression);
                    return term + op + query.Add(from.values[index]);
                };
                for (size_t index = 0; index < depth; ++index)
                    parts << compare(index, QStringLiteral(" = "));
                if (depth < terms_.size()) {
                    const bool greater = terms_[depth].descending == backward;
                    parts << compare(depth, greater ? QStringLiteral(" > ") : QStringLiteral(" < "));
                } else {
                    const QString op = backward ? (includeFrom ? QStringLiteral("<=") : QStringLiteral("<"))
                                                : (includeFrom ? QStringLiteral(">=") : QStringLiteral(">"));
                    parts << QStringLiteral("rowid ") + op + QLatin1Char(' ') + query.Add(from.rowId);
                }
                alternatives << QLatin1Char('(') + parts.join(QStringLiteral(" AND ")) + QLatin1Char(')');
            }
            query.conditions << QLatin1Char('(') + alternatives.join(QStringLiteral(" OR ")) +
                                    QLatin1Char(')');
        }
    }
    if (!rule.isEmpty()) {
        query.conditions << rule;
        query.parameters.insert(query.parameters.end(), ruleParameters.begin(), ruleParameters.end());
    }
    AddConditions(query, false);

    QStringList order;
    for (const Term& term : terms_) {
        const bool descending = term.descending != backward;
        order << query.Add(term.expression) + (descending ? QStringLiteral(" DESC") : QString());
    }
    order << (backward ? QStringLiteral("rowid DESC") : QStringLiteral("rowid"));
    sql = QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QStringLiteral(", ")), table_.TableSql());
    if (!query.conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + query.conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", ")) + QStringLiteral(" LIMIT ") +
           query.Add(count);
    query.conditions.clear();
    return {};
}

Status View::PositionOf(qint64 rowId, Position& position)
{
    position = {};
    if (Status status = table_.CheckOpen(); !status)
        return status;
    Query query;
    QStringList selected{QStringLiteral("rowid")};
    for (const Term& term : terms_)
        selected << query.Add(term.expression);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ")
                            .arg(selected.join(QStringLiteral(", ")), table_.TableSql()) +
                        query.Add(rowId);
    Status status;
    Statement statement = table_.File()->Prepare(sql, status);
    if (!statement)
        return status;
    query.BindTo(statement);
    const int result = statement.Step();
    if (result == SQLITE_DONE)
        return Status(StoreError::NotFound, QStringLiteral("The record no longer exists."),
                      table_.FilePath());
    if (result != SQLITE_ROW)
        return table_.File()->Error(StoreError::Failed, QStringLiteral("The record could not be read"));
    position.rowId = rowId;
    for (size_t index = 0; index < terms_.size(); ++index)
        position.values << statement.Column(1 + int(index));
    return {};
}

Status View::Count(qint64& count)
{
    count = 0;
    if (Status status = table_.CheckOpen(); !status)
        return status;
    Query query;
    AddConditions(query, true);
    QString sql = QStringLiteral("SELECT count(*) FROM %1").arg(table_.TableSql());
    if (!query.conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + query.conditions.join(QStringLiteral(" AND "));
    Status status;
    Statement statement = table_.File()->Prepare(sql, status);
    if (!statement)
        return status;
    query.BindTo(statement);
    if (statement.Step() != SQLITE_ROW)
        return table_.File()->Error(StoreError::Failed, QStringLiteral("The records could not be counted"));
    count = statement.Int64(0);
    return {};
}

} // namespace jornix
