#pragma once

#include "documents/ParagraphFields.h"
#include "platform/richtext/NamedStyles.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace jornix {

class RichTextControl;

// "Styles": the named styles of the control's document. New adds a style of the formatting at the caret,
// Delete removes the highlighted one, and the fields change it: its name (not blank, not that of another
// style), its font, size, weight, italic, underline, strike-through and colour, its paragraphs' alignment,
// indents in the unit, spacing in points and line spacing. OK keeps the styles; "Apply to Selection" keeps
// them and puts the highlighted style on the selection; Cancel changes nothing. The window is shown by
// its caller; result() tells how it ended.
class StylesDialog : public QDialog
{
    Q_OBJECT

public:
    StylesDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    const QList<NamedStyle>& Styles() const { return styles_; }
    void accept() override;
    void ApplyToSelection();

private:
    void addStyle();
    void deleteStyle();
    void showStyle(int row);
    void storeFields();
    void checkName();
    void showSample();
    void keepStyles();

    QPointer<RichTextControl> control_;
    QList<NamedStyle> styles_;
    int row_ = -1;
    bool showing_ = false; // the fields are being filled from a style, not edited
    QListWidget* list_;
    QLineEdit* name_;
    QFontComboBox* font_;
    QDoubleSpinBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QCheckBox* strikeOut_;
    QComboBox* colour_;
    ParagraphFields paragraph_;
    QLabel* sample_;
    QLabel* message_;
    QPushButton* new_;
    QPushButton* delete_;
    QPushButton* apply_;
    QPushButton* ok_;
    QList<QWidget*> fields_;
};

} // namespace jornix
