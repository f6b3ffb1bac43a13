#pragma once

#include <QDialog>
#include <QPointer>

class QComboBox;
class QDoubleSpinBox;

namespace jornix {

class RichTextControl;

// "Paragraph": indents in the unit, spacing above and below in points, line spacing and alignment of the
// paragraphs of the selection, starting from the paragraph at the caret. OK applies them as one step to
// undo; Cancel changes nothing. The window is shown by its caller; result() tells how it ended.
class ParagraphDialog : public QDialog
{
    Q_OBJECT

public:
    ParagraphDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    void accept() override;

private:
    QDoubleSpinBox* addEntry(const QString& name, double minimum);

    QPointer<RichTextControl> control_;
    int unit_;
    QDoubleSpinBox* left_;
    QDoubleSpinBox* right_;
    QDoubleSpinBox* firstLine_;
    QDoubleSpinBox* before_;
    QDoubleSpinBox* after_;
    QComboBox* lineSpacing_;
    QComboBox* alignment_;
};

} // namespace jornix
