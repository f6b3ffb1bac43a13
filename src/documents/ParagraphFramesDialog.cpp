#include "documents/ParagraphFramesDialog.h"

#include "documents/DialogButtons.h"
#include "platform/richtext/ParagraphFrames.h"
#include "platform/richtext/RichTextControl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextCursor>
#include <QVBoxLayout>

#include <cmath>

namespace jornix {
namespace {

constexpr double TwipsPerPoint = 20;

QCheckBox* checkBox(const QString& text, const QString& name, QLayout* layout)
{
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    layout->addWidget(box);
    return box;
}

QDoubleSpinBox* points(const QString& name)
{
    auto* entry = new QDoubleSpinBox;
    entry->setObjectName(name);
    entry->setDecimals(1);
    entry->setSingleStep(0.5);
    entry->setRange(0, ParagraphFramesDialog::LargestPoints);
    entry->setSuffix(QStringLiteral(" pt"));
    return entry;
}

} // namespace

ParagraphFramesDialog::ParagraphFramesDialog(RichTextControl* control, QWidget* parent)
    : QDialog(parent), control_(control)
{
    setObjectName(QStringLiteral("ParagraphFrames"));
    setWindowTitle(QStringLiteral("Paragraph Frames"));

    auto* parts = new QGroupBox(QStringLiteral("Parts"));
    auto* partRows = new QVBoxLayout(parts);
    left_ = checkBox(QStringLiteral("Le&ft"), QStringLiteral("Left"), partRows);
    top_ = checkBox(QStringLiteral("To&p"), QStringLiteral("Top"), partRows);
    right_ = checkBox(QStringLiteral("Rig&ht"), QStringLiteral("Right"), partRows);
    bottom_ = checkBox(QStringLiteral("B&ottom"), QStringLiteral("Bottom"), partRows);
    tabLines_ = checkBox(QStringLiteral("T&ab Lines"), QStringLiteral("TabLines"), partRows);
    auto* styles = new QGroupBox(QStringLiteral("Styles"));
    auto* styleRows = new QVBoxLayout(styles);
    connected_ = checkBox(QStringLiteral("Connected &Frames"), QStringLiteral("ConnectedFrames"), styleRows);
    doubleLines_ = checkBox(QStringLiteral("&Double Lines"), QStringLiteral("DoubleLines"), styleRows);
    styleRows->addStretch(1);

    distance_ = points(QStringLiteral("TextDistance"));
    lineWidth_ = points(QStringLiteral("LineWidth"));
    auto* sizes = new QFormLayout;
    auto addRow = [sizes](const QString& prompt, QWidget* entry) {
        auto* label = new QLabel(prompt);
        label->setBuddy(entry);
        sizes->addRow(label, entry);
    };
    addRow(QStringLiteral("&Text Distance:"), distance_);
    addRow(QStringLiteral("&Line Width:"), lineWidth_);

    auto* groups = new QHBoxLayout;
    groups->addWidget(parts);
    groups->addWidget(styles);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(sizes);
    layout->addWidget(OkCancelButtons(this));
    left_->setFocus();

    if (!control)
        return;
    const QTextCursor selection = control->textCursor();
    const int style = qMax(0, FrameValue(selection, FrameProperty::Style));
    left_->setChecked(style & FrameStyle::Left);
    right_->setChecked(style & FrameStyle::Right);
    top_->setChecked(style & FrameStyle::Top);
    bottom_->setChecked(style & FrameStyle::Bottom);
    tabLines_->setChecked(style & FrameStyle::TabLines);
    doubleLines_->setChecked(style & FrameStyle::DoubleLines);
    connected_->setChecked(style & FrameStyle::ConnectedFrames);
    auto show = [&selection](QDoubleSpinBox* entry, int property) {
        const int twips = FrameValue(selection, property);
        entry->setValue(twips == -1 ? 0 : twips / TwipsPerPoint);
    };
    show(distance_, FrameProperty::Distance);
    show(lineWidth_, FrameProperty::LineWidth);
}

void ParagraphFramesDialog::accept()
{
    if (control_ && !control_->isReadOnly()) {
        const int style = (left_->isChecked() ? FrameStyle::Left : 0) | (right_->isChecked() ? FrameStyle::Right : 0) |
                          (top_->isChecked() ? FrameStyle::Top : 0) | (bottom_->isChecked() ? FrameStyle::Bottom : 0) |
                          (tabLines_->isChecked() ? FrameStyle::TabLines : 0) |
                          (doubleLines_->isChecked() ? FrameStyle::DoubleLines : 0) |
                          (connected_->isChecked() ? FrameStyle::ConnectedFrames : 0);
        // An entry left at 0 keeps what each paragraph has.
        auto twips = [](const QDoubleSpinBox* entry) {
            const double value = qMin(entry->value(), LargestPoints);
            return value == 0 ? -1 : int(std::lround(value * TwipsPerPoint));
        };
        QTextCursor selection = control_->textCursor();
        SetParagraphFrames(selection, style, twips(distance_), twips(lineWidth_));
    }
    QDialog::accept();
}

} // namespace jornix
