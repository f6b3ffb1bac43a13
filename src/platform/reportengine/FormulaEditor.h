#pragma once

#include "platform/reportengine/Formula.h"
#include "platform/reportengine/ReportItems.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The formula editor of the designer: the formula, a tree of the declared variables and fields with their
// sample values and of the functions, and a line that checks the formula as it is typed. It shows what is
// wrong and where, or the formula's value with the sample values; OK is refused while the formula does not
// parse, so a wrong formula never reaches the layout. A double-click (or Enter) in the tree puts the name at
// the cursor.
namespace jornix {

class FormulaEditor : public QDialog
{
    Q_OBJECT

public:
    // `allowBlank`: an empty formula is accepted (an object's condition: always).
    FormulaEditor(const ReportItems& variables, const ReportItems& fields, const QString& what,
                  const QString& formula, bool allowBlank, QWidget* parent = nullptr);

    QString FormulaText() const;
    void SetFormulaText(const QString& text);
    // The check of the text as it stands: empty when it is fine.
    QString Problem() const { return problem_; }
    // The names the tree offers, as they are inserted.
    QStringList OfferedNames() const;

    // What a formula reads from the declared items (fields before variables, as in a print run).
    static FormulaContext SampleContext(const ReportItems& variables, const ReportItems& fields);

    void accept() override;

private:
    void Check();
    void Insert(QTreeWidgetItem* item);

    const ReportItems& variables_;
    const ReportItems& fields_;
    bool allowBlank_;
    QString problem_;
    QPlainTextEdit* text_;
    QTreeWidget* tree_;
    QLabel* status_;
    QDialogButtonBox* buttons_;
};

} // namespace jornix
