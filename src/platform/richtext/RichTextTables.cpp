// The table operations of the rich-text control.
#include "platform/richtext/RichTextControl.h"

#include "platform/richtext/TypingFont.h"

#include <QAbstractTextDocumentLayout>
#include <QAbstractUndoItem>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <limits>

namespace jornix {

namespace {

void collectTables(QTextFrame* frame, QList<QTextTable*>& tables)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.append(table);
        collectTables(child, tables);
    }
}

QList<QTextTable*> tablesOf(QTextDocument& document)
{
    QList<QTextTable*> tables;
    collectTables(document.rootFrame(), tables);
    return tables;
}

// Rows and columns of the table that the selection covers (from 0): the selected cells, the whole table
// when the selection holds it, else the caret's cell.
struct CellRange
{
    int row = 0, rows = 1, column = 0, columns = 1;
};

CellRange rangeOf(const QTextCursor& cursor, QTextTable& table)
{
    CellRange range;
    if (cursor.currentTable() == &table) {
        if (cursor.hasComplexSelection()) {
            cursor.selectedTableCells(&range.row, &range.rows, &range.column, &range.columns);
            return range;
        }
        const QTextTableCell cell = table.cellAt(cursor);
        range.row = cell.row();
        range.column = cell.column();
        range.rows = cell.rowSpan();
        range.columns = cell.columnSpan();
        return range;
    }
    return {0, table.rows(), 0, table.columns()};
}

// Puts a table's format back on undo and again on redo.
class TableFormatStep : public QAbstractUndoItem
{
public:
    TableFormatStep(QTextTable& table, QTextTableFormat before, QTextTableFormat after)
        : table_(&table), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override
    {
        if (table_)
            table_->setFormat(before_);
    }
    void redo() override
    {
        if (table_)
            table_->setFormat(after_);
    }

private:
    QPointer<QTextTable> table_;
    QTextTableFormat before_;
    QTextTableFormat after_;
};

// Keeps fixed column widths in step with inserted and deleted columns.
void insertColumnWidth(QTextTable& table, int at)
{
    QTextTableFormat format = table.format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    if (widths.isEmpty())
        return;
    widths.insert(qMin(at, int(widths.size())), QTextLength());
    format.setColumnWidthConstraints(widths);
    RichTextControl::SetTableFormat(table, format);
}

void removeColumnWidths(QTextTable& table, int at, int count)
{
    QTextTableFormat format = table.format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    if (at >= widths.size())
        return;
    widths.remove(at, qMin(count, int(widths.size()) - at));
    format.setColumnWidthConstraints(widths);
    RichTextControl::SetTableFormat(table, format);
}

// New cells take the font of the text at the caret: the cell's own character format is the one that text
// typed into the empty cell takes.
void giveCellsFont(QTextTable& table, int row, int rows, int column, int columns, const QTextCharFormat& font)
{
    for (int r = row; r < row + rows && r < table.rows(); ++r)
        for (int c = column; c < column + columns && c < table.columns(); ++c) {
            QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextCharFormat format = cell.format();
            format.merge(font);
            cell.setFormat(format);
        }
}

// Removes the table with its cells. The paragraph after it stays a paragraph of its own.
void removeTable(QTextTable& table)
{
    QTextDocument* document = table.document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    const int before = table.firstPosition() - 1;
    QTextCursor after(document);
    after.setPosition(table.lastPosition() + 1);
    const QTextBlockFormat afterFormat = after.blockFormat();
    const QTextCharFormat afterCharFormat = after.blockCharFormat();
    table.removeRows(0, table.rows());
    edit.setPosition(before);
    edit.insertBlock(afterFormat, afterCharFormat);
    edit.endEditBlock();
}

} // namespace

void RichTextControl::SetTableFormat(QTextTable& table, const QTextTableFormat& format)
{
    const QTextTableFormat before = table.format();
    if (before == format)
        return;
    table.setFormat(format);
    table.document()->appendUndoItem(new TableFormatStep(table, before, format));
}

