// The table commands of the document component and its right-click menu.
#include "documents/TXEdit.h"

#include "documents/TableAttributesDialog.h"
#include "documents/TableDimensions.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/PopupChoice.h"
#include "platform/runtime/ProgramWindow.h"

#include <QCursor>
#include <QTextTable>

namespace jornix {

namespace {

// An item of a popup text: "~" in front when disabled.
QString item(const QString& text, bool enabled)
{
    return enabled ? text : QLatin1Char('~') + text;
}

// A document with no text but blanks and line ends, and no table.
bool isBlank(const RichTextControl& text)
{
    return text.Text().trimmed().isEmpty() && !text.TableOf(1);
}

} // namespace

void TXEdit::InsertRows(qint32 position)
{
    if (text_)
        text_->TableInsertLines(position, 1);
}

void TXEdit::InsertRowAbove()
{
    InsertRows(1);
}

void TXEdit::InsertRowBelow()
{
    InsertRows(2);
}

void TXEdit::InsertColumns(qint32 position)
{
    if (text_)
        text_->TableInsertColumn(position);
}

void TXEdit::InsertColumnLeft()
{
    InsertColumns(1);
}

void TXEdit::InsertColumnRight()
{
    InsertColumns(2);
}

void TXEdit::DeleteRows()
{
    if (!text_)
        return;
    text_->TableDeleteLines();
    text_->Refresh();
}

void TXEdit::DeleteColumns()
{
    if (!text_)
        return;
    text_->TableDeleteColumn();
    text_->Refresh();
}

void TXEdit::SelectTable(qint32 tableId)
{
    if (!text_)
        return;
    const int rows = text_->TableRows(tableId);
    const int columns = text_->TableColumns(tableId);
    if (rows == 0 || columns == 0)
        return;
    const int start = text_->TableCellStart(tableId, 1, 1);
    const int end =
        text_->TableCellStart(tableId, rows, columns) + text_->TableCellLength(tableId, rows, columns);
    text_->SetSelStart(start - 1);
    text_->SetSelLength(end - start + 1);
}

void TXEdit::DeleteTable(qint32 tableId)
{
    if (!text_ || !text_->TableOf(tableId))
        return;
    SelectTable(tableId);
    DeleteRows();
}

int TXEdit::CanChangeTableAttributes() const
{
    return text_ && text_->TableCanChangeAttr() ? 1 : 0;
}

int TXEdit::CanInsertTable() const
{
    return text_ && text_->TableCanInsert() ? 1 : 0;
}

int TXEdit::CanInsertColumns() const
{
    return text_ && text_->TableCanInsertColumn() ? 1 : 0;
}

int TXEdit::CanInsertRows() const
{
    return text_ && text_->TableCanInsertLines() ? 1 : 0;
}

int TXEdit::CanDeleteColumns() const
{
    return text_ && text_->TableCanDeleteColumn() ? 1 : 0;
}

int TXEdit::CanDeleteRows() const
{
    return text_ && text_->TableCanDeleteLines() ? 1 : 0;
}

void TXEdit::InsertTable()
{
    if (!text_ || text_->isReadOnly())
        return;
    const QString dimensions = TableDimensions::Run();
    if (!dimensions.startsWith(QLatin1Char('1')))
        return;
    const int id = text_->TableInsert(dimensions.mid(1, 3).toInt(), dimensions.mid(4, 3).toInt());
    if (id == 0) {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Insert Table"),
                       QStringLiteral("A table cannot be inserted inside a table."));
        return;
    }
    TableProperties(); // the first cell
    if (!text_ || !text_->TableOf(id))
        return;
    SelectTable(id);
    TableProperties(); // the whole table
    // Typing goes into the first cell, not over the table.
    if (text_ && text_->TableOf(id))
        text_->setTextCursor(text_->TableOf(id)->cellAt(0, 0).firstCursorPosition());
}

void TXEdit::TableProperties()
{
    if (!text_)
        return;
    TableAttributesDialog dialog(text_, measurements_);
    RunThreadModal(dialog);
    if (text_)
        text_->Refresh();
}

