#pragma once

#include "platform/store/StoreStatus.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

// Filter and sort expressions over one table, as windows and reports build them:
//   LOG:LogType = 1 AND LOG:LogDate >= 80000
//   (REM:ShowReminder = 1 AND REM:Dismiss = 0 AND REM:ReminderDate <= TODAY())
//   +LOG:LogDate, -UPPER(LOG:LogDescription)
// Comparisons = <> < > <= >=, AND, OR, NOT (also written ~ in front of a condition), a ~ b (a contains b,
// without regard to case), parentheses, numbers, texts in single quotes (a quote doubled inside), field names
// with the table's prefix, UPPER, CLIP, INSTRING(part, text [, 1 [, start]]), TODAY() and names bound by the
// caller. An expression is parsed into a tree (ExpressionTree.h) and turned into SQL whose values are all
// bound parameters; only the table's own columns are ever named in the SQL. The same tree is read in memory
// by ExpressionEvaluator.h with the same results.
namespace jornix {

class Table;

// Values that expressions may name besides the table's fields (texts a list computes per row, a memo under
// another name ...). A bound value is read each time the view reads, as TODAY() is.
class ExpressionNames
{
public:
    void Bind(const QString& name, std::function<QVariant()> value);
    void Unbind(const QString& name);
    const std::function<QVariant()>* Find(const QString& name) const;

private:
    QHash<QString, std::function<QVariant()>> values_;
};

// A value of the SQL: fixed, or read when the statement runs.
struct SqlParameter
{
    QVariant value;
    std::function<QVariant()> provider;
    QVariant Value() const { return provider ? provider() : value; }
};

struct SqlExpression
{
    QString sql;
    std::vector<SqlParameter> parameters; // in the order of the SQL's "?"
};

struct SqlSortTerm
{
    SqlExpression expression;
    bool descending = false;
    bool folded = false; // UPPER around the term: texts compare folded as the case-free keys fold them
};

// A condition; an empty text gives an empty SQL text. Errors name the expression and what is wrong in it.
Status CompileFilter(const QString& text, const Table& table, const ExpressionNames& names,
                     SqlExpression& result);
// Terms separated by commas, each with an optional "+" (ascending) or "-" (descending).
Status CompileSort(const QString& text, const Table& table, const ExpressionNames& names,
                   std::vector<SqlSortTerm>& result);

} // namespace jornix
