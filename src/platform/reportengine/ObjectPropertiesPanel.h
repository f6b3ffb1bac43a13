#pragma once

#include "platform/reportengine/ReportItems.h"
#include "platform/reportengine/ReportLayout.h"

#include <QScrollArea>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableWidget;
class QToolButton;

// The properties of the selected object (position, size, font, colour, frame, alignment, wrap, continue on
// the next page, its condition and what its kind holds: lines of a text, a picture, a barcode, the columns
// of a table with their formulas), or of the page when nothing is selected (paper, margins, orientation and
// the label grid). Every edit is one step of the document. Formulas are edited in the formula editor only,
// so that no formula that does not parse reaches the layout; commands that need a dialog (the formula
// editor, a colour, a picture file) are handed to `runTask`, which runs them on the designer's thread.
namespace jornix {

class LayoutDocument;

class ObjectPropertiesPanel : public QScrollArea
{
    Q_OBJECT

public:
    using TaskRunner = std::function<void(std::function<void()>)>;

    ObjectPropertiesPanel(LayoutDocument& document, const ReportItems& variables, const ReportItems& fields,
                          TaskRunner runTask, QWidget* parent = nullptr);

    // The folder of the layout file, where pictures named without a folder are.
    void SetLayoutFolder(const QString& folder) { layoutFolder_ = folder; }

    // Runs the formula editor (on the designer's thread) and gives the formula when it was confirmed.
    bool EditFormula(const QString& what, QString& formula, bool allowBlank);

    // The table part the formula columns of the column list stand for.
    enum class TablePart
    {
        Header,
        Data,
        GroupHeader,
        Footer
    };
    static constexpr int FirstFormulaColumn = 2; // of the column list: title, width, then the parts

private:
    QGroupBox* Section(const QString& title, const QString& name);
    QAction* Command(const QString& name, const QString& text);
    QToolButton* Button(QAction* action);
    QDoubleSpinBox* Length(const QString& name, double low, double high);
    void Refresh();
    void RefreshTable(const LayoutObject& object);
    // Changes the one selected object.
    void Edit(const QString& text, const std::function<void(LayoutObject&)>& change);
    void EditPage(const QString& text, const std::function<void(ReportLayout&)>& change);
    // The formula editor (or the colour dialog) for one value of the selected object.
    void AskFormula(const QString& what, bool allowBlank,
                    const std::function<QString&(LayoutObject&)>& formula);
    void AskColour(const QString& text, const std::function<QColor&(LayoutObject&)>& colour);
    void EditLine(int row);
    void EditCell();

    LayoutDocument& document_;
    const ReportItems& variables_;
    const ReportItems& fields_;
    TaskRunner runTask_;
    bool refreshing_ = false;
    QString layoutFolder_;

    QLabel* heading_;
    QGroupBox* objectBox_;
    QLineEdit* name_;
    QDoubleSpinBox* x_;
    QDoubleSpinBox* y_;
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QLineEdit* condition_;

    QGroupBox* textBox_;
    QListWidget* lines_;
    QFontComboBox* fontFamily_;
    QDoubleSpinBox* fontSize_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QToolButton* textColour_;
    QComboBox* alignment_;
    QCheckBox* wrap_;
    QCheckBox* continues_;

    QGroupBox* frameBox_;
    QToolButton* penColour_;
    QDoubleSpinBox* penWidth_;
    QToolButton* fillColour_;
    QCheckBox* filled_;

    QGroupBox* pictureBox_;
    QLineEdit* pictureFile_;
    QComboBox* pictureItem_;
    QCheckBox* keepAspect_;

    QGroupBox* barcodeBox_;
    QLineEdit* barcodeFormula_;
    QComboBox* symbology_;
    QCheckBox* showBarcodeText_;

    QGroupBox* tableBox_;
    QTableWidget* columns_;
    QLineEdit* groupFormula_;

    QGroupBox* pageBox_;
    QLineEdit* description_;
    QComboBox* paperSize_;
    QDoubleSpinBox* paperWidth_;
    QDoubleSpinBox* paperHeight_;
    QComboBox* orientation_;
    QDoubleSpinBox* margins_[4];

    QGroupBox* labelBox_;
    QSpinBox* labelRows_;
    QSpinBox* labelColumns_;
    QDoubleSpinBox* labelValues_[6]; // width, height, across, down, left, top
};

} // namespace jornix
