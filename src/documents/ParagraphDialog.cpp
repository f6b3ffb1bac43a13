#include "documents/ParagraphDialog.h"

#include "documents/DialogButtons.h"

#include "documents/MeasurementUnits.h"
#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RichTextControl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace jornix {

ParagraphDialog::ParagraphDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), fields_(unit)
{
    setObjectName(QStringLiteral("Paragraph"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setMinimumWidth(300);

    const QString unitName = UnitName(unit);
    auto* indents = new QGroupBox(QStringLiteral("Indents"));
    auto* indentRows = new QFormLayout(indents);
    AddPromptRow(indentRows, QStringLiteral("&Left:"), fields_.left, unitName);
    AddPromptRow(indentRows, QStringLiteral("&Right:"), fields_.right, unitName);
    AddPromptRow(indentRows, QStringLiteral("&First line:"), fields_.firstLine, unitName);
    auto* spacing = new QGroupBox(QStringLiteral("Spacing"));
    auto* spacingRows = new QFormLayout(spacing);
    AddPromptRow(spacingRows, QStringLiteral("&Before:"), fields_.before, QStringLiteral("pt"));
    AddPromptRow(spacingRows, QStringLiteral("&After:"), fields_.after, QStringLiteral("pt"));
    AddPromptRow(spacingRows, QStringLiteral("Line &spacing:"), fields_.lineSpacing);
    auto* alignmentRow = new QFormLayout;
    AddPromptRow(alignmentRow, QStringLiteral("Ali&gnment:"), fields_.alignment);

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(indents);
    layout->addWidget(spacing);
    layout->addLayout(alignmentRow);
    layout->addWidget(buttons);

    if (control)
        fields_.Show(control->textCursor().blockFormat());
}

void ParagraphDialog::accept()
{
    if (control_ && !control_->isReadOnly())
        control_->textCursor().mergeBlockFormat(fields_.Format()); // one step to undo
    QDialog::accept();
}

} // namespace jornix
