#include "documents/BulletsAndNumberingDialog.h"

#include "documents/DialogButtons.h"

#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextList>
#include <QVBoxLayout>

namespace jornix {

namespace {

const std::pair<const char*, QTextListFormat::Style> BulletStyles[] = {
    {"\u25cf Disc", QTextListFormat::ListDisc},
    {"\u25cb Circle", QTextListFormat::ListCircle},
    {"\u25a0 Square", QTextListFormat::ListSquare}};
const std::pair<const char*, QTextListFormat::Style> NumberStyles[] = {
    {"1. 2. 3.", QTextListFormat::ListDecimal},
    {"a. b. c.", QTextListFormat::ListLowerAlpha},
    {"A. B. C.", QTextListFormat::ListUpperAlpha},
    {"i. ii. iii.", QTextListFormat::ListLowerRoman},
    {"I. II. III.", QTextListFormat::ListUpperRoman}};

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

} // namespace

BulletsAndNumberingDialog::BulletsAndNumberingDialog(RichTextControl* control, QWidget* parent)
    : QDialog(parent), control_(control), none_(new QRadioButton(QStringLiteral("&None"))),
      bullets_(new QRadioButton(QStringLiteral("&Bullets"))), numbers_(new QRadioButton(QStringLiteral("N&umbers"))),
      bulletStyle_(new QComboBox), numberStyle_(new QComboBox), level_(new QSpinBox)
{
    setObjectName(QStringLiteral("BulletsAndNumbering"));
    setWindowTitle(QStringLiteral("Bullets and Numbering"));
    setMinimumWidth(300);
    none_->setObjectName(QStringLiteral("None"));
    bullets_->setObjectName(QStringLiteral("Bullets"));
    numbers_->setObjectName(QStringLiteral("Numbers"));
    bulletStyle_->setObjectName(QStringLiteral("BulletStyle"));
    numberStyle_->setObjectName(QStringLiteral("NumberStyle"));
    level_->setObjectName(QStringLiteral("Level"));
    for (const auto& [text, style] : BulletStyles)
        bulletStyle_->addItem(QString::fromUtf8(text), int(style));
    for (const auto& [text, style] : NumberStyles)
        numberStyle_->addItem(QString::fromUtf8(text), int(style));
    level_->setRange(1, 8);

    auto* group = new QGroupBox(QStringLiteral("List"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(none_, 0, 0);
    grid->addWidget(bullets_, 1, 0);
    grid->addWidget(bulletStyle_, 1, 1);
    grid->addWidget(numbers_, 2, 0);
    grid->addWidget(numberStyle_, 2, 1);
    auto* levelLabel = new QLabel(QStringLiteral("&Level:"));
    levelLabel->setBuddy(level_);
    grid->addWidget(levelLabel, 3, 0);
    grid->addWidget(level_, 3, 1);
    grid->setColumnStretch(1, 1);
    connect(bulletStyle_, &QComboBox::activated, bullets_, [this] { bullets_->setChecked(true); });
    connect(numberStyle_, &QComboBox::activated, numbers_, [this] { numbers_->setChecked(true); });

    QDialogButtonBox* buttons = OkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    const QTextList* list = control ? control->textCursor().currentList() : nullptr;
    if (!list) {
        none_->setChecked(true);
        level_->setValue(1);
        return;
    }
    const QTextListFormat format = list->format();
    (isBullet(format.style()) ? bullets_ : numbers_)->setChecked(true);
    QComboBox* styles = isBullet(format.style()) ? bulletStyle_ : numberStyle_;
    styles->setCurrentIndex(qMax(0, styles->findData(int(format.style()))));
    level_->setValue(qMax(1, format.indent()));
}

void BulletsAndNumberingDialog::accept()
{
    if (control_ && !control_->isReadOnly()) {
        QTextCursor cursor = control_->textCursor();
        cursor.beginEditBlock();
        if (none_->isChecked()) {
            control_->SetListType(0);
        } else {
            QComboBox* styles = bullets_->isChecked() ? bulletStyle_ : numberStyle_;
            QTextListFormat format;
            format.setStyle(QTextListFormat::Style(styles->currentData().toInt()));
            format.setIndent(level_->value());
            if (QTextList* list = cursor.currentList())
                list->setFormat(format);
            else
                cursor.createList(format);
        }
        cursor.endEditBlock();
    }
    QDialog::accept();
}

} // namespace jornix
