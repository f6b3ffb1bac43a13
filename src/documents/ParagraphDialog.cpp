#include "documents/ParagraphDialog.h"

#include "documents/DialogButtons.h"

#include "documents/MeasurementUnits.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace jornix {

namespace {

constexpr double TwipsPerPoint = 20;
// Line heights in percent for single, one and a half and double spacing.
constexpr int LineHeights[] = {100, 150, 200};

} // namespace

ParagraphDialog::ParagraphDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), unit_(unit)
{
    setObjectName(QStringLiteral("Paragraph"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setMinimumWidth(300);
    left_ = addEntry(QStringLiteral("Left"), 0);
    right_ = addEntry(QStringLiteral("Right"), 0);
    firstLine_ = addEntry(QStringLiteral("FirstLine"), -9999.99);
    before_ = addEntry(QStringLiteral("Before"), 0);
    after_ = addEntry(QStringLiteral("After"), 0);
    lineSpacing_ = new QComboBox;
    lineSpacing_->setObjectName(QStringLiteral("LineSpacing"));
    lineSpacing_->addItems({QStringLiteral("Single"), QStringLiteral("1.5 Lines"), QStringLiteral("Double")});
    alignment_ = new QComboBox;
    alignment_->setObjectName(QStringLiteral("Alignment"));
    alignment_->addItems(
        {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centered"), QStringLiteral("Justified")});

    const QString unitName = UnitName(unit);
    auto* indents = new QGroupBox(QStringLiteral("Indents"));
    auto* indentRows = new QFormLayout(indents);
    AddPromptRow(indentRows, QStringLiteral("&Left:"), left_, unitName);
    AddPromptRow(indentRows, QStringLiteral("&Right:"), right_, unitName);
    AddPromptRow(indentRows, QStringLiteral("&First line:"), firstLine_, unitName);
    auto* spacing = new QGroupBox(QStringLiteral("Spacing"));
    auto* spacingRows = new QFormLayout(spacing);
    AddPromptRow(spacingRows, QStringLiteral("&Before:"), before_, QStringLiteral("pt"));
    AddPromptRow(spacingRows, QStringLiteral("&After:"), after_, QStringLiteral("pt"));
    AddPromptRow(spacingRows, QStringLiteral("Line &spacing:"), lineSpacing_);
    auto* alignmentRow = new QFormLayout;
    AddPromptRow(alignmentRow, QStringLiteral("Ali&gnment:"), alignment_);

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(indents);
    layout->addWidget(spacing);
    layout->addLayout(alignmentRow);
    layout->addWidget(buttons);

    if (!control)
        return;
    const QTextBlockFormat format = control->textCursor().blockFormat();
    auto toUnit = [unit](qreal layoutUnits) { return TwipsToUnits(qRound(layoutUnits * TwipsPerLayoutUnit), unit); };
    left_->setValue(toUnit(format.leftMargin()));
    right_->setValue(toUnit(format.rightMargin()));
    firstLine_->setValue(toUnit(format.textIndent()));
    before_->setValue(format.topMargin() * TwipsPerLayoutUnit / TwipsPerPoint);
    after_->setValue(format.bottomMargin() * TwipsPerLayoutUnit / TwipsPerPoint);
    const int height = format.lineHeightType() == QTextBlockFormat::ProportionalHeight ? int(format.lineHeight()) : 100;
    lineSpacing_->setCurrentIndex(height >= 200 ? 2 : height >= 150 ? 1 : 0);
    alignment_->setCurrentIndex(control->Alignment());
}

QDoubleSpinBox* ParagraphDialog::addEntry(const QString& name, double minimum)
{
    auto* entry = new QDoubleSpinBox;
    entry->setObjectName(name);
    entry->setDecimals(2);
    entry->setRange(minimum, 9999.99);
    return entry;
}

void ParagraphDialog::accept()
{
    if (control_ && !control_->isReadOnly()) {
        auto toLayout = [this](double value) { return UnitsToTwips(value, unit_) / TwipsPerLayoutUnit; };
        QTextBlockFormat format;
        format.setLeftMargin(toLayout(left_->value()));
        format.setRightMargin(toLayout(right_->value()));
        format.setTextIndent(toLayout(firstLine_->value()));
        format.setTopMargin(before_->value() * TwipsPerPoint / TwipsPerLayoutUnit);
        format.setBottomMargin(after_->value() * TwipsPerPoint / TwipsPerLayoutUnit);
        format.setLineHeight(LineHeights[lineSpacing_->currentIndex()], QTextBlockFormat::ProportionalHeight);
        format.setAlignment(RichTextControl::AlignmentOf(alignment_->currentIndex()));
        control_->textCursor().mergeBlockFormat(format); // one step to undo
    }
    QDialog::accept();
}

} // namespace jornix
