#include "platform/reportengine/Formula.h"

#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/TextValues.h"

#include <QLocale>

#include <cmath>

namespace jornix {

namespace {

constexpr double MillisecondsPerDay = 86400000.0;

bool StartsANumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QChar first = trimmed.at(0);
    return first.isDigit() || first == QLatin1Char('-') || first == QLatin1Char('+') ||
           first == QLatin1Char('.');
}

// Runs of one letter stand for a part of the date or time; the length of the run says how it is written.
template <typename Part> QString FormatRuns(const QString& format, Part part)
{
    QString text;
    for (qsizetype at = 0; at < format.size();) {
        const QChar letter = format.at(at).toLower();
        qsizetype end = at + 1;
        while (end < format.size() && format.at(end).toLower() == letter)
            ++end;
        const QString written = part(letter.toLatin1(), int(end - at));
        text += written.isNull() ? format.mid(at, end - at) : written;
        at = end;
    }
    return text;
}

QString Padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString FormatDate(const QDate& date, const QString& format)
{
    const QLocale locale;
    return FormatRuns(format, [&](char letter, int length) -> QString {
        switch (letter) {
        case 'd':
            if (length >= 3)
                return locale.dayName(date.dayOfWeek(),
                                      length == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            return Padded(date.day(), length);
        case 'm':
            if (length >= 3)
                return locale.monthName(date.month(),
                                        length == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            return Padded(date.month(), length);
        case 'y':
            return length <= 2 ? Padded(date.year() % 100, 2) : Padded(date.year(), 4);
        default:
            return {};
        }
    });
}

QString FormatTime(const QTime& time, const QString& format)
{
    return FormatRuns(format, [&](char letter, int length) -> QString {
        const int width = std::min(length, 2);
        switch (letter) {
        case 'h':
            return Padded(time.hour(), width);
        case 'm':
            return Padded(time.minute(), width);
        case 's':
            return Padded(time.second(), width);
        default:
            return {};
        }
    });
}

const FormulaContext& ContextOf(const ExpressionCall& call)
{
    return *static_cast<const FormulaContext*>(call.Context());
}

QString FormatArgument(const ExpressionCall& call, const QString& standard)
{
    return call.Count() > 1 ? call.Argument(1).AsText() : standard;
}

ExpressionFunctions MakeFormulaFunctions()
{
    using Value = ExpressionValue;
    ExpressionFunctions functions = ExpressionFunctions::Filter();
    functions.Add(QStringLiteral("Cond"), 2, 3, [](const ExpressionCall& call) {
        if (call.Argument(0).IsTrue())
            return call.Argument(1);
        return call.Count() > 2 ? call.Argument(2) : Value::Text({});
    });
    functions.Add(QStringLiteral("Choose"), 2, -1, [](const ExpressionCall& call) {
        const double index = call.Argument(0).AsNumber();
        if (!(index >= 0 && index < call.Count() - 1))
            return Value::Text({});
        return call.Argument(int(index) + 1);
    });
    functions.Add(QStringLiteral("Date$"), 1, 2, [](const ExpressionCall& call) {
        const QDate date = FormulaDate(call.Argument(0).AsNumber());
        return Value::Text(date.isValid()
                               ? FormatDate(date, FormatArgument(call, QStringLiteral("mm/dd/yyyy")))
                               : QString());
    });
    functions.Add(QStringLiteral("Time$"), 1, 2, [](const ExpressionCall& call) {
        const QTime time = FormulaTime(call.Argument(0).AsNumber());
        return Value::Text(time.isValid() ? FormatTime(time, FormatArgument(call, QStringLiteral("hh:mm")))
                                          : QString());
    });
    functions.Add(QStringLiteral("Str$"), 1, 2, [](const ExpressionCall& call) {
        const double number = call.Argument(0).AsNumber();
        if (call.Count() < 2 || !std::isfinite(number))
            return Value::Text(Value::Number(number).AsText());
        const int decimals = int(std::clamp(call.Argument(1).AsNumber(), 0.0, 15.0));
        return Value::Text(QString::number(number, 'f', decimals));
    });
    functions.Add(QStringLiteral("RTrim$"), 1, 1, [](const ExpressionCall& call) {
        return Value::Text(StripTrailingBlanks(call.Argument(0).AsText()));
    });
    functions.Add(QStringLiteral("Upper$"), 1, 1, [](const ExpressionCall& call) {
        return Value::Text(call.Argument(0).AsText().toUpper());
    });
    functions.Add(QStringLiteral("Empty"), 1, 1, [](const ExpressionCall& call) {
        return Value::Truth(call.Argument(0).AsText().trimmed().isEmpty());
    });
    functions.Add(QStringLiteral("Defined"), 1, 1, [](const ExpressionCall& call) {
        const ExpressionNode& argument = call.ArgumentNode(0);
        const QString name =
            argument.kind == ExpressionNode::Kind::Name ? argument.text : call.Argument(0).AsText();
        const FormulaContext& context = ContextOf(call);
        return Value::Truth(context.items && context.items(name).has_value());
    });
    functions.Add(QStringLiteral("Page"), 0, 0,
                  [](const ExpressionCall& call) { return Value::Number(ContextOf(call).page); });
    functions.Add(QStringLiteral("LastPage"), 0, 0,
                  [](const ExpressionCall& call) { return Value::Number(ContextOf(call).lastPage); });
    functions.Add(QStringLiteral("Today"), 0, 0,
                  [](const ExpressionCall&) { return Value::Number(double(Today()) + JulianDayOffset); });
    functions.Add(QStringLiteral("Now"), 0, 0, [](const ExpressionCall&) {
        return Value::Number(double(Today()) + JulianDayOffset + (Clock() - 1) / (MillisecondsPerDay / 10));
    });
    return functions;
}

const ExpressionFunctions& FormulaFunctions()
{
    static const ExpressionFunctions functions = MakeFormulaFunctions();
    return functions;
}

} // namespace

ExpressionValue FormulaItemValue(const FormulaItem& item)
{
    constexpr quint32 numbers = FormulaItem::NumericType | FormulaItem::DateType | FormulaItem::BooleanType;
    constexpr quint32 texts = FormulaItem::TextType | FormulaItem::DrawingType | FormulaItem::BarcodeType;
    if ((item.typeCode & texts) || !(item.typeCode & numbers))
        return ExpressionValue::Text(item.valueText);
    return ExpressionValue::Number(StartsANumber(item.valueText) ? LeadingNumber(item.valueText)
                                                                 : std::nan(""));
}

QDate FormulaDate(double value)
{
    static const qint64 first = QDate(1, 1, 1).toJulianDay(), last = QDate(9999, 12, 31).toJulianDay();
    if (!std::isfinite(value))
        return {};
    const double day = std::floor(value) + 1;
    if (day < double(first) || day > double(last))
        return {};
    return QDate::fromJulianDay(qint64(day));
}

QTime FormulaTime(double value)
{
    if (!std::isfinite(value))
        return {};
    const double milliseconds = std::round((value - std::floor(value)) * MillisecondsPerDay);
    return QTime::fromMSecsSinceStartOfDay(int(std::min(milliseconds, MillisecondsPerDay - 1)));
}

double FormulaDateValue(const QDate& date, const QTime& time)
{
    return double(date.toJulianDay() - 1) +
           (time.isValid() ? time.msecsSinceStartOfDay() / MillisecondsPerDay : 0);
}

Formula::Formula(const QString& text) : text_(text), blank_(text.trimmed().isEmpty())
{
    if (blank_)
        return;
    problem_ = ParseExpression(text, ExpressionDialect::Formula, tree_);
    if (problem_)
        problem_ = ExpressionEvaluator({}, FormulaFunctions()).Check(tree_);
}

Status Formula::Evaluate(const FormulaContext& context, ExpressionValue& value) const
{
    value = ExpressionValue::Text({});
    if (blank_ || !problem_)
        return problem_;
    // An item that is not declared reads as "", never as an error.
    auto items = [&context](const ExpressionNode& name, QString&) -> std::optional<ExpressionValue> {
        const std::optional<FormulaItem> item = context.items ? context.items(name.text) : std::nullopt;
        return item ? FormulaItemValue(*item) : ExpressionValue::Text({});
    };
    return ExpressionEvaluator(items, FormulaFunctions(), &context).Evaluate(tree_, value);
}

Status Formula::EvaluateText(const FormulaContext& context, QString& text) const
{
    ExpressionValue value;
    const Status status = Evaluate(context, value);
    text = status ? value.AsText() : QString();
    return status;
}

QString Formula::EvaluateForPrinting(const FormulaContext& context) const
{
    QString text;
    EvaluateText(context, text);
    return text;
}

} // namespace jornix
