#pragma once

#include "platform/store/ExpressionTree.h"
#include "platform/store/StoreStatus.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

// Evaluates a parsed expression in C++, over values in memory: a record buffer and the names a caller binds
// (filters), or the items of a report (formulas). It reads an expression as the SQL of a view does: a text
// compared with a number is read as a number, texts compare character by character without their trailing
// blanks, a text is true when it is not empty and a number when it is neither 0 nor NaN, and conditions give
// 1 or 0.
namespace jornix {

class ExpressionNames;
class Record;
class Table;

// A number or a text.
struct ExpressionValue
{
    enum class Type
    {
        Number,
        Text
    };
    Type type = Type::Text;
    double number = 0;
    QString text;
    // A floating-point value of a filter (a Real field, a literal with a point), written as SQL writes one:
    // "1.0" where a formula writes "1".
    bool real = false;

    static ExpressionValue Number(double value) { return {Type::Number, value, {}, false}; }
    static ExpressionValue Real(double value) { return {Type::Number, value, {}, true}; }
    static ExpressionValue Text(QString value) { return {Type::Text, 0, std::move(value), false}; }
    static ExpressionValue Truth(bool value) { return Number(value ? 1 : 0); }

    bool IsText() const { return type == Type::Text; }
    // A text is read as SQL reads it: its leading number ("12 apples" is 12), 0 when it has none.
    double AsNumber() const;
    // A number in its shortest decimal form (a filter's floating-point value with a point); one that is not
    // finite gives "".
    QString AsText() const;
    bool IsTrue() const;
};

// The number at the start of a text, as SQL reads a text as a number; "1e1000" is infinite.
double LeadingNumber(const QString& text);
// Texts compared by their characters' code points, as SQL compares them.
int CompareTexts(const QString& a, const QString& b);

// What a function sees of its call. Arguments are evaluated when asked for, so that a function such as a
// condition evaluates only the branch it takes.
class ExpressionCall
{
public:
    virtual ~ExpressionCall() = default;
    virtual int Count() const = 0;
    virtual ExpressionValue Argument(int index) const = 0;
    virtual const ExpressionNode& ArgumentNode(int index) const = 0; // e.g. the name given to a function
    virtual const ExpressionNode& Node() const = 0;                  // the call itself
    virtual const void* Context() const = 0; // what the evaluator was given for its functions
    // Ends the evaluation; the reason is shown with the position of the call.
    [[noreturn]] virtual void Fail(const QString& reason) const = 0;
};

struct ExpressionFunction
{
    int least = 0;
    int most = 0; // -1: no limit
    std::function<ExpressionValue(const ExpressionCall&)> body;
    // What is wrong with a call that no evaluation can mend (an argument that must be written as a number);
    // empty when nothing is.
    std::function<QString(const ExpressionNode& call)> check;
};

// Functions by name, without regard to case.
class ExpressionFunctions
{
public:
    void Add(const QString& name, int least, int most,
             std::function<ExpressionValue(const ExpressionCall&)> body,
             std::function<QString(const ExpressionNode& call)> check = {});
    const ExpressionFunction* Find(const QString& name) const;

    // UPPER, CLIP, INSTRING(part, text [, 1 [, start]]) and TODAY() (a day number): those of filters.
    static const ExpressionFunctions& Filter();

private:
    QHash<QString, ExpressionFunction> functions_;
};

// What is wrong with a call to a function of the set (unknown, the wrong number of arguments, its own check);
// empty when nothing is.
QString CallProblem(const ExpressionNode& call, const ExpressionFunctions& functions);

// The value a name stands for; no value when it stands for none, with the reason when there is a better one
// than "not known".
using ExpressionLookup =
    std::function<std::optional<ExpressionValue>(const ExpressionNode& name, QString& reason)>;

class ExpressionEvaluator
{
public:
    // The context is handed to the functions as it is, so that one set of functions serves every evaluation.
    ExpressionEvaluator(ExpressionLookup names, const ExpressionFunctions& functions,
                        const void* context = nullptr);

    // Whether every function of the tree is known and called with a right number of arguments.
    Status Check(const ExpressionTree& tree) const;
    // Errors are BadExpression statuses naming the expression, the fault and its position.
    Status Evaluate(const ExpressionTree& tree, ExpressionValue& result) const;

private:
    class Run;
    ExpressionLookup names_;
    const ExpressionFunctions& functions_;
    const void* context_ = nullptr;
};

// The field a name of a filter stands for: one of the table's own, written with its prefix, that holds no
// bytes; -1 with the reason otherwise.
int FilterField(const Table& table, const ExpressionNode& name, QString& reason);

// The names of a filter over a record buffer: names bound by the caller, then the fields of the record's
// table.
ExpressionLookup RecordNames(const Record& record, const ExpressionNames& names);

// A filter read over one record, as a view's SQL would read it.
Status EvaluateFilter(const ExpressionTree& filter, const Record& record, const ExpressionNames& names,
                      bool& passes);

} // namespace jornix
