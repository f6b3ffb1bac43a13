#pragma once

#include "documents/DocumentPropertiesModel.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QDoubleSpinBox;

namespace jornix {

class RichTextControl;

// The "Document Properties" window: paper size and margins of the control's page, in the unit. OK writes
// the six values to the control and accepts; Cancel or the close box rejects and writes nothing. The window
// is shown by its caller (never run in a loop of its own); result() tells how it ended.
class DocumentPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    DocumentPropertiesDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    const DocumentPropertiesModel& Model() const { return model_; }

    void accept() override;

private:
    void showValues();

    QPointer<RichTextControl> control_;
    DocumentPropertiesModel model_;
    QComboBox* paper_;
    QDoubleSpinBox* entries_[6];
};

} // namespace jornix
