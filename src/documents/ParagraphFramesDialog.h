#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QDoubleSpinBox;

namespace jornix {

class RichTextControl;

// "Paragraph Frames" for the paragraphs of the selection: the parts of the frame (the four sides and lines
// at the tab stops), its styles (one frame round a run of paragraphs, double lines), the text distance and
// the line width in points, at most 12. It opens with the frame of the selection's paragraphs (a value they
// do not share shows 0); OK frames them as one step to undo, keeping each paragraph's own distance or width
// where the entry shows 0; Cancel changes nothing. The window is shown by its caller; result() tells how it
// ended (Accepted for OK).
class ParagraphFramesDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr double LargestPoints = 12;

    explicit ParagraphFramesDialog(RichTextControl* control, QWidget* parent = nullptr);

    void accept() override;

private:
    QPointer<RichTextControl> control_;
    QCheckBox* left_;
    QCheckBox* top_;
    QCheckBox* right_;
    QCheckBox* bottom_;
    QCheckBox* tabLines_;
    QCheckBox* connected_;
    QCheckBox* doubleLines_;
    QDoubleSpinBox* distance_;
    QDoubleSpinBox* lineWidth_;
};

} // namespace jornix
