#include "platform/reportengine/PrintOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace jornix {

namespace {

const QList<std::pair<QString, QString>> Outputs{
    {QStringLiteral("PRV"), QStringLiteral("Preview")},
    {QStringLiteral("PRN"), QStringLiteral("Printer")},
    {QStringLiteral("PDF"), QStringLiteral("PDF file")},
    {QStringLiteral("RTF"), QStringLiteral("RTF file")},
    {QStringLiteral("HTML"), QStringLiteral("HTML file")},
    {QStringLiteral("MHTML"), QStringLiteral("MHTML file")},
    {QStringLiteral("JPG"), QStringLiteral("JPG pictures")},
    {QStringLiteral("BMP"), QStringLiteral("BMP pictures")},
    {QStringLiteral("EMF"), QStringLiteral("EMF pictures")},
    {QStringLiteral("XML"), QStringLiteral("XML file")},
    {QStringLiteral("XLS"), QStringLiteral("XLS workbook")},
    {QStringLiteral("TXT"), QStringLiteral("Text file")},
};

} // namespace

PrintOptionsDialog::PrintOptionsDialog(const QString& text, bool offerOutput)
    : printer_(new QComboBox(this)), copies_(new QSpinBox(this)),
      allPages_(new QRadioButton(tr("&All pages"), this)), somePages_(new QRadioButton(tr("Pa&ges"), this)),
      fromPage_(new QSpinBox(this)), toPage_(new QSpinBox(this)), output_(new QComboBox(this))
{
    setObjectName(QStringLiteral("printOptionsDialog"));
    setWindowTitle(tr("Print Options"));
    printer_->setObjectName(QStringLiteral("printerBox"));
    copies_->setObjectName(QStringLiteral("copiesBox"));
    allPages_->setObjectName(QStringLiteral("allPages"));
    somePages_->setObjectName(QStringLiteral("somePages"));
    fromPage_->setObjectName(QStringLiteral("fromPage"));
    toPage_->setObjectName(QStringLiteral("toPage"));
    output_->setObjectName(QStringLiteral("outputBox"));

    const QString defaultName = QPrinterInfo::defaultPrinterName();
    printer_->addItem(defaultName.isEmpty() ? tr("Default printer")
                                            : tr("Default printer (%1)").arg(defaultName),
                      QString());
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printer_->addItem(name, name);
    printer_->setMinimumWidth(260);
    copies_->setRange(1, 999);
    for (QSpinBox* page : {fromPage_, toPage_})
        page->setRange(1, 99999);
    for (const auto& [target, name] : Outputs)
        output_->addItem(name, target);

    auto* heading = new QLabel(text, this);
    heading->setObjectName(QStringLiteral("printHeading"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setWordWrap(true);

    auto* printerGroup = new QGroupBox(tr("Printer"), this);
    auto* printerForm = new QFormLayout(printerGroup);
    printerForm->addRow(tr("&Name:"), printer_);
    printerForm->addRow(tr("&Copies:"), copies_);

    auto* pagesGroup = new QGroupBox(tr("Pages"), this);
    auto* pagesLayout = new QVBoxLayout(pagesGroup);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(somePages_);
    rangeRow->addWidget(fromPage_);
    rangeRow->addWidget(new QLabel(tr("to"), this));
    rangeRow->addWidget(toPage_);
    rangeRow->addStretch();
    pagesLayout->addWidget(allPages_);
    pagesLayout->addLayout(rangeRow);

    auto* outputGroup = new QGroupBox(tr("Output"), this);
    auto* outputForm = new QFormLayout(outputGroup);
    outputForm->addRow(tr("&Print to:"), output_);
    outputGroup->setVisible(offerOutput);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(printerGroup);
    layout->addWidget(pagesGroup);
    layout->addWidget(outputGroup);
    layout->addStretch();
    layout->addWidget(buttons);

    const auto ranged = [this] {
        fromPage_->setEnabled(somePages_->isChecked());
        toPage_->setEnabled(somePages_->isChecked());
    };
    connect(somePages_, &QRadioButton::toggled, this, ranged);
    connect(fromPage_, &QSpinBox::valueChanged, this, [this](int from) {
        if (toPage_->value() < from)
            toPage_->setValue(from);
    });
    SetChoices({});
    ranged();
    adjustSize();
}

void PrintOptionsDialog::SetChoices(const PrintChoices& choices)
{
    const int printer = printer_->findData(choices.printer);
    printer_->setCurrentIndex(printer < 0 ? 0 : printer);
    copies_->setValue(choices.copies);
    const bool some = choices.fromPage > 0 || choices.toPage > 0;
    (some ? somePages_ : allPages_)->setChecked(true);
    fromPage_->setValue(std::max(choices.fromPage, 1));
    toPage_->setValue(choices.toPage > 0 ? choices.toPage : std::max(choices.fromPage, 1));
    if (!choices.target.isEmpty() && output_->findData(choices.target) < 0)
        output_->addItem(choices.target, choices.target); // another export format, offered as it is named
    output_->setCurrentIndex(std::max(output_->findData(choices.target), 0));
}

PrintChoices PrintOptionsDialog::Choices() const
{
    PrintChoices choices;
    choices.printer = printer_->currentData().toString();
    choices.copies = copies_->value();
    if (somePages_->isChecked()) {
        choices.fromPage = fromPage_->value();
        choices.toPage = std::max(toPage_->value(), fromPage_->value());
    }
    choices.target = output_->currentData().toString();
    return choices;
}

} // namespace jornix