void RichTextControl::paintGridLines(QPainter& painter)
{
    // The cells of each table without border, dotted: a cell as wide as its text and as high as its row,
    // with the table's padding round it.
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    for (QTextTable* table : tablesOf(*document())) {
        if (table->format().border() > 0)
            continue;
        auto areaOf = [&](const QTextTableCell& cell) {
            QRectF area;
            for (QTextBlock block = cell.firstCursorPosition().block();
                 block.isValid() && block.position() <= cell.lastPosition(); block = block.next())
                area |= layout->blockBoundingRect(block);
            return area;
        };
        QList<qreal> tops(table->rows(), std::numeric_limits<qreal>::max());
        QList<qreal> bottoms(table->rows(), std::numeric_limits<qreal>::lowest());
        for (int row = 0; row < table->rows(); ++row)
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column || cell.rowSpan() > 1)
                    continue;
                const QRectF area = areaOf(cell);
                tops[row] = qMin(tops[row], area.top());
                bottoms[row] = qMax(bottoms[row], area.bottom());
            }
        const qreal padding = table->format().cellPadding();
        for (int row = 0; row < table->rows(); ++row)
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() != row || cell.column() != column)
                    continue;
                QRectF area = areaOf(cell);
                const int last = row + cell.rowSpan() - 1;
                if (tops[row] < area.top())
                    area.setTop(tops[row]);
                if (last < bottoms.size() && bottoms[last] > area.bottom())
                    area.setBottom(bottoms[last]);
                painter.drawRect(area.adjusted(-padding, -padding, padding, padding));
            }
    }
}

QTextTable* RichTextControl::TableOf(int id) const
{
    const QList<QTextTable*> tables = tablesOf(*document());
    return id >= 1 && id <= tables.size() ? tables.at(id - 1) : nullptr;
}

int RichTextControl::TableId(const QTextTable* table) const
{
    return table ? int(tablesOf(*document()).indexOf(table)) + 1 : 0;
}

QTextTable* RichTextControl::CurrentTable() const
{
    const QTextCursor cursor = textCursor();
    if (QTextTable* table = cursor.currentTable())
        return table;
    if (!cursor.hasSelection())
        return nullptr;
    // A selection that holds a whole table runs from just before it to just after it.
    for (QTextTable* table : tablesOf(*document()))
        if (table->firstPosition() - 1 == cursor.selectionStart() &&
            table->lastPosition() + 1 == cursor.selectionEnd())
            return table;
    return nullptr;
}

int RichTextControl::TableAtInputPos() const
{
    return TableId(CurrentTable());
}

int RichTextControl::TableRows(int id) const
{
    const QTextTable* table = TableOf(id);
    return table ? table->rows() : 0;
}

int RichTextControl::TableColumns(int id) const
{
    const QTextTable* table = TableOf(id);
    return table ? table->columns() : 0;
}

int RichTextControl::TableCellStart(int id, int row, int column) const
{
    const QTextTable* table = TableOf(id);
    const QTextTableCell cell = table ? table->cellAt(row - 1, column - 1) : QTextTableCell();
    return cell.isValid() ? cell.firstPosition() + 1 : 0;
}

int RichTextControl::TableCellLength(int id, int row, int column) const
{
    const QTextTable* table = TableOf(id);
    const QTextTableCell cell = table ? table->cellAt(row - 1, column - 1) : QTextTableCell();
    return cell.isValid() ? cell.lastPosition() - cell.firstPosition() : 0;
}

int RichTextControl::TableInsert(int rows, int columns)
{
    if (!TableCanInsert() || rows < 1 || columns < 1 || rows > MaxTableDimension ||
        columns > MaxTableDimension)
        return 0;
    QTextCursor cursor = textCursor();
    // Taken before the selection is cleared: that forgets the format the caret types with.
    const QTextCharFormat font = TypingFont(cursor);
    cursor.clearSelection();
    QTextTableFormat format;
    format.setBorder(0); // the grid lines show the cells until a border is given
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(Qt::black));
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    cursor.beginEditBlock();
    QTextTable* table = cursor.insertTable(rows, columns, format);
    giveCellsFont(*table, 0, rows, 0, columns, font);
    cursor.endEditBlock();
    setTextCursor(table->cellAt(0, 0).firstCursorPosition());
    return TableId(table);
}

