#include "documents/ParagraphFields.h"

#include "documents/MeasurementUnits.h"
#include "platform/richtext/NamedStyles.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDoubleSpinBox>

namespace jornix {

namespace {

constexpr double TwipsPerPoint = 20;
// Line heights in percent for single, one and a half and double spacing.
constexpr int LineHeights[] = {100, 150, 200};

QDoubleSpinBox* entry(const QString& name, double minimum)
{
    auto* entry = new QDoubleSpinBox;
    entry->setObjectName(name);
    entry->setDecimals(2);
    entry->setRange(minimum, 9999.99);
    return entry;
}

} // namespace

ParagraphFields::ParagraphFields(int unit)
    : left(entry(QStringLiteral("Left"), 0)), right(entry(QStringLiteral("Right"), 0)),
      firstLine(entry(QStringLiteral("FirstLine"), -9999.99)), before(entry(QStringLiteral("Before"), 0)),
      after(entry(QStringLiteral("After"), 0)), lineSpacing(new QComboBox), alignment(new QComboBox),
      unit_(unit)
{
    lineSpacing->setObjectName(QStringLiteral("LineSpacing"));
    lineSpacing->addItems({QStringLiteral("Single"), QStringLiteral("1.5 Lines"), QStringLiteral("Double")});
    alignment->setObjectName(QStringLiteral("Alignment"));
    alignment->addItems({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centered"),
                         QStringLiteral("Justified")});
}

void ParagraphFields::Show(const QTextBlockFormat& format)
{
    auto toUnit = [this](qreal layoutUnits) {
        return TwipsToUnits(qRound(layoutUnits * TwipsPerLayoutUnit), unit_);
    };
    left->setValue(toUnit(format.leftMargin()));
    right->setValue(toUnit(format.rightMargin()));
    firstLine->setValue(toUnit(format.textIndent()));
    before->setValue(format.topMargin() * TwipsPerLayoutUnit / TwipsPerPoint);
    after->setValue(format.bottomMargin() * TwipsPerLayoutUnit / TwipsPerPoint);
    const int height =
        format.lineHeightType() == QTextBlockFormat::ProportionalHeight ? int(format.lineHeight()) : 100;
    lineSpacing->setCurrentIndex(height >= 200 ? 2 : height >= 150 ? 1 : 0);
    alignment->setCurrentIndex(AlignmentCode(format.alignment()));
}

QTextBlockFormat ParagraphFields::Format() const
{
    auto toLayout = [this](double value) { return UnitsToTwips(value, unit_) / TwipsPerLayoutUnit; };
    QTextBlockFormat format;
    format.setLeftMargin(toLayout(left->value()));
    format.setRightMargin(toLayout(right->value()));
    format.setTextIndent(toLayout(firstLine->value()));
    format.setTopMargin(before->value() * TwipsPerPoint / TwipsPerLayoutUnit);
    format.setBottomMargin(after->value() * TwipsPerPoint / TwipsPerLayoutUnit);
    format.setLineHeight(LineHeights[qMax(0, lineSpacing->currentIndex())],
                         QTextBlockFormat::ProportionalHeight);
    format.setAlignment(RichTextControl::AlignmentOf(alignment->currentIndex()));
    return format;
}

QList<QWidget*> ParagraphFields::Widgets() const
{
    return {left, right, firstLine, before, after, lineSpacing, alignment};
}

} // namespace jornix
