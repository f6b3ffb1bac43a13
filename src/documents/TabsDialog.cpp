#include "documents/TabsDialog.h"

#include "documents/DialogButtons.h"

#include "documents/MeasurementUnits.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace jornix {

namespace {

const std::pair<const char*, QTextOption::TabType> TabTypes[] = {{"Left", QTextOption::LeftTab},
                                                                 {"Right", QTextOption::RightTab},
                                                                 {"Center", QTextOption::CenterTab},
                                                                 {"Decimal", QTextOption::DelimiterTab}};

} // namespace

TabsDialog::TabsDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), unit_(unit), position_(new QDoubleSpinBox), type_(new QComboBox),
      list_(new QListWidget)
{
    setObjectName(QStringLiteral("Tabs"));
    setWindowTitle(QStringLiteral("Tabs"));
    position_->setObjectName(QStringLiteral("Position"));
    position_->setDecimals(2);
    position_->setRange(0, 9999.99);
    position_->setSuffix(QLatin1Char(' ') + UnitName(unit));
    type_->setObjectName(QStringLiteral("Alignment"));
    for (const auto& [text, type] : TabTypes)
        type_->addItem(QString::fromLatin1(text), int(type));
    list_->setObjectName(QStringLiteral("List"));

    auto* grid = new QGridLayout;
    auto* positionLabel = new QLabel(QStringLiteral("Tab stop &position:"));
    positionLabel->setBuddy(position_);
    auto* typeLabel = new QLabel(QStringLiteral("&Alignment:"));
    typeLabel->setBuddy(type_);
    grid->addWidget(positionLabel, 0, 0);
    grid->addWidget(position_, 0, 1);
    grid->addWidget(typeLabel, 1, 0);
    grid->addWidget(type_, 1, 1);
    grid->addWidget(list_, 2, 0, 1, 2);
    auto* side = new QVBoxLayout;
    auto addButton = [&](const QString& text, const QString& name) {
        auto* button = new QPushButton(text);
        button->setObjectName(name);
        side->addWidget(button);
        return button;
    };
    connect(addButton(QStringLiteral("&Set"), QStringLiteral("Set")), &QPushButton::clicked, this,
            &TabsDialog::setStop);
    connect(addButton(QStringLiteral("&Clear"), QStringLiteral("Clear")), &QPushButton::clicked, this,
            &TabsDialog::clearStop);
    connect(addButton(QStringLiteral("Clear A&ll"), QStringLiteral("ClearAll")), &QPushButton::clicked, this,
            [this] {
                tabs_.clear();
                showTabs();
            });
    side->addStretch();
    grid->addLayout(side, 0, 2, 3, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row >= tabs_.size())
            return;
        position_->setValue(TwipsToUnits(qRound(tabs_[row].position * TwipsPerLayoutUnit), unit_));
        type_->setCurrentIndex(std::max(0, type_->findData(int(tabs_[row].type))));
    });
    if (control)
        tabs_ = control->textCursor().blockFormat().tabPositions();
    showTabs();
}

void TabsDialog::setStop()
{
    const qreal position = UnitsToTwips(position_->value(), unit_) / TwipsPerLayoutUnit;
    const auto type = QTextOption::TabType(type_->currentData().toInt());
    const QChar delimiter = type == QTextOption::DelimiterTab ? QLocale().decimalPoint().at(0) : QChar();
    tabs_.removeIf([position](const QTextOption::Tab& tab) { return qAbs(tab.position - position) < 0.5; });
    tabs_.append(QTextOption::Tab(position, type, delimiter));
    std::sort(tabs_.begin(), tabs_.end(),
              [](const QTextOption::Tab& a, const QTextOption::Tab& b) { return a.position < b.position; });
    showTabs();
}

void TabsDialog::clearStop()
{
    const int row = list_->currentRow();
    if (row >= 0 && row < tabs_.size())
        tabs_.removeAt(row);
    showTabs();
}

void TabsDialog::showTabs()
{
    list_->clear();
    for (const QTextOption::Tab& tab : tabs_) {
        QString type;
        for (const auto& [text, tabType] : TabTypes)
            if (tabType == tab.type)
                type = QString::fromLatin1(text);
        list_->addItem(QStringLiteral("%1 %2\t%3")
                           .arg(TwipsToUnits(qRound(tab.position * TwipsPerLayoutUnit), unit_), 0, 'f', 2)
                           .arg(UnitName(unit_), type));
    }
}

void TabsDialog::accept()
{
    if (control_ && !control_->isReadOnly()) {
        QTextCursor cursor = control_->textCursor();
        cursor.beginEditBlock();
        const int end = cursor.selectionEnd();
        for (QTextBlock block = control_->document()->findBlock(cursor.selectionStart());
             block.isValid() && block.position() <= end; block = block.next()) {
            QTextCursor at(block);
            QTextBlockFormat format = block.blockFormat();
            format.setTabPositions(tabs_);
            at.setBlockFormat(format);
        }
        cursor.endEditBlock();
    }
    QDialog::accept();
}

} // namespace jornix
