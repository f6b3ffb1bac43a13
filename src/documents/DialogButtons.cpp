#include "documents/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace jornix {

QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void AddPromptRow(QFormLayout* rows, const QString& prompt, QWidget* entry, const QString& unit)
{
    auto* label = new QLabel(prompt);
    label->setBuddy(entry);
    if (unit.isEmpty()) {
        rows->addRow(label, entry);
        return;
    }
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(entry, 1);
    auto* unitLabel = new QLabel(unit);
    unitLabel->setMinimumWidth(unitLabel->fontMetrics().horizontalAdvance(QStringLiteral("Inch")));
    layout->addWidget(unitLabel);
    rows->addRow(label, row);
}

} // namespace jornix
