#pragma once

#include "platform/store/StoreStatus.h"

#include <QString>

#include <vector>

// The parsed form of an expression, shared by every back end: the SQL of views (Expression.h) and the
// evaluator over values in memory (ExpressionEvaluator.h). One parser reads two dialects of one grammar:
// - Filter: conditions and sort terms as lists and views take them (see Expression.h);
// - Formula: the same plus arithmetic (+ - * /, a minus in front of any operand), "&" joining texts, texts in
//   double quotes as well as single ones, names of the form Prefix.Field and function names ending in "$".
// Precedence from loosest to tightest: OR, AND, NOT (or ~ in front), comparisons and ~ (contains), &, + and
// -,
// * and /, a minus in front, operands.
namespace jornix {

enum class ExpressionDialect
{
    Filter,
    Formula
};

// Parentheses, function arguments and operators in front (NOT, ~, -) may nest this deep; deeper input is a
// bad expression, so that no input can exhaust the stack of the thread that reads it.
constexpr int MaxExpressionDepth = 100;

struct ExpressionNode
{
    enum class Kind
    {
        Number,     // text: the number as written ("-" in front for a negative literal of a filter)
        Text,       // text: the value, quotes removed
        Name,       // text: the name as written
        Call,       // text: the function's name as written; operands: its arguments
        Not,        // one operand
        Negate,     // one operand
        Compare,    // text: = <> < > <= >=; two operands
        Contains,   // two operands: text, part
        Or,         // two or more operands
        And,        // two or more operands
        Join,       // two or more operands, joined as texts
        Arithmetic, // two or more operands; operators[i] is + - * or / between operand i-1 and operand i
    };

    Kind kind = Kind::Number;
    QString text;
    QString operators;
    qsizetype position = 0; // of the node's first character, counted from 0
    std::vector<ExpressionNode> operands;
};

struct ExpressionSortTerm
{
    ExpressionNode expression;
    bool descending = false;
};

// A parsed expression. The tree's depth is bounded by MaxExpressionDepth, so back ends may recurse over it.
struct ExpressionTree
{
    QString source;
    ExpressionDialect dialect = ExpressionDialect::Filter;
    ExpressionNode root;
};

// Parses a condition or value. Errors are BadExpression statuses that name the expression, what is wrong and
// where ("... at position 7", counted from 1).
Status ParseExpression(const QString& text, ExpressionDialect dialect, ExpressionTree& tree);
// Terms separated by commas, each with an optional "+" (ascending) or "-" (descending) in front.
Status ParseSortTerms(const QString& text, std::vector<ExpressionSortTerm>& terms);

// The message of a bad expression: "The expression "<source>" is not valid: <reason>." (a formula is called
// so).
Status ExpressionProblem(const QString& source, ExpressionDialect dialect, const QString& reason);
// "at position N" for a node or token, counted from 1 as users count.
QString AtPosition(qsizetype position);
// Whether a node is this whole number as written.
bool IsNumberLiteral(const ExpressionNode& node, qlonglong value);

} // namespace jornix
