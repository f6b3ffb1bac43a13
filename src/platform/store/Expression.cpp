#include "platform/store/Expression.h"

#include "platform/runtime/Clock.h"
#include "platform/store/ExpressionEvaluator.h"
#include "platform/store/ExpressionTree.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <optional>

namespace jornix {

void ExpressionNames::Bind(const QString& name, std::function<QVariant()> value)
{
    values_.insert(name.toCaseFolded(), std::move(value));
}

void ExpressionNames::Unbind(const QString& name)
{
    values_.remove(name.toCaseFolded());
}

const std::function<QVariant()>* ExpressionNames::Find(const QString& name) const
{
    auto found = values_.constFind(name.toCaseFolded());
    return found == values_.constEnd() ? nullptr : &found.value();
}

namespace {

using Kind = ExpressionNode::Kind;

enum class ValueType
{
    Number,
    Text,
    Condition
};

// One node of the expression in SQL form.
struct Node
{
    ValueType type = ValueType::Number;
    SqlExpression sql;
    int field = -1; // a field of the table named alone
};

struct CompileError
{
    QString reason;
};

// Turns a parsed filter into SQL. Only the table's own columns are named; every value is a parameter.
class SqlCompiler
{
public:
    SqlCompiler(const ExpressionTree& tree, const Table& table, const ExpressionNames& names)
        : tree_(tree), table_(table), names_(names)
    {
    }

    template <typename Body> Status Run(Body body)
    {
        try {
            body();
            return {};
        } catch (const CompileError& error) {
            return ExpressionProblem(tree_.source, tree_.dialect, error.reason);
        }
    }

    Node Condition(const ExpressionNode& node) { return AsCondition(Compile(node)); }
    Node Value(const ExpressionNode& node) { return Compile(node); }

    // A sort term. UPPER around a whole term orders without regard to case as the keys do: by the folded
    // copy of a field that has one (which a key's index holds already), else by the text folded as the keys
    // fold it.
    Node SortValue(const ExpressionNode& node)
    {
        if (node.kind != Kind::Call || !IsWord(node, "UPPER"))
            return Compile(node);
        if (const QString problem = CallProblem(node, ExpressionFunctions::Filter()); !problem.isEmpty())
            Fail(problem);
        const ExpressionNode& operand = node.operands[0];
        if (operand.kind == Kind::Name && !names_.Find(operand.text)) {
            QString reason;
            const int field = FilterField(table_, operand, reason);
            if (field < 0)
                Fail(reason);
            if (const QString folded = table_.FoldedColumnSql(field); !folded.isEmpty()) {
                Node result;
                result.type = ValueType::Text;
                result.sql.sql = folded;
                return result;
            }
        }
        const Node text = AsText(Compile(operand));
        return Combine(ValueType::Text, QStringLiteral("jornix_fold(%1)"), {&text});
    }

private:
    [[noreturn]] static void Fail(const QString& reason) { throw CompileError{reason}; }

    static Node Combine(ValueType type, const QString& pattern, std::initializer_list<const Node*> parts)
    {
        // pattern holds %1, %2 ... for the parts; their parameters follow in the order the parts appear.
        Node node;
        node.type = type;
        QString sql = pattern;
        std::vector<std::pair<qsizetype, const Node*>> order;
        int number = 1;
        for (const Node* part : parts) {
            const QString mark = QLatin1Char('%') + QString::number(number++);
            for (qsizetype at = pattern.indexOf(mark); at >= 0; at = pattern.indexOf(mark, at + 1))
                order.emplace_back(at, part);
        }
        std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [at, part] : order)
            node.sql.parameters.insert(node.sql.parameters.end(), part->sql.parameters.begin(),
                                       part->sql.parameters.end());
        number = 1;
        for (const Node* part : parts)
            sql.replace(QLatin1Char('%') + QString::number(number++), part->sql.sql);
        node.sql.sql = sql;
        return node;
    }

    static Node AsCondition(const Node& node)
    {
        switch (node.type) {
        case ValueType::Condition:
            return node;
        case ValueType::Text:
            return Combine(ValueType::Condition, QStringLiteral("(%1 <> '')"), {&node});
        case ValueType::Number:
            break;
        }
        return Combine(ValueType::Condition, QStringLiteral("(%1 <> 0)"), {&node});
    }