void TXEdit::TablePopupMenu()
{
    if (!text_)
        return;
    const bool attributes = text_->TableCanChangeAttr();
    const QString menu = item(QStringLiteral("Insert Table..."), text_->TableCanInsert()) + QLatin1Char('|') +
                         item(QStringLiteral("Attributes..."), attributes) + QLatin1Char('|') +
                         item(QStringLiteral("Delete Lines"), text_->TableCanDeleteLines()) +
                         QLatin1Char('|') +
                         item((text_->TableGridLines() ? QStringLiteral("+") : QStringLiteral("-")) +
                                  QStringLiteral("Grid Lines"),
                              attributes);
    switch (ShowPopup(menu, QCursor::pos())) {
    case 1:
        if (const QString dimensions = TableDimensions::Run();
            dimensions.startsWith(QLatin1Char('1')) && text_)
            text_->TableInsert(dimensions.mid(1, 3).toInt(), dimensions.mid(4, 3).toInt());
        break;
    case 2:
        TableProperties();
        break;
    case 3:
        if (text_)
            text_->TableDeleteLines();
        break;
    case 4:
        SetGridLines(0, 1);
        break;
    default:
        return;
    }
    if (text_)
        text_->Refresh();
}

void TXEdit::ContextMenu()
{
    if (!text_)
        return;
    const int table = text_->TableAtInputPos();
    const bool gridLines = text_->TableGridLines();
    const bool selection = HasSelection() == 1;
    const QChar separator = QLatin1Char('|');
    QString menu = QStringLiteral("Table{");
    menu += item(QStringLiteral("Properties..."), CanChangeTableAttributes()) + QStringLiteral("|-|");
    menu += item(QStringLiteral("Insert Table..."), CanInsertTable()) + separator;
    menu += item(QStringLiteral("Insert Columns (Left)"), CanInsertColumns()) + separator;
    menu += item(QStringLiteral("Insert Columns (Right)"), CanInsertColumns()) + separator;
    menu += item(QStringLiteral("Insert Rows (Above)"), CanInsertRows()) + separator;
    menu += item(QStringLiteral("Insert Rows (Below)"), CanInsertRows()) + QStringLiteral("|-|");
    menu += item(QStringLiteral("Delete Table"), table != 0) + separator;
    menu += item(QStringLiteral("Delete Column"), CanDeleteColumns()) + separator;
    menu += item(QStringLiteral("Delete Row"), CanDeleteRows()) + QStringLiteral("|-|");
    menu += item(QStringLiteral("Select Table"), table != 0) + QStringLiteral("|-|");
    menu +=
        (gridLines ? QStringLiteral("+") : QStringLiteral("-")) + QStringLiteral("Show Table Grid Lines}");
    menu += QStringLiteral("|Image{Properties...|Insert Image...}");
    menu += QStringLiteral("|Object{Insert Object...}");
    menu += QStringLiteral("|-|") + item(QStringLiteral("Cut"), selection) + separator +
            item(QStringLiteral("Copy"), selection) + separator + item(QStringLiteral("Paste"), CanPaste()) +
            separator + item(QStringLiteral("Delete"), selection);
    menu += QStringLiteral("|-|Font...|Paragraph...|Bullets and Numbering...");
    menu += QStringLiteral("|-|") + item(QStringLiteral("Select All"), !isBlank(*text_)) + separator;

    switch (ShowPopup(menu, QCursor::pos())) {
    case 1:
        TableProperties();
        break;
    case 2:
        InsertTable();
        break;
    case 3:
        InsertColumnLeft();
        break;
    case 4:
        InsertColumnRight();
        break;
    case 5:
        InsertRowAbove();
        break;
    case 6:
        InsertRowBelow();
        break;
    case 7:
        DeleteTable(table);
        break;
    case 8:
        DeleteColumns();
        break;
    case 9:
        DeleteRows();
        break;
    case 10:
        SelectTable(table);
        break;
    case 11:
        SetGridLines(gridLines ? 0 : 1, 0);
        break;
    case 12:
        ImageAttributes();
        break;
    case 13:
        InsertImage(1, 1);
        break;
    case 14:
        InsertObject(1);
        break;
    case 15:
        Cut();
        break;
    case 16:
        Copy();
        break;
    case 17:
        Paste();
        break;
    case 18:
        if (text_) // the control may have gone while the menu was open
            text_->Clip(4);
        break;
    case 19:
        FontDialog();
        break;
    case 20:
        ParagraphDialog();
        break;
    case 21:
        BulletsAndNumbering();
        break;
    case 22:
        SelectAll();
        break;
    default:
        break; // nothing chosen
    }
}

} // namespace jornix
