#pragma once

#include "platform/reportengine/ReportItems.h"
#include "platform/store/ExpressionEvaluator.h"
#include "platform/store/ExpressionTree.h"
#include "platform/store/StoreStatus.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>

// Formulas of report layouts, evaluated over the items a job declares. A formula is an expression of the
// store's grammar in its formula dialect (ExpressionTree.h): conditions, comparisons, AND, OR, NOT, ~, texts
// in single or double quotes, numbers, + - * /, "&" joining texts, item names (Prefix.Field) and these
// functions besides UPPER, CLIP and INSTRING:
//   Cond(condition, then [, else])   the branch taken is the only one evaluated; no else gives ""
//   Choose(n, value0, value1, ...)   the value numbered n, counted from 0 as flags are; "" beyond the last
//   Date$(date [, format])           "mm/dd/yyyy" unless a format is given: d dd ddd dddd, m mm mmm mmmm,
//                                    yy yyyy; other characters stand for themselves; "" for no date
//   Time$(date or time [, format])   the time of day of the value's fraction, "hh:mm" unless a format is
//   given:
//                                    h hh, m mm (minutes), s ss
//   Str$(number [, decimals])        a number as text, in its shortest form unless decimals are given
//   RTrim$(text), Upper$(text)       without trailing blanks; in capitals
//   Empty(value)                     true when the value's text is blank (an item without a value, no date)
//   Defined(name)                    whether an item of that name is declared (a name, or a text holding one)
//   Page(), LastPage()               the page being printed and the last page's number
//   Today(), Now()                   the date (and time) of the program's clock, as date values
//
// Dates are numbers: the value v is the day QDate::fromJulianDay(v + 1) and its fraction the time of day (the
// day numbers of the record store plus 2378857). A value text that is no number ("" or "1e1000") is no date.
namespace jornix {

// An item as a formula reads it: its value, always a text, and its type code.
struct FormulaItem
{
    // The item type codes of the engine, under the names the formulas use.
    static constexpr quint32 TextType = ReportItemType::Text;
    static constexpr quint32 NumericType = ReportItemType::Numeric;
    static constexpr quint32 DateType = ReportItemType::Date;
    static constexpr quint32 BooleanType = ReportItemType::Boolean;
    static constexpr quint32 DrawingType = ReportItemType::Drawing;
    static constexpr quint32 BarcodeType = ReportItemType::Barcode;

    QString valueText;
    quint32 typeCode = TextType;
};

// What a formula is evaluated in: the declared items and the page being printed. The lookup compares names
// without regard to case and answers nothing for a name not declared, which a formula reads as "".
struct FormulaContext
{
    std::function<std::optional<FormulaItem>(const QString& name)> items;
    int page = 1;
    int lastPage = 1;
};

// The value a formula reads for an item: numeric, date and boolean items are numbers (NaN when the text holds
// none), the others texts.
ExpressionValue FormulaItemValue(const FormulaItem& item);

// The day and time of day of a date value; an invalid QDate for a value that is no date (not finite, or
// outside the years 1 to 9999).
QDate FormulaDate(double value);
QTime FormulaTime(double value);
// The date value of a day and a time of day.
double FormulaDateValue(const QDate& date, const QTime& time = QTime(0, 0));

// One formula, parsed once and evaluated as often as needed.
class Formula
{
public:
    Formula() = default;
    // A wrong formula is kept with its problem, which every evaluation answers. A blank formula gives "".
    explicit Formula(const QString& text);

    const QString& Text() const { return text_; }
    // What is wrong with the formula, found without evaluating it: a bad expression naming the formula, the
    // fault and its position. Faults that depend on the values (a division by zero) show when evaluated.
    const Status& Problem() const { return problem_; }

    Status Evaluate(const FormulaContext& context, ExpressionValue& value) const;
    Status EvaluateText(const FormulaContext& context, QString& text) const;
    // The text to print: blank when the formula fails, so that a wrong formula never stops a job.
    QString EvaluateForPrinting(const FormulaContext& context) const;

private:
    QString text_;
    bool blank_ = true;
    ExpressionTree tree_;
    Status problem_;
};

} // namespace jornix