    static Node AsText(const Node& node)
    {
        if (node.type == ValueType::Text)
            return node;
        return Combine(ValueType::Text, QStringLiteral("CAST(%1 AS TEXT)"), {&node});
    }

    static Node Parameter(ValueType type, SqlParameter parameter)
    {
        Node node;
        node.type = type;
        node.sql.sql = QStringLiteral("?");
        node.sql.parameters.push_back(std::move(parameter));
        return node;
    }

    Node Compile(const ExpressionNode& node)
    {
        switch (node.kind) {
        case Kind::Number: {
            bool ok = false;
            const qlonglong whole = node.text.toLongLong(&ok);
            if (ok)
                return Parameter(ValueType::Number, {QVariant(whole), {}});
            return Parameter(ValueType::Number, {QVariant(node.text.toDouble()), {}});
        }
        case Kind::Text:
            // Trailing blanks never count in comparisons: stored texts have none.
            return Parameter(ValueType::Text, {QVariant(StripTrailingBlanks(node.text)), {}});
        case Kind::Name:
            return NameValue(node);
        case Kind::Call:
            return Call(node);
        case Kind::Not: {
            const Node operand = Condition(node.operands[0]);
            return Combine(ValueType::Condition, QStringLiteral("(NOT %1)"), {&operand});
        }
        case Kind::Or:
        case Kind::And: {
            // One statement for the whole chain, so that a long chain costs its length.
            Node chain;
            chain.type = ValueType::Condition;
            const QString separator =
                node.kind == Kind::Or ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
            for (const ExpressionNode& operand : node.operands) {
                Node part = Condition(operand);
                chain.sql.sql += (chain.sql.sql.isEmpty() ? QStringLiteral("(") : separator) + part.sql.sql;
                std::move(part.sql.parameters.begin(), part.sql.parameters.end(),
                          std::back_inserter(chain.sql.parameters));
            }
            chain.sql.sql += QLatin1Char(')');
            return chain;
        }
        case Kind::Contains: {
            const Node a = AsText(Compile(node.operands[0])), b = AsText(Compile(node.operands[1]));
            return Combine(ValueType::Condition, QStringLiteral("jornix_contains(%1, %2)"), {&a, &b});
        }
        case Kind::Compare: {
            Node left = Compile(node.operands[0]), right = Compile(node.operands[1]);
            // A text compared with a number is read as a number.
            if (left.type == ValueType::Text && right.type != ValueType::Text)
                left = Combine(ValueType::Number, QStringLiteral("CAST(%1 AS REAL)"), {&left});
            if (right.type == ValueType::Text && left.type != ValueType::Text)
                right = Combine(ValueType::Number, QStringLiteral("CAST(%1 AS REAL)"), {&right});
            if (node.text == QLatin1String("="))
                if (std::optional<Node> indexed = FoldedEquality(left, right))
                    return *indexed;
            return Combine(ValueType::Condition, QStringLiteral("(%1 ") + node.text + QStringLiteral(" %2)"),
                           {&left, &right});
        }
        case Kind::Negate:
        case Kind::Join:
        case Kind::Arithmetic:
            break;
        }
        Fail(QStringLiteral("the operator %1 cannot be used in a filter").arg(AtPosition(node.position)));
    }

    // A text field equal to a value, where the field has a folded copy: the folded copy equals the folded
    // value too, which an index of a key that compares without regard to case then serves.
    std::optional<Node> FoldedEquality(const Node& left, const Node& right) const
    {
        if (left.type != ValueType::Text || right.type != ValueType::Text)
            return std::nullopt;
        const Node* column = left.field >= 0 ? &left : (right.field >= 0 ? &right : nullptr);
        const Node* value = column == &left ? &right : &left;
        if (!column || value->field >= 0 || value->sql.sql != QLatin1String("?") ||
            value->sql.parameters.size() != 1)
            return std::nullopt;
        Node folded;
        folded.type = ValueType::Text;
        folded.sql.sql = table_.FoldedColumnSql(column->field);
        if (folded.sql.sql.isEmpty())
            return std::nullopt;
        const SqlParameter given = value->sql.parameters[0];
        const Node foldedValue = Parameter(
            ValueType::Text,
            given.provider
                ? SqlParameter{{}, [given] { return QVariant(FoldedKeyText(given.Value().toString())); }}
                : SqlParameter{QVariant(FoldedKeyText(given.value.toString())), {}});
        return Combine(ValueType::Condition, QStringLiteral("(%1 = %2 AND %3 = %4)"),
                       {&folded, &foldedValue, &left, &right});
    }

