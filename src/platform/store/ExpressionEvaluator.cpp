#include "platform/store/ExpressionEvaluator.h"

#include "platform/runtime/Clock.h"
#include "platform/store/Expression.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

#include <QLocale>

#include <cmath>

namespace jornix {

double LeadingNumber(const QString& text)
{
    qsizetype at = 0;
    const qsizetype size = text.size();
    auto digit = [&](qsizetype i) { return i < size && text.at(i).unicode() < 128 && text.at(i).isDigit(); };
    while (at < size && text.at(at).isSpace())
        ++at;
    const qsizetype start = at;
    if (at < size && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+')))
        ++at;
    bool digits = false;
    while (digit(at))
        ++at, digits = true;
    if (at < size && text.at(at) == QLatin1Char('.')) {
        ++at;
        while (digit(at))
            ++at, digits = true;
    }
    if (!digits)
        return 0;
    qsizetype end = at;
    if (at < size && (text.at(at) == QLatin1Char('e') || text.at(at) == QLatin1Char('E'))) {
        qsizetype exponent = at + 1;
        if (exponent < size &&
            (text.at(exponent) == QLatin1Char('-') || text.at(exponent) == QLatin1Char('+')))
            ++exponent;
        if (digit(exponent)) {
            while (digit(exponent))
                ++exponent;
            end = exponent;
        }
    }
    const QStringView number = QStringView(text).mid(start, end - start);
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (ok)
        return value;
    // Only an exponent beyond the range of doubles fails here.
    const qsizetype e = number.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    const bool small = number.mid(e + 1).startsWith(QLatin1Char('-'));
    const bool negative = number.startsWith(QLatin1Char('-'));
    return small ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
}

int CompareTexts(const QString& a, const QString& b)
{
    // UTF-16 puts surrogates (characters above U+FFFF) before U+E000..U+FFFF; code points put them after.
    auto key = [](char16_t unit) {
        return unit >= 0xD800 ? (unit >= 0xE000 ? unit - 0x800 : unit + 0x2000) : unit;
    };
    const qsizetype size = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < size; ++i) {
        if (a.at(i) != b.at(i))
            return key(a.at(i).unicode()) < key(b.at(i).unicode()) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

double ExpressionValue::AsNumber() const
{
    return IsText() ? LeadingNumber(text) : number;
}

QString ExpressionValue::AsText() const
{
    if (IsText())
        return text;
    if (!std::isfinite(number))
        return {};
    if (!real && number == std::trunc(number) && std::abs(number) < 1e15)
        return QString::number(qint64(number));
    QString written = QString::number(number, 'g', 15);
    if (real && !written.contains(QLatin1Char('.'))) {
        const qsizetype exponent = written.indexOf(QLatin1Char('e'));
        written.insert(exponent < 0 ? written.size() : exponent, QStringLiteral(".0"));
    }
    return written;
}

bool ExpressionValue::IsTrue() const
{
    return IsText() ? !text.isEmpty() : number != 0 && !std::isnan(number);
}

void ExpressionFunctions::Add(const QString& name, int least, int most,
                              std::function<ExpressionValue(const ExpressionCall&)> body,
                              std::function<QString(const ExpressionNode& call)> check)
{
    functions_.insert(name.toCaseFolded(), {least, most, std::move(body), std::move(check)});
}

const ExpressionFunction* ExpressionFunctions::Find(const QString& name) const
{
    auto found = functions_.constFind(name.toCaseFolded());
    return found == functions_.constEnd() ? nullptr : &found.value();
}

namespace {

// Whether a number as written is a whole number, which SQL keeps as an integer.
bool IsWholeNumber(const QString& written)
{
    bool ok = false;
    written.toLongLong(&ok);
    return ok;
}

// SQL's substr(text, start) without a length.
QString FromCharacter(const QString& text, qlonglong start)
{
    if (start > 0)
        return text.mid(qsizetype(std::min<qlonglong>(start - 1, text.size())));
    if (start == 0)
        return text;
    return text.right(qsizetype(std::min<qlonglong>(-start, text.size())));
}

ExpressionFunctions MakeFilterFunctions()
{
    ExpressionFunctions functions;
    functions.Add(QStringLiteral("UPPER"), 1, 1, [](const ExpressionCall& call) {
        return ExpressionValue::Text(call.Argument(0).AsText().toUpper());
    });
    functions.Add(QStringLiteral("CLIP"), 1, 1, [](const ExpressionCall& call) {
        return ExpressionValue::Text(StripTrailingBlanks(call.Argument(0).AsText()));
    });
    functions.Add(QStringLiteral("TODAY"), 0, 0,
                  [](const ExpressionCall&) { return ExpressionValue::Number(Today()); });
    functions.Add(
        QStringLiteral("INSTRING"), 2, 4,
        [](const ExpressionCall& call) {
            const QString part = call.Argument(0).AsText(), text = call.Argument(1).AsText();
            if (call.Count() < 4 || IsNumberLiteral(call.ArgumentNode(3), 1))
                return ExpressionValue::Number(double(text.indexOf(part) + 1));
            // The start is bounded before it becomes an integer (1e19 is none); beyond the text's length
            // every start finds the same, and the answer counts from the start as given, as the SQL does.
            const double given = std::trunc(call.Argument(3).AsNumber());
            const double whole = std::isnan(given) ? 0.0 : given;
            const qsizetype found =
                FromCharacter(text, qlonglong(qBound(-1e15, whole, 1e15))).indexOf(part);
            return ExpressionValue::Number(found < 0 ? 0.0 : double(found) + whole);
        },
        [](const ExpressionNode& call) {
            // Searching backward or in steps has no SQL of its own.
            if (call.operands.size() >= 3 && !IsNumberLiteral(call.operands[2], 1))
                return QStringLiteral("INSTRING %1 steps only by 1").arg(AtPosition(call.position));
            return QString();
        });
    return functions;
}

struct EvaluationError
{
    QString reason;
};

} // namespace

const ExpressionFunctions& ExpressionFunctions::Filter()
{
    static const ExpressionFunctions functions = MakeFilterFunctions();
    return functions;
}

QString CallProblem(const ExpressionNode& call, const ExpressionFunctions& functions)
{
    const ExpressionFunction* function = functions.Find(call.text);
    if (!function)
        return QStringLiteral("the function %1 %2 is not known").arg(call.text, AtPosition(call.position));
    const int count = int(call.operands.size());
    if (count >= function->least && (function->most < 0 || count <= function->most))
        return function->check ? function->check(call) : QString();
    const QString name = call.text.toUpper(), where = AtPosition(call.position);
    if (function->most < 0)
        return QStringLiteral("%1 %2 takes at least %3 arguments").arg(name, where).arg(function->least);
    if (function->least == function->most)
        return QStringLiteral("%1 %2 takes %3 arguments").arg(name, where).arg(function->least);
    return QStringLiteral("%1 %2 takes %3 to %4 arguments")
        .arg(name, where)
        .arg(function->least)
        .arg(function->most);
}

// One evaluation of one tree.
class ExpressionEvaluator::Run
{
public:
    Run(const ExpressionEvaluator& evaluator, const ExpressionTree& tree) : evaluator_(evaluator), tree_(tree)
    {
    }

    ExpressionValue Value(const ExpressionNode& node) const
    {
        using Kind = ExpressionNode::Kind;
        switch (node.kind) {
        case Kind::Number:
            if (tree_.dialect == ExpressionDialect::Filter && !IsWholeNumber(node.text))
                return ExpressionValue::Real(node.text.toDouble());
            return ExpressionValue::Number(node.text.toDouble());
        case Kind::Text:
            // A filter's texts lose their trailing blanks, as stored texts have none.
            return ExpressionValue::Text(
                tree_.dialect == ExpressionDialect::Filter ? StripTrailingBlanks(node.text) : node.text);
        case Kind::Name: {
            QString reason;
            if (std::optional<ExpressionValue> value = evaluator_.names_(node, reason))
                return *value;
            throw EvaluationError{
                reason.isEmpty()
                    ? QStringLiteral("the name %1 %2 is not known").arg(node.text, AtPosition(node.position))
                    : reason};
        }
        case Kind::Call:
            return CallValue(node);
        case Kind::Not:
            return ExpressionValue::Truth(!Value(node.operands[0]).IsTrue());
        case Kind::Negate:
            return ExpressionValue::Number(-Value(node.operands[0]).AsNumber());
        case Kind::Or:
        case Kind::And: {
            const bool stopAt = node.kind == Kind::Or;
            for (const ExpressionNode& operand : node.operands) {
                if (Value(operand).IsTrue() == stopAt)
                    return ExpressionValue::Truth(stopAt);
            }
            return ExpressionValue::Truth(!stopAt);
        }
        case Kind::Contains: {
            const QString text = Value(node.operands[0]).AsText(), part = Value(node.operands[1]).AsText();
            return ExpressionValue::Truth(text.toCaseFolded().contains(part.toCaseFolded()));
        }
        case Kind::Compare:
            return ExpressionValue::Truth(Compare(node));
        case Kind::Join: {
            QString text;
            for (const ExpressionNode& operand : node.operands)
                text += Value(operand).AsText();
            return ExpressionValue::Text(text);
        }
        case Kind::Arithmetic:
            return Arithmetic(node);
        }
        return {};
    }

private:
    bool Compare(const ExpressionNode& node) const
    {
        const ExpressionValue left = Value(node.operands[0]), right = Value(node.operands[1]);
        int order = 0;
        if (left.IsText() && right.IsText()) {
            order = CompareTexts(StripTrailingBlanks(left.text), StripTrailingBlanks(right.text));
        } else {
            const double a = left.AsNumber(), b = right.AsNumber();
            if (std::isnan(a) || std::isnan(b))
                return false;
            order = a < b ? -1 : (a > b ? 1 : 0);
        }
        const QString& op = node.text;
        if (op == QLatin1String("="))
            return order == 0;
        if (op == QLatin1String("<>"))
            return order != 0;
        if (op == QLatin1String("<"))
            return order < 0;
        if (op == QLatin1String(">"))
            return order > 0;
        if (op == QLatin1String("<="))
            return order <= 0;
        return order >= 0;
    }

    ExpressionValue Arithmetic(const ExpressionNode& node) const
    {
        double result = Value(node.operands[0]).AsNumber();
        for (size_t i = 1; i < node.operands.size(); ++i) {
            const double operand = Value(node.operands[i]).AsNumber();
            switch (node.operators.at(qsizetype(i)).unicode()) {
            case '+':
                result += operand;
                break;
            case '-':
                result -= operand;
                break;
            case '*':
                result *= operand;
                break;
            default:
                if (operand == 0)
                    throw EvaluationError{
                        QStringLiteral("a division by zero %1").arg(AtPosition(node.operands[i].position))};
                result /= operand;
            }
        }
        return ExpressionValue::Number(result);
    }

    class Call : public ExpressionCall
    {
    public:
        Call(const Run& run, const ExpressionNode& node) : run_(run), node_(node) {}
        int Count() const override { return int(node_.operands.size()); }
        ExpressionValue Argument(int index) const override
        {
            return run_.Value(node_.operands[size_t(index)]);
        }
        const ExpressionNode& ArgumentNode(int index) const override { return node_.operands[size_t(index)]; }
        const ExpressionNode& Node() const override { return node_; }
        const void* Context() const override { return run_.evaluator_.context_; }
        [[noreturn]] void Fail(const QString& reason) const override { throw EvaluationError{reason}; }

    private:
        const Run& run_;
        const ExpressionNode& node_;
    };

    ExpressionValue CallValue(const ExpressionNode& node) const
    {
        if (const QString problem = CallProblem(node, evaluator_.functions_); !problem.isEmpty())
            throw EvaluationError{problem};
        return evaluator_.functions_.Find(node.text)->body(Call(*this, node));
    }

    const ExpressionEvaluator& evaluator_;
    const ExpressionTree& tree_;
};

ExpressionEvaluator::ExpressionEvaluator(ExpressionLookup names, const ExpressionFunctions& functions,
                                         const void* context)
    : names_(std::move(names)), functions_(functions), context_(context)
{
}

Status ExpressionEvaluator::Check(const ExpressionTree& tree) const
{
    // The tree's depth is bounded, so this recursion is too.
    std::function<QString(const ExpressionNode&)> check = [&](const ExpressionNode& node) {
        if (node.kind == ExpressionNode::Kind::Call) {
            if (QString problem = CallProblem(node, functions_); !problem.isEmpty())
                return problem;
        }
        for (const ExpressionNode& operand : node.operands) {
            if (QString problem = check(operand); !problem.isEmpty())
                return problem;
        }
        return QString();
    };
    const QString problem = check(tree.root);
    return problem.isEmpty() ? Status() : ExpressionProblem(tree.source, tree.dialect, problem);
}

Status ExpressionEvaluator::Evaluate(const ExpressionTree& tree, ExpressionValue& result) const
{
    // Evaluation stays inside this function; no exception leaves the store.
    try {
        result = Run(*this, tree).Value(tree.root);
        return {};
    } catch (const EvaluationError& error) {
        return ExpressionProblem(tree.source, tree.dialect, error.reason);
    }
}

int FilterField(const Table& table, const ExpressionNode& name, QString& reason)
{
    const qsizetype colon = name.text.indexOf(QLatin1Char(':'));
    const int field = colon > 0 && name.text.left(colon).compare(table.Prefix(), Qt::CaseInsensitive) == 0
                          ? table.FieldIndex(name.text)
                          : -1;
    if (field < 0) {
        reason = QStringLiteral("the name %1 %2 is not known").arg(name.text, AtPosition(name.position));
        return -1;
    }
    if (table.Field(field).type == FieldType::Blob) {
        reason = QStringLiteral("the field %1 %2 holds bytes and cannot be used")
                     .arg(name.text, AtPosition(name.position));
        return -1;
    }
    return field;
}

ExpressionLookup RecordNames(const Record& record, const ExpressionNames& names)
{
    return [&record, &names](const ExpressionNode& name, QString& reason) -> std::optional<ExpressionValue> {
        if (const auto* bound = names.Find(name.text)) {
            const QVariant value = (*bound)();
            if (value.typeId() == QMetaType::QString)
                return ExpressionValue::Text(StripTrailingBlanks(value.toString()));
            if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
                return ExpressionValue::Real(value.toDouble());
            return ExpressionValue::Number(value.toDouble());
        }
        if (!record.Owner())
            return std::nullopt;
        const int field = FilterField(*record.Owner(), name, reason);
        if (field < 0)
            return std::nullopt;
        if (record.Owner()->Field(field).IsText())
            return ExpressionValue::Text(record.Text(field));
        if (record.Owner()->Field(field).type == FieldType::Real)
            return ExpressionValue::Real(record.Real(field));
        return ExpressionValue::Number(record.Value(field).toDouble());
    };
}

Status EvaluateFilter(const ExpressionTree& filter, const Record& record, const ExpressionNames& names,
                      bool& passes)
{
    ExpressionValue value;
    const Status status = ExpressionEvaluator(RecordNames(record, names), ExpressionFunctions::Filter())
                              .Evaluate(filter, value);
    passes = status && value.IsTrue();
    return status;
}

} // namespace jornix
