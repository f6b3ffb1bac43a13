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

namespace jornix {

using Value = DocumentPropertiesModel::Value;

DocumentPropertiesDialog::DocumentPropertiesDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), model_(control ? control->Page() : PageSettings{}, unit)
{
    setWindowTitle(QStringLiteral("Document Properties"));
    auto* layout = new QVBoxLayout(this);

    auto makeEntry = [this](Value value, const char* name) {
        auto* entry = new QDoubleSpinBox(this);
        entry->setObjectName(QLatin1String(name));
        entry->setDecimals(2);
        entry->setRange(0, 99999.99);  // eight digits with two decimals
        connect(entry, &QDoubleSpinBox::valueChanged, this, [this, value](double shown) { model_.Set(value, shown); });
        entries_[value] = entry;
        return entry;
    };

    auto* paperGroup = new QGroupBox(QStringLiteral("Paper Size"), this);
    auto* paperLayout = new QGridLayout(paperGroup);
    paper_ = new QComboBox(paperGroup);
    paper_->setObjectName(QStringLiteral("paperName"));
    for (const PaperSize& paper : DocumentPropertiesModel::PaperTable())
        paper_->addItem(paper.name);
    paperLayout->addWidget(paper_, 0, 0, 1, 2);
    const std::pair<Value, const char*> sizes[] = {{Value::Width, "Paper &Width:"}, {Value::Height, "Paper &Height:"}};
    const char* sizeNames[] = {"paperWidth", "paperHeight"};
    const char* sizeTips[] = {"Width of paper", "Paper Height"};
    for (int row = 0; row < 2; ++row) {
        QDoubleSpinBox* entry = makeEntry(sizes[row].first, sizeNames[row]);
        entry->setToolTip(QLatin1String(sizeTips[row]));
        auto* prompt = new QLabel(QLatin1String(sizes[row].second), paperGroup);
        prompt->setBuddy(entry);
        paperLayout->addWidget(prompt, row + 1, 0);
        paperLayout->addWidget(entry, row + 1, 1);
    }
    layout->addWidget(paperGroup);

    auto* marginGroup = new QGroupBox(QStringLiteral("Paper Margins"), this);
    auto* marginLayout = new QGridLayout(marginGroup);
    const std::tuple<Value, const char*, const char*> margins[] = {{Value::Left, "Le&ft:", "marginLeft"},
                                                                   {Value::Right, "Rig&ht:", "marginRight"},
                                                                   {Value::Top, "&Top:", "marginTop"},
                                                                   {Value::Bottom, "Botto&m:", "marginBottom"}};
    int row = 0;
    for (const auto& [value, text, name] : margins) {
        QDoubleSpinBox* entry = makeEntry(value, name);
        auto* prompt = new QLabel(QLatin1String(text), marginGroup);
        prompt->setBuddy(entry);
        auto* unitLabel = new QLabel(UnitName(unit), marginGroup);
        unitLabel->setObjectName(QLatin1String(name) + QStringLiteral("Unit"));
        marginLayout->addWidget(prompt, row, 0);
        marginLayout->addWidget(entry, row, 1);
        marginLayout->addWidget(unitLabel, row, 2);
        ++row;
    }
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

}  // namespace jornix
