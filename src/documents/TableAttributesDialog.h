#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QSpinBox;
class QTextTable;

namespace jornix {

class RichTextControl;

// "Table Attributes": the border, cell padding and width of the table at the caret, and the background and
// column width of its cells that the selection covers (the caret's cell, the selected cells, or all of them
// when the whole table is selected). Padding and column widths are in the unit, borders in points. OK writes
// what was changed, as one step to undo; Cancel changes nothing. Without a table at the caret the window
// shows the defaults and OK changes nothing. The window is shown by its caller; result() tells how it ended.
class TableAttributesDialog : public QDialog
{
    Q_OBJECT

public:
    TableAttributesDialog(RichTextControl* control, int unit, QWidget* parent = nullptr);

    void accept() override;

private:
    QDoubleSpinBox* unitEntry(const QString& name);

    QPointer<RichTextControl> control_;
    QTextTable* table_ = nullptr;
    int unit_;
    int firstRow_ = 0, rows_ = 0, firstColumn_ = 0, columns_ = 0;
    QDoubleSpinBox* borderWidth_;
    QComboBox* borderColour_;
    QDoubleSpinBox* padding_;
    QSpinBox* tableWidth_;
    QGroupBox* cells_;
    QComboBox* background_;
    QDoubleSpinBox* columnWidth_;
    // The values shown at the start, to write only what was changed.
    double borderWidthShown_ = 0, paddingShown_ = 0, columnWidthShown_ = 0;
    int tableWidthShown_ = 0, borderColourShown_ = 0, backgroundShown_ = 0;
};

} // namespace jornix
