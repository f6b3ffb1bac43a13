#include "platform/richtext/ButtonBar.h"

#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QToolButton>

#include <algorithm>

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
    numbered_ = addButton(QStringLiteral("listNumbered"), QStringLiteral("1."), QStringLiteral("Numbering"));
    bulleted_ = addButton(QStringLiteral("listBulleted"), QStringLiteral("•"), QStringLiteral("Bullets"));
    const std::pair<const char*, QWidget*> items[] = {
        {"PosFontName", font_},         {"PosFontSize", size_},
        {"PosFontBold", bold_},         {"PosFontItalic", italic_},
        {"PosFontUnderline", underline_}, {"PosParaLeft", alignments_[0].first},
        {"PosParaCentered", alignments_[1].first}, {"PosParaRight", alignments_[2].first},
        {"PosParaJustified", alignments_[3].first}, {"PosListNumbered", numbered_},
        {"PosListBulleted", bulleted_}};
    for (const auto& [name, widget] : items)
        items_.append({QString::fromLatin1(name), widget, int(items_.size()) + 1});

    // The named styles: the list shows no choice, so that choosing a style again puts it on again.
    style_ = new QComboBox(this);
    style_->setObjectName(QStringLiteral("style"));
    style_->setToolTip(QStringLiteral("Style"));
    style_->setPlaceholderText(QStringLiteral("Style"));
    style_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    style_->setMinimumContentsLength(10);
    items_.append({QStringLiteral("PosStyle"), style_, int(items_.size()) + 1});
    connect(style_, &QComboBox::activated, this, [this](int index) {
        if (control_ && index >= 0)
            control_->ApplyNamedStyle(style_->itemText(index));
        style_->setCurrentIndex(-1);
        if (control_)
            control_->setFocus();
    });
    arrange();

    connect(numbered_, &QToolButton::clicked, this, [this] { toggleList(RichTextControl::NumberedList); });
    connect(bulleted_, &QToolButton::clicked, this, [this] { toggleList(RichTextControl::BulletList); });

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

void ButtonBar::SetPosition(const QString& item, int value)
{
    for (Item& entry : items_) {
        if (entry.name != item)
            continue;
        entry.position = value % 1000;
        if (value >= 2000 && !entry.separator) {
            auto* line = new QFrame(this);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            entry.separator = line;
        } else if (value < 2000 && entry.separator) {
            delete entry.separator;
            entry.separator = nullptr;
        }
        arrange();
    }
}

void ButtonBar::arrange()
{
    auto* row = static_cast<QHBoxLayout*>(layout());
    while (QLayoutItem* item = row->takeAt(0))
        delete item; // the widgets stay, only their places go
    QList<Item> shown;
    for (const Item& entry : items_) {
        entry.widget->setVisible(entry.position > 0);
        if (entry.separator)
            entry.separator->setVisible(entry.position > 0);
        if (entry.position > 0)
            shown.append(entry);
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const Item& a, const Item& b) { return a.position < b.position; });
    for (const Item& entry : shown) {
        if (entry.separator)
            row->addWidget(entry.separator);
        row->addWidget(entry.widget);
    }
    row->addStretch();
}

void ButtonBar::toggleList(int listType)
{
    if (!control_)
        return;
    if (!control_->isReadOnly())
        control_->SetListType(control_->ListType() == listType ? 0 : listType);
    showAlignment();
    control_->setFocus();
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
    connect(control, &RichTextControl::NamedStylesChanged, this, &ButtonBar::showStyles);
    showFormat(control->currentCharFormat());
    showAlignment();
    showStyles();
}

void ButtonBar::showStyles()
{
    style_->clear();
    if (control_)
        for (const NamedStyle& style : control_->NamedStyles())
            style_->addItem(style.name);
    style_->setCurrentIndex(-1);
    style_->setEnabled(style_->count() > 0);
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
    numbered_->setChecked(control_->ListType() == RichTextControl::NumberedList);
    bulleted_->setChecked(control_->ListType() == RichTextControl::BulletList);
}

void ButtonBar::mergeFormat(const QTextCharFormat& format)
{
    if (!control_ || control_->isReadOnly()) // text that is only shown keeps its format
        return;
    control_->mergeCurrentCharFormat(format);
    control_->setFocus();
}

void ButtonBar::setAlignment(Qt::Alignment alignment)
{
    if (!control_ || control_->isReadOnly())
        return;
    control_->setAlignment(alignment);
    showAlignment();
    control_->setFocus();
}

} // namespace jornix
