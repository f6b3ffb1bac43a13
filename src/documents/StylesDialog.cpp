#include "documents/StylesDialog.h"

#include "documents/DialogButtons.h"
#include "documents/MeasurementUnits.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace jornix {

namespace {

const std::pair<const char*, QRgb> Colours[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Grey", 0x808080},
    {"Silver", 0xc0c0c0}, {"Red", 0xff0000},     {"Lime", 0x00ff00},  {"Yellow", 0xffff00},
    {"Blue", 0x0000ff},   {"Fuchsia", 0xff00ff}, {"Aqua", 0x00ffff},  {"White", 0xffffff}};

QIcon swatch(const QColor& colour)
{
    QPixmap picture(14, 14);
    picture.fill(colour);
    return QIcon(picture);
}

// The colour's place in the list, an entry of its own added for a colour the list does not name.
int colourIndex(QComboBox* list, const QColor& colour)
{
    const int found = list->findData(colour.rgb() & 0xffffff);
    if (found >= 0)
        return found;
    list->addItem(swatch(colour), colour.name(), colour.rgb() & 0xffffff);
    return list->count() - 1;
}

QString freeName(const QList<NamedStyle>& styles)
{
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("Style %1").arg(number);
        if (FindNamedStyle(styles, name) < 0)
            return name;
    }
}

} // namespace

