#pragma once

#include <QDialog>
#include <QPointer>
#include <QTextCursor>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;

namespace jornix {

class RichTextControl;
struct ObjectAttributes;

// "Image Attributes" for the picture at the caret: "Fast Display?" and "Save As Data?", and the distances of
// the text from the picture ("Image Borders") in the unit, with two decimals. The distances count only for a
// picture the text flows round; for one that is a character of the text they are disabled and show 0. OK
// writes the check boxes and each distance the user changed (an unchanged one keeps its exact twips), as
// one step to undo; Cancel changes nothing. Without a picture at the caret the dialog shows the defaults
// and OK has nothing to write. The window is shown by its caller; result() tells how it ended.
class ImageAttributesDialog : public QDialog
{
    Q_OBJECT

public:
    ImageAttributesDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    void accept() override;

private:
    QPointer<RichTextControl> control_;
    std::optional<QTextCursor> image_;
    int unit_;
    QCheckBox* fastDisplay_;
    QCheckBox* saveAsData_;
    QGroupBox* borders_;
    QDoubleSpinBox* distances_[4]; // left, top, right, bottom
    double shown_[4] = {0, 0, 0, 0};
};

} // namespace jornix
