#include "documents/DocumentPropertiesDialog.h"

#include "documents/MeasurementUnits.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <span>

namespace jornix {

using Value = DocumentPropertiesModel::Value;

DocumentPropertiesDialog::DocumentPropertiesDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), model_(control ? control->Page() : PageSettings{}, unit)
{
    setWindowTitle(QStringLiteral("Document Properties"));
    auto* layout = new QVBoxLayout(this);

    struct EntryRow
    {
        Value value;
        const char* prompt;
        const char* name;
        const char* tip;
    };
    // One row of prompt and entry, and for the margins the unit label behind it.
    auto addRows = [this, unit](QGroupBox* group, QGridLayout* grid, int firstRow,
                                std::span<const EntryRow> rows, bool withUnit) {
        int row = firstRow;
        for (const EntryRow& entryRow : rows) {
            auto* entry = new QDoubleSpinBox(group);
            entry->setObjectName(QLatin1String(entryRow.name));
            entry->setDecimals(2);
            entry->setRange(0, 99999.99); // eight digits with two decimals
            if (entryRow.tip)
                entry->setToolTip(QLatin1String(entryRow.tip));
            connect(entry, &QDoubleSpinBox::valueChanged, this,
                    [this, value = entryRow.value](double shown) { model_.Set(value, shown); });
            entries_[entryRow.value] = entry;
            auto* prompt = new QLabel(QLatin1String(entryRow.prompt), group);
            prompt->setBuddy(entry);
            grid->addWidget(prompt, row, 0);
            grid->addWidget(entry, row, 1);
            if (withUnit) {
                auto* unitLabel = new QLabel(UnitName(unit), group);
                unitLabel->setObjectName(QLatin1String(entryRow.name) + QStringLiteral("Unit"));
                grid->addWidget(unitLabel, row, 2);
            }
            ++row;
        }
    };

    auto* paperGroup = new QGroupBox(QStringLiteral("Paper Size"), this);
    auto* paperLayout = new QGridLayout(paperGroup);
    paper_ = new QComboBox(paperGroup);
    paper_->setObjectName(QStringLiteral("paperName"));
    for (const PaperSize& paper : DocumentPropertiesModel::PaperTable())
        paper_->addItem(paper.name);
    paperLayout->addWidget(paper_, 0, 0, 1, 2);
    const EntryRow sizes[] = {{Value::Width, "Paper &Width:", "paperWidth", "Width of paper"},
                              {Value::Height, "Paper &Height:", "paperHeight", "Paper Height"}};
    addRows(paperGroup, paperLayout, 1, sizes, false);
    layout->addWidget(paperGroup);

    auto* marginGroup = new QGroupBox(QStringLiteral("Paper Margins"), this);
    auto* marginLayout = new QGridLayout(marginGroup);
    const EntryRow margins[] = {{Value::Left, "Le&ft:", "marginLeft", nullptr},
                                {Value::Right, "Rig&ht:", "marginRight", nullptr},
                                {Value::Top, "&Top:", "marginTop", nullptr},
                                {Value::Bottom, "Botto&m:", "marginBottom", nullptr}};
    addRows(marginGroup, marginLayout, 0, margins, true);
    layout->addWidget(marginGroup);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(paper_, &QComboBox::activated, this, [this](int index) {
        model_.ChoosePaper(paper_->itemText(index));
        showValues();
    });
    showValues();
    ok->setFocus();
}

void DocumentPropertiesDialog::showValues()
{
    const QSignalBlocker paperBlocker(paper_);
    paper_->setCurrentText(model_.PaperName());
    for (int value = Value::Width; value <= Value::Bottom; ++value) {
        const QSignalBlocker blocker(entries_[value]);
        entries_[value]->setValue(model_.Get(Value(value)));
    }
}

void DocumentPropertiesDialog::accept()
{
    if (control_) {
        const PageSettings page = model_.Page();
        control_->SetPageMarginL(page.marginLeft);
        control_->SetPageMarginT(page.marginTop);
        control_->SetPageMarginR(page.marginRight);
        control_->SetPageMarginB(page.marginBottom);
        control_->SetPageWidth(page.width);
        control_->SetPageHeight(page.height);
    }
    QDialog::accept();
}

} // namespace jornix