bool RichTextControl::moveToNeighbourCell(bool forward)
{
    QTextCursor caret = textCursor();
    QTextTable* table = caret.currentTable();
    if (!table || isReadOnly())
        return false;
    const QTextTableCell from = table->cellAt(caret);
    int row = from.row(), column = from.column();
    QTextTableCell to;
    // The next cell that starts at its place, past cells that a span joins to another.
    while (!to.isValid()) {
        if (forward && ++column >= table->columns()) {
            column = 0;
            ++row;
        } else if (!forward && --column < 0) {
            column = table->columns() - 1;
            --row;
        }
        if (row < 0)
            return true; // Shift+Tab in the first cell stays there
        if (row >= table->rows()) {
            // Tab in the last cell adds a row, as one step to undo.
            const QTextCharFormat font = TypingFont(caret);
            caret.beginEditBlock();
            table->appendRows(1);
            giveCellsFont(*table, row, 1, 0, table->columns(), font);
            caret.endEditBlock();
            to = table->cellAt(row, 0);
            break;
        }
        const QTextTableCell cell = table->cellAt(row, column);
        if (cell.row() == row && cell.column() == column)
            to = cell;
    }
    // The cell reached has its text selected, so that typing replaces it.
    QTextCursor selection = to.firstCursorPosition();
    selection.setPosition(to.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    setTextCursor(selection);
    return true;
}

void RichTextControl::TableInsertLines(int position, int count)
{
    QTextTable* table = TableCanInsertLines() ? CurrentTable() : nullptr;
    if (!table || count < 1 || (position != 1 && position != 2))
        return;
    const CellRange range = rangeOf(textCursor(), *table);
    const int at = position == 1 ? range.row : range.row + range.rows;
    const QTextCharFormat font = TypingFont(textCursor());
    QTextCursor edit(document());
    edit.beginEditBlock();
    table->insertRows(at, count);
    giveCellsFont(*table, at, count, 0, table->columns(), font);
    edit.endEditBlock();
}

void RichTextControl::TableInsertColumn(int position)
{
    QTextTable* table = TableCanInsertColumn() ? CurrentTable() : nullptr;
    if (!table || (position != 1 && position != 2))
        return;
    const CellRange range = rangeOf(textCursor(), *table);
    const int at = position == 1 ? range.column : range.column + range.columns;
    const QTextCharFormat font = TypingFont(textCursor());
    QTextCursor edit(document());
    edit.beginEditBlock();
    table->insertColumns(at, 1);
    giveCellsFont(*table, 0, table->rows(), at, 1, font);
    insertColumnWidth(*table, at);
    edit.endEditBlock();
}

void RichTextControl::TableDeleteLines()
{
    QTextTable* table = TableCanDeleteLines() ? CurrentTable() : nullptr;
    if (!table)
        return;
    const CellRange range = rangeOf(textCursor(), *table);
    if (range.rows >= table->rows()) {
        removeTable(*table);
        return;
    }
    table->removeRows(range.row, range.rows);
    // The caret stays in the table, in the row that took the place of the first one deleted.
    setTextCursor(table->cellAt(qMin(range.row, table->rows() - 1), range.column).firstCursorPosition());
}

void RichTextControl::TableDeleteColumn()
{
    QTextTable* table = TableCanDeleteColumn() ? CurrentTable() : nullptr;
    if (!table)
        return;
    const CellRange range = rangeOf(textCursor(), *table);
    if (range.columns >= table->columns()) {
        removeTable(*table);
        return;
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    table->removeColumns(range.column, range.columns);
    removeColumnWidths(*table, range.column, range.columns);
    edit.endEditBlock();
    setTextCursor(table->cellAt(range.row, qMin(range.column, table->columns() - 1)).firstCursorPosition());
}

bool RichTextControl::TableCanInsert() const
{
    // Tables inside cells would not survive RTF, so a table goes only where there is none.
    return !isReadOnly() && !CurrentTable();
}

bool RichTextControl::TableCanInsertLines() const
{
    return TableCanChangeAttr();
}

bool RichTextControl::TableCanInsertColumn() const
{
    return TableCanChangeAttr();
}

bool RichTextControl::TableCanDeleteLines() const
{
    return TableCanChangeAttr();
}

bool RichTextControl::TableCanDeleteColumn() const
{
    return TableCanChangeAttr();
}

bool RichTextControl::TableCanChangeAttr() const
{
    return !isReadOnly() && CurrentTable();
}

} // namespace jornix
