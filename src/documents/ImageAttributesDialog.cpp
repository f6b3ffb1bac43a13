#include "documents/ImageAttributesDialog.h"

#include "documents/DialogButtons.h"
#include "documents/MeasurementUnits.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/RichTextControl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTextImageFormat>
#include <QVBoxLayout>

#include <cmath>

namespace jornix {

ImageAttributesDialog::ImageAttributesDialog(RichTextControl* control, int unit, QWidget* parent)
    : QDialog(parent), control_(control), unit_(unit)
{
    setObjectName(QStringLiteral("ImageAttributes"));
    setWindowTitle(QStringLiteral("Image Attributes"));

    auto* options = new QGroupBox(QStringLiteral("Options"));
    fastDisplay_ = new QCheckBox(QStringLiteral("Fast Display?"));
    fastDisplay_->setObjectName(QStringLiteral("FastDisplay"));
    saveAsData_ = new QCheckBox(QStringLiteral("Save As Data?"));
    saveAsData_->setObjectName(QStringLiteral("SaveAsData"));
    auto* optionRows = new QVBoxLayout(options);
    optionRows->addWidget(fastDisplay_);
    optionRows->addWidget(saveAsData_);

    // The entries in the order of "ObjectDistance(1)" to (4); shown left, right, top, bottom.
    borders_ = new QGroupBox(QStringLiteral("Image Borders"));
    borders_->setObjectName(QStringLiteral("ImageBorders"));
    auto* borderRows = new QGridLayout(borders_);
    const QString names[4] = {QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Right"),
                              QStringLiteral("Bottom")};
    const QString prompts[4] = {QStringLiteral("Le&ft:"), QStringLiteral("To&p:"), QStringLiteral("Rig&ht:"),
                                QStringLiteral("Botto&m:")};
    const int rows[4] = {0, 2, 1, 3};
    for (int side = 0; side < 4; ++side) {
        auto* entry = new QDoubleSpinBox;
        entry->setObjectName(names[side]);
        entry->setDecimals(2);
        entry->setRange(0, 999999.99);
        distances_[side] = entry;
        auto* prompt = new QLabel(prompts[side]);
        prompt->setBuddy(entry);
        borderRows->addWidget(prompt, rows[side], 0);
        borderRows->addWidget(entry, rows[side], 1);
        borderRows->addWidget(new QLabel(UnitName(unit)), rows[side], 2);
    }
    borderRows->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(borders_);
    layout->addWidget(OkCancelButtons(this));
    setMinimumWidth(280);
    fastDisplay_->setFocus();

    if (control)
        image_ = ImageAt(control->textCursor());
    const ObjectAttributes attributes = image_ ? AttributesOf(image_->charFormat().toImageFormat()) : ObjectAttributes();
    fastDisplay_->setChecked(attributes.displayMode != 0);
    saveAsData_->setChecked(attributes.saveMode != 0);
    const bool flows = attributes.textflow != 0;
    borders_->setEnabled(flows);
    for (int side = 0; side < 4; ++side) {
        distances_[side]->setValue(flows ? TwipsToUnits(attributes.distances[side], unit) : 0);
        shown_[side] = distances_[side]->value();
    }
}

void ImageAttributesDialog::accept()
{
    if (control_ && image_ && !control_->isReadOnly()) {
        QTextImageFormat format = image_->charFormat().toImageFormat();
        ObjectAttributes attributes = AttributesOf(format);
        if (attributes.textflow != 0)
            for (int side = 0; side < 4; ++side)
                if (distances_[side]->value() != shown_[side])
                    attributes.distances[side] = int(std::lround(UnitsToTwips(distances_[side]->value(), unit_)));
        attributes.displayMode = fastDisplay_->isChecked() ? 1 : 0;
        attributes.saveMode = saveAsData_->isChecked() ? 1 : 0;
        SetAttributes(format, attributes);
        image_->setCharFormat(format); // one step to undo
    }
    QDialog::accept();
}

} // namespace jornix
