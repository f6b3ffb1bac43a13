#pragma once

#include <QDialog>
#include <QPointer>

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace jornix {

class RichTextControl;

// "Bullets and Numbering": whether the paragraphs of the selection form a bulleted list, a numbered list or
// none, with the bullet's or number's look and the list's level, starting from the list at the caret. OK
// applies it; Cancel changes nothing. The window is shown by its caller; result() tells how it ended.
class BulletsAndNumberingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BulletsAndNumberingDialog(RichTextControl* control, QWidget* parent = nullptr);

    void accept() override;

private:
    QPointer<RichTextControl> control_;
    QRadioButton* none_;
    QRadioButton* bullets_;
    QRadioButton* numbers_;
    QComboBox* bulletStyle_;
    QComboBox* numberStyle_;
    QSpinBox* level_;
};

} // namespace jornix