StylesDialog::StylesDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), list_(new QListWidget), name_(new QLineEdit),
      font_(new QFontComboBox), size_(new QDoubleSpinBox), bold_(new QCheckBox(QStringLiteral("&Bold"))),
      italic_(new QCheckBox(QStringLiteral("&Italic"))),
      underline_(new QCheckBox(QStringLiteral("&Underline"))),
      strikeOut_(new QCheckBox(QStringLiteral("Stri&kethrough"))), colour_(new QComboBox), paragraph_(unit),
      sample_(new QLabel), message_(new QLabel)
{
    setObjectName(QStringLiteral("Styles"));
    setWindowTitle(QStringLiteral("Styles"));
    list_->setObjectName(QStringLiteral("List"));
    name_->setObjectName(QStringLiteral("Name"));
    name_->setMaxLength(100);
    font_->setObjectName(QStringLiteral("Font"));
    size_->setObjectName(QStringLiteral("Size"));
    size_->setDecimals(1);
    size_->setRange(1, 1638);
    size_->setSuffix(QStringLiteral(" pt"));
    bold_->setObjectName(QStringLiteral("Bold"));
    italic_->setObjectName(QStringLiteral("Italic"));
    underline_->setObjectName(QStringLiteral("Underline"));
    strikeOut_->setObjectName(QStringLiteral("Strikethrough"));
    colour_->setObjectName(QStringLiteral("Colour"));
    for (const auto& [text, rgb] : Colours)
        colour_->addItem(swatch(QColor(rgb)), QString::fromLatin1(text), uint(rgb));
    const QString unitSuffix = QLatin1Char(' ') + UnitName(unit);
    for (QDoubleSpinBox* length : {paragraph_.left, paragraph_.right, paragraph_.firstLine})
        length->setSuffix(unitSuffix);
    for (QDoubleSpinBox* spacing : {paragraph_.before, paragraph_.after})
        spacing->setSuffix(QStringLiteral(" pt"));
    sample_->setObjectName(QStringLiteral("Sample"));
    sample_->setText(QStringLiteral("AaBbYyZz"));
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setMinimumHeight(48);
    sample_->setAutoFillBackground(true);
    sample_->setBackgroundRole(QPalette::Base);
    message_->setObjectName(QStringLiteral("Message"));
    message_->setWordWrap(true);
    QPalette warning = message_->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0, 0));
    message_->setPalette(warning);

    // The list of styles with New and Delete under it.
    auto* stylesLabel = new QLabel(QStringLiteral("S&tyles:"));
    stylesLabel->setBuddy(list_);
    list_->setMinimumWidth(150);
    new_ = new QPushButton(QStringLiteral("&New"));
    new_->setObjectName(QStringLiteral("New"));
    delete_ = new QPushButton(QStringLiteral("&Delete"));
    delete_->setObjectName(QStringLiteral("Delete"));
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(new_);
    listButtons->addWidget(delete_);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(stylesLabel);
    listColumn->addWidget(list_, 1);
    listColumn->addLayout(listButtons);

    auto addRow = [](QFormLayout* rows, const QString& prompt, QWidget* entry) {
        auto* label = new QLabel(prompt);
        label->setBuddy(entry);
        rows->addRow(label, entry);
    };
    auto* nameRow = new QFormLayout;
    addRow(nameRow, QStringLiteral("Na&me:"), name_);
    auto* character = new QGroupBox(QStringLiteral("Character"));
    auto* characterRows = new QFormLayout(character);
    addRow(characterRows, QStringLiteral("&Font:"), font_);
    addRow(characterRows, QStringLiteral("&Size:"), size_);
    auto* flags = new QGridLayout;
    flags->addWidget(bold_, 0, 0);
    flags->addWidget(italic_, 0, 1);
    flags->addWidget(underline_, 1, 0);
    flags->addWidget(strikeOut_, 1, 1);
    characterRows->addRow(flags);
    addRow(characterRows, QStringLiteral("&Colour:"), colour_);
    auto* paragraph = new QGroupBox(QStringLiteral("Paragraph"));
    auto* paragraphRows = new QFormLayout(paragraph);
    addRow(paragraphRows, QStringLiteral("Ali&gnment:"), paragraph_.alignment);
    addRow(paragraphRows, QStringLiteral("&Left indent:"), paragraph_.left);
    addRow(paragraphRows, QStringLiteral("&Right indent:"), paragraph_.right);
    addRow(paragraphRows, QStringLiteral("First lin&e:"), paragraph_.firstLine);
    addRow(paragraphRows, QStringLiteral("Space bef&ore:"), paragraph_.before);
    addRow(paragraphRows, QStringLiteral("Space &after:"), paragraph_.after);
    addRow(paragraphRows, QStringLiteral("Line s&pacing:"), paragraph_.lineSpacing);
    auto* fieldsColumn = new QVBoxLayout;
    fieldsColumn->addLayout(nameRow);
    fieldsColumn->addWidget(character);
    fieldsColumn->addWidget(paragraph);
    fieldsColumn->addWidget(sample_);
    fieldsColumn->addWidget(message_);
    fieldsColumn->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(listColumn);
    columns->addLayout(fieldsColumn, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    apply_ = buttons->addButton(QStringLiteral("Appl&y to Selection"), QDialogButtonBox::ActionRole);
    apply_->setObjectName(QStringLiteral("ApplyToSelection"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);

    fields_ = QList<QWidget*>{name_, font_, size_, bold_, italic_, underline_, strikeOut_, colour_} +
              paragraph_.Widgets();
    if (control)
        styles_ = control->NamedStyles();
    for (const NamedStyle& style : styles_)
        list_->addItem(style.name);

    connect(list_, &QListWidget::currentRowChanged, this, &StylesDialog::showStyle);
    connect(new_, &QPushButton::clicked, this, &StylesDialog::addStyle);
    connect(delete_, &QPushButton::clicked, this, &StylesDialog::deleteStyle);
    connect(apply_, &QPushButton::clicked, this, &StylesDialog::ApplyToSelection);
    connect(name_, &QLineEdit::textEdited, this, [this] {
        storeFields();
        checkName();
    });
    connect(font_, &QFontComboBox::currentFontChanged, this, &StylesDialog::storeFields);
    for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
        connect(box, &QCheckBox::toggled, this, &StylesDialog::storeFields);
    for (QComboBox* box : {colour_, paragraph_.alignment, paragraph_.lineSpacing})
        connect(box, &QComboBox::currentIndexChanged, this, &StylesDialog::storeFields);
    for (QDoubleSpinBox* box : {size_, paragraph_.left, paragraph_.right, paragraph_.firstLine,
                                paragraph_.before, paragraph_.after})
        connect(box, &QDoubleSpinBox::valueChanged, this, &StylesDialog::storeFields);

    list_->setCurrentRow(styles_.isEmpty() ? -1 : 0);
    showStyle(list_->currentRow());
}

void StylesDialog::addStyle()
{
    const QTextCursor cursor = control_ ? control_->textCursor() : QTextCursor();
    styles_.append(StyleAtCursor(cursor, freeName(styles_)));
    list_->addItem(styles_.last().name);
    list_->setCurrentRow(int(styles_.size()) - 1);
    name_->setFocus();
    name_->selectAll();
}

void StylesDialog::deleteStyle()
{
    const int row = row_;
    if (row < 0 || row >= styles_.size())
        return;
    styles_.removeAt(row);
    row_ = -1; // the fields belong to no style until the next is shown
    delete list_->takeItem(row);
    list_->setCurrentRow(styles_.isEmpty() ? -1 : std::min(row, int(styles_.size()) - 1));
    showStyle(list_->currentRow());
}

void StylesDialog::showStyle(int row)
{
    if (row == row_ && row >= 0)
        return;
    row_ = row >= 0 && row < styles_.size() ? row : -1;
    for (QWidget* field : fields_)
        field->setEnabled(row_ >= 0);
    delete_->setEnabled(row_ >= 0);
    if (row_ < 0) {
        name_->clear();
        checkName();
        showSample();
        return;
    }
    showing_ = true;
    const NamedStyle& style = styles_.at(row_);
    const QTextCharFormat& character = style.character;
    name_->setText(style.name);
    const QStringList families = character.fontFamilies().toStringList();
    font_->setCurrentFont(QFont(families.isEmpty() ? QFont().family() : families.first()));
    size_->setValue(character.hasProperty(QTextFormat::FontPointSize) ? character.fontPointSize() : 12);
    bold_->setChecked(character.fontWeight() >= QFont::Bold);
    italic_->setChecked(character.fontItalic());
    underline_->setChecked(character.fontUnderline());
    strikeOut_->setChecked(character.fontStrikeOut());
    colour_->setCurrentIndex(colourIndex(colour_, character.hasProperty(QTextFormat::ForegroundBrush)
                                                      ? character.foreground().color()
                                                      : QColor(Qt::black)));
    paragraph_.Show(style.paragraph);
    showing_ = false;
    checkName();
    showSample();
}

// The fields into the highlighted style, every property set.
void StylesDialog::storeFields()
{
    if (showing_ || row_ < 0)
        return;
    NamedStyle& style = styles_[row_];
    style.name = name_->text().trimmed();
    list_->item(row_)->setText(style.name);
    QTextCharFormat character;
    character.setFontFamilies({font_->currentFont().family()});
    character.setFontPointSize(size_->value());
    character.setFontWeight(bold_->isChecked() ? QFont::Bold : QFont::Normal);
    character.setFontItalic(italic_->isChecked());
    character.setFontUnderline(underline_->isChecked());
    character.setFontStrikeOut(strikeOut_->isChecked());
    character.setForeground(QColor(QRgb(colour_->currentData().toUInt())));
    style.character = character;
    style.paragraph = paragraph_.Format();
    showSample();
}

// A blank name or that of another style holds everything but Delete and Cancel until it is mended.
void StylesDialog::checkName()
{
    QString problem;
    if (row_ >= 0) {
        const QString name = name_->text().trimmed();
        if (name.isEmpty())
            problem = QStringLiteral("A style needs a name.");
        for (qsizetype index = 0; index < styles_.size() && problem.isEmpty(); ++index)
            if (index != row_ && styles_.at(index).name.compare(name, Qt::CaseInsensitive) == 0)
                problem =
                    QStringLiteral("There is already a style named \"%1\".").arg(styles_.at(index).name);
    }
    message_->setText(problem);
    const bool fine = problem.isEmpty();
    list_->setEnabled(fine);
    new_->setEnabled(fine);
    ok_->setEnabled(fine);
    apply_->setEnabled(fine && row_ >= 0 && control_ && !control_->isReadOnly());
}

void StylesDialog::showSample()
{
    if (row_ < 0) {
        sample_->setFont(font());
        sample_->setPalette(palette());
        return;
    }
    const NamedStyle& style = styles_.at(row_);
    QFont font = style.character.font();
    font.setPointSizeF(qMin(style.character.fontPointSize(), 36.0)); // large sizes would stretch the window
    sample_->setFont(font);
    QPalette colours = sample_->palette();
    colours.setColor(QPalette::WindowText, style.character.foreground().color());
    sample_->setPalette(colours);
    sample_->setAlignment(RichTextControl::AlignmentOf(paragraph_.alignment->currentIndex()) |
                          Qt::AlignVCenter);
}

void StylesDialog::keepStyles()
{
    if (control_ && !control_->isReadOnly())
        control_->SetNamedStyles(styles_);
}

void StylesDialog::accept()
{
    if (!ok_->isEnabled())
        return;
    keepStyles();
    QDialog::accept();
}

void StylesDialog::ApplyToSelection()
{
    if (!apply_->isEnabled())
        return;
    keepStyles();
    control_->ApplyNamedStyle(styles_.at(row_).name);
    QDialog::accept();
}

} // namespace jornix
