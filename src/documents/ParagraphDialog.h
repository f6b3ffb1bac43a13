#pragma once

#include "documents/ParagraphFields.h"

#include <QDialog>
#include <QPointer>

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
    QPointer<RichTextControl> control_;
    ParagraphFields fields_;
};

} // namespace jornix