    static bool IsWord(const ExpressionNode& node, const char* word)
    {
        return node.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    Node Call(const ExpressionNode& node)
    {
        if (const QString problem = CallProblem(node, ExpressionFunctions::Filter()); !problem.isEmpty())
            Fail(problem);
        if (IsWord(node, "UPPER") || IsWord(node, "CLIP")) {
            const Node text = AsText(Compile(node.operands[0]));
            return Combine(ValueType::Text,
                           IsWord(node, "UPPER") ? QStringLiteral("jornix_upper(%1)")
                                                 : QStringLiteral("rtrim(%1, ' ')"),
                           {&text});
        }
        if (IsWord(node, "TODAY"))
            return Parameter(ValueType::Number, {{}, [] { return QVariant(Today()); }});
        if (IsWord(node, "INSTRING")) {
            const Node part = AsText(Compile(node.operands[0])), text = AsText(Compile(node.operands[1]));
            if (node.operands.size() < 4 || IsNumberLiteral(node.operands[3], 1))
                return Combine(ValueType::Number, QStringLiteral("instr(%2, %1)"), {&part, &text});
            const Node start = Compile(node.operands[3]);
            return Combine(ValueType::Number,
                           QStringLiteral("(CASE WHEN instr(substr(%2, %3), %1) > 0 "
                                          "THEN instr(substr(%2, %3), %1) + %3 - 1 ELSE 0 END)"),
                           {&part, &text, &start});
        }
        Fail(QStringLiteral("the function %1 %2 cannot be used in a filter")
                 .arg(node.text, AtPosition(node.position)));
    }

    Node NameValue(const ExpressionNode& node)
    {
        if (const auto* bound = names_.Find(node.text)) {
            const QVariant sample = (*bound)();
            const bool text = sample.typeId() == QMetaType::QString;
            std::function<QVariant()> provider = *bound;
            if (text)
                provider = [provider] { return QVariant(StripTrailingBlanks(provider().toString())); };
            return Parameter(text ? ValueType::Text : ValueType::Number, {{}, provider});
        }
        QString reason;
        const int field = FilterField(table_, node, reason);
        if (field < 0)
            Fail(reason);
        Node result;
        result.type = table_.Field(field).IsText() ? ValueType::Text : ValueType::Number;
        result.sql.sql = table_.ColumnSql(field);
        result.field = field;
        return result;
    }

    const ExpressionTree& tree_;
    const Table& table_;
    const ExpressionNames& names_;
};

} // namespace

Status CompileFilter(const QString& text, const Table& table, const ExpressionNames& names,
                     SqlExpression& result)
{
    result = {};
    if (StripTrailingBlanks(text).trimmed().isEmpty())
        return {};
    ExpressionTree tree;
    if (Status status = ParseExpression(text, ExpressionDialect::Filter, tree); !status)
        return status;
    SqlCompiler compiler(tree, table, names);
    SqlExpression compiled;
    if (Status status = compiler.Run([&] { compiled = compiler.Condition(tree.root).sql; }); !status)
        return status;
    result = std::move(compiled);
    return {};
}

Status CompileSort(const QString& text, const Table& table, const ExpressionNames& names,
                   std::vector<SqlSortTerm>& result)
{
    result.clear();
    if (text.trimmed().isEmpty())
        return {};
    std::vector<ExpressionSortTerm> terms;
    if (Status status = ParseSortTerms(text, terms); !status)
        return status;
    ExpressionTree tree;
    tree.source = text;
    SqlCompiler compiler(tree, table, names);
    std::vector<SqlSortTerm> compiled;
    if (Status status = compiler.Run([&] {
            for (const ExpressionSortTerm& term : terms) {
                const bool folded =
                    term.expression.kind == ExpressionNode::Kind::Call &&
                    term.expression.text.compare(QLatin1String("UPPER"), Qt::CaseInsensitive) == 0;
                compiled.push_back({compiler.SortValue(term.expression).sql, term.descending, folded});
            }
        });
        !status)
        return status;
    result = std::move(compiled);
    return {};
}

} // namespace jornix
