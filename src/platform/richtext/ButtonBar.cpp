#include "platform/richtext/ButtonBar.h"

#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QToolButton>

namespace jornix {

ButtonBar::ButtonBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    font_ = new QFontComboBox(this);
    font_->setObjectName(QStringLiteral("fontName"));
    layout->addWidget(font_);
    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("fontSize"));
    size_->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48, 72})
        size_->addItem(QString::number(size));
    layout->addWidget(size_);

    bold_ = addButton(QStringLiteral("bold"), QStringLiteral("B"), QStringLiteral("Bold"));
    italic_ = addButton(QStringLiteral("italic"), QStringLiteral("I"), QStringLiteral("Italic"));
    underline_ = addButton(QStringLiteral("underline"), QStringLiteral("U"), QStringLiteral("Underline"));
    alignments_ = {
        {addButton(QStringLiteral("alignLeft"), QStringLiteral("L"), QStringLiteral("Align left")),
         Qt::AlignLeft},
        {addButton(QStringLiteral("alignCenter"), QStringLiteral("C"), QStringLiteral("Centre")),
         Qt::AlignHCenter},
        {addButton(QStringLiteral("alignRight"), QStringLiteral("R"), QStringLiteral("Align right")),
         Qt::AlignRight},
        {addButton(QStringLiteral("alignJustify"), QStringLiteral("J"), QStringLiteral("Justify")),
         Qt::AlignJustify},
    };
    layout->addStretch();

    connect(font_, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
        QTextCharFormat format;
        format.setFontFamilies({font.family()});
        mergeFormat(format);
    });
    connect(size_, &QComboBox::textActivated, this, [this](const QString& text) {
        const double points = text.toDouble();
        if (points <= 0)
            return;
        QTextCharFormat format;
        format.setFontPointSize(points);
        mergeFormat(format);
    });
    connect(bold_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(italic_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(underline_, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });
    for (const auto& [button, alignment] : alignments_)
        connect(button, &QToolButton::clicked, this,
                [this, alignment = alignment] { setAlignment(alignment); });
}

QToolButton* ButtonBar::addButton(const QString& name, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setCheckable(true);
    layout()->addWidget(button);
    return button;
}

void ButtonBar::Attach(RichTextControl* control)
{
    if (control_)
        disconnect(control_, nullptr, this, nullptr);
    control_ = control;
    setEnabled(control != nullptr);
    if (!control)
        return;
    connect(control, &QTextEdit::currentCharFormatChanged, this, &ButtonBar::showFormat);
    connect(control, &QTextEdit::cursorPositionChanged, this, &ButtonBar::showAlignment);
    showFormat(control->currentCharFormat());
    showAlignment();
}

void ButtonBar::showFormat(const QTextCharFormat& format)
{
    const QSignalBlocker fontBlocker(font_);
    const QFont font = format.font();
    font_->setCurrentFont(font);
    size_->setEditText(QString::number(font.pointSizeF()));
    bold_->setChecked(font.bold());
    italic_->setChecked(font.italic());
    underline_->setChecked(font.underline());
}

void ButtonBar::showAlignment()
{
    if (!control_)
        return;
    const Qt::Alignment current = control_->alignment() & Qt::AlignHorizontal_Mask;
    for (const auto& [button, alignment] : alignments_)
        button->setChecked(current == alignment ||
                           (alignment == Qt::AlignLeft && current == Qt::AlignLeading));
}

void ButtonBar::mergeFormat(const QTextCharFormat& format)
{
    if (!control_)
        return;
    control_->mergeCurrentCharFormat(format);
    control_->setFocus();
}

void ButtonBar::setAlignment(Qt::Alignment alignment)
{
    if (!control_)
        return;
    control_->setAlignment(alignment);
    showAlignment();
    control_->setFocus();
}

} // namespace jornix
