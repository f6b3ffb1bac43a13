#include "DocumentEditor.h"

#include "documents/MeasurementUnits.h"
#include "documents/TableAttributesDialog.h"
#include "documents/TableDimensions.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/richtext/ImageObjects.h"
#include "platform/richtext/PagePainter.h"
#include "platform/richtext/ParagraphFrames.h"
#include "platform/runtime/PopupChoice.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <QtTest>

using namespace jornix;
using jornix::test::MessageRecorder;

namespace {

QWidget* openWindow(const QString& name)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            return top;
    return nullptr;
}

QString cellText(const QTextTable& table, int row, int column)
{
    const QTextTableCell cell = table.cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

// Rows of the table, cells separated by commas and rows by "/", an empty cell as "_".
QString tableText(const QTextTable* table)
{
    if (!table)
        return QStringLiteral("no table");
    QStringList rows;
    for (int row = 0; row < table->rows(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columns(); ++column) {
            const QString text = cellText(*table, row, column);
            cells << (text.isEmpty() ? QStringLiteral("_") : text);
        }
        rows << cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char('/'));
}

// "before", then a table of 3 rows and 2 columns holding "a" to "f", then "after"; the caret in the cell
// of the second row and first column ("c").
QTextTable* threeByTwo(Editor& editor)
{
    editor.edit.SetSelText(QStringLiteral("before"));
    const int id = editor.control.TableInsert(3, 2);
    QTextTable* table = editor.control.TableOf(id);
    const char* texts[] = {"a", "b", "c", "d", "e", "f"};
    for (int i = 0; i < 6; ++i)
        table->cellAt(i / 2, i % 2).firstCursorPosition().insertText(QString::fromLatin1(texts[i]));
    QTextCursor after(editor.control.document());
    after.movePosition(QTextCursor::End);
    after.insertText(QStringLiteral("after"));
    editor.control.setTextCursor(table->cellAt(1, 0).lastCursorPosition());
    return table;
}

// The menu's entries by their texts; an item's number, enabled and checked state.
struct Entries
{
    std::vector<PopupEntry> entries;
    const PopupEntry* find(const QString& text) const
    {
        for (const PopupEntry& entry : entries)
            if (entry.text == text)
                return &entry;
        return nullptr;
    }
};

// Answers every popup with the number given and keeps the entries it offered.
struct PopupScript
{
    Entries shown;
    int answer = 0;
    PopupScript()
    {
        SetPopupSink([this](const std::vector<PopupEntry>& entries) {
            shown.entries = entries;
            return answer;
        });
    }
    ~PopupScript() { SetPopupSink({}); }
};

} // namespace

class DocumentTablesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aTableHasAnIdAtTheCaretAndSelectsAsAWhole()
    {
        Editor editor;
        QTextTable* table = threeByTwo(editor);
        QCOMPARE(editor.control.TableAtInputPos(), 1);
        QCOMPARE(editor.control.TableRows(1), 3);
        QCOMPARE(editor.control.TableColumns(1), 2);
        editor.control.SetSelStart(0);
        QCOMPARE(editor.control.TableAtInputPos(), 0);
        QCOMPARE(editor.control.TableRows(2), 0);

        editor.edit.SelectTable(1);
        const QTextCursor selection = editor.control.textCursor();
        QVERIFY(selection.selectionStart() < table->cellAt(0, 0).firstPosition());
        QVERIFY(selection.selectionEnd() > table->cellAt(2, 1).lastPosition());
        QVERIFY(!selection.selectedText().contains(QStringLiteral("before")));
        QVERIFY(!selection.selectedText().contains(QStringLiteral("after")));
        QCOMPARE(editor.control.TableAtInputPos(), 1); // the selected table is the one at the caret

        editor.edit.DeleteTable(1);
        QVERIFY(!editor.control.TableOf(1));
        QCOMPARE(editor.control.Text(), QStringLiteral("before\nafter"));
    }

    void rowsAndColumnsGoInBesideTheCaret_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("table");
        QTest::newRow("row above") << 0 << "a,b/_,_/c,d/e,f";
        QTest::newRow("row below") << 1 << "a,b/c,d/_,_/e,f";
        QTest::newRow("column left") << 2 << "_,a,b/_,c,d/_,e,f";
        QTest::newRow("column right") << 3 << "a,_,b/c,_,d/e,_,f";
        QTest::newRow("delete row") << 4 << "a,b/e,f";
        QTest::newRow("delete column") << 5 << "b/d/f";
    }
    void rowsAndColumnsGoInBesideTheCaret()
    {
        QFETCH(int, command);
        QFETCH(QString, table);
        Editor editor;
        threeByTwo(editor);
        const std::function<void(TXEdit&)> commands[] = {
            &TXEdit::InsertRowAbove,    &TXEdit::InsertRowBelow, &TXEdit::InsertColumnLeft,
            &TXEdit::InsertColumnRight, &TXEdit::DeleteRows,     &TXEdit::DeleteColumns};
        commands[command](editor.edit);
        QCOMPARE(tableText(editor.control.TableOf(1)), table);
    }

    void insertingEveryWayGivesTheDimensionsThatResult()
    {
        Editor editor;
        threeByTwo(editor);
        using Step = std::tuple<void (TXEdit::*)(), int, int>;
        for (const auto& [command, rows, columns] :
             {Step{&TXEdit::InsertRowAbove, 4, 2}, Step{&TXEdit::InsertRowBelow, 5, 2},
              Step{&TXEdit::InsertColumnLeft, 5, 3}, Step{&TXEdit::InsertColumnRight, 5, 4}}) {
            (editor.edit.*command)();
            QCOMPARE(editor.control.TableRows(1), rows);
            QCOMPARE(editor.control.TableColumns(1), columns);
        }
    }

    void deletingEverySelectedRowOrColumnDeletesTheTable_data()
    {
        QTest::addColumn<bool>("rows");
        QTest::newRow("rows") << true;
        QTest::newRow("columns") << false;
    }
    void deletingEverySelectedRowOrColumnDeletesTheTable()
    {
        QFETCH(bool, rows);
        Editor editor;
        QTextTable* table = threeByTwo(editor);
        // The cells from the first to the last row of the second column.
        QTextCursor cells(editor.control.document());
        cells.setPosition(table->cellAt(0, 1).firstPosition());
        cells.setPosition(table->cellAt(2, 1).firstPosition(), QTextCursor::KeepAnchor);
        editor.control.setTextCursor(cells);
        rows ? editor.edit.DeleteRows() : editor.edit.DeleteColumns();
        if (rows) {
            QVERIFY(!editor.control.TableOf(1));
            QCOMPARE(editor.control.Text(), QStringLiteral("before\nafter"));
        } else {
            QCOMPARE(tableText(editor.control.TableOf(1)), QStringLiteral("a/c/e"));
        }
    }

    void theQueriesTellWhatTheCaretAllows_data()
    {
        QTest::addColumn<bool>("inTable");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("canInsertTable");
        QTest::addColumn<int>("canOther");
        QTest::newRow("outside a table") << false << false << 1 << 0;
        QTest::newRow("in a table") << true << false << 0 << 1;
        QTest::newRow("in a table, view only") << true << true << 0 << 0;
        QTest::newRow("outside, view only") << false << true << 0 << 0;
    }
    void theQueriesTellWhatTheCaretAllows()
    {
        QFETCH(bool, inTable);
        QFETCH(bool, readOnly);
        QFETCH(int, canInsertTable);
        QFETCH(int, canOther);
        Editor editor;
        threeByTwo(editor);
        if (!inTable)
            editor.control.SetSelStart(0);
        editor.edit.SetEditMode(readOnly ? 1 : 0);
        QCOMPARE(editor.edit.CanInsertTable(), canInsertTable);
        for (const int can :
             {editor.edit.CanInsertRows(), editor.edit.CanInsertColumns(), editor.edit.CanDeleteRows(),
              editor.edit.CanDeleteColumns(), editor.edit.CanChangeTableAttributes()})
            QCOMPARE(can, canOther);
        // What is refused changes nothing.
        editor.edit.InsertRowAbove();
        editor.edit.DeleteColumns();
        QCOMPARE(editor.control.TableRows(1), canOther ? 4 : 3);
    }

    void theContextMenuOffersItsItemsInOrder()
    {
        Editor editor;
        PopupScript popup;
        editor.edit.ContextMenu();
        QStringList items;
        int expected = 1;
        for (const PopupEntry& entry : popup.shown.entries)
            if (entry.number) {
                QCOMPARE(entry.number, expected++);
                items << QString(entry.depth, QLatin1Char('>')) + entry.text;
            }
        QCOMPARE(items, QStringList({">Properties...",
                                     ">Insert Table...",
                                     ">Insert Columns (Left)",
                                     ">Insert Columns (Right)",
                                     ">Insert Rows (Above)",
                                     ">Insert Rows (Below)",
                                     ">Delete Table",
                                     ">Delete Column",
                                     ">Delete Row",
                                     ">Select Table",
                                     ">Show Table Grid Lines",
                                     ">Properties...",
                                     ">Insert Image...",
                                     ">Insert Object...",
                                     "Cut",
                                     "Copy",
                                     "Paste",
                                     "Delete",
                                     "Font...",
                                     "Paragraph...",
                                     "Bullets and Numbering...",
                                     "Select All"}));
        QStringList submenus;
        for (const PopupEntry& entry : popup.shown.entries)
            if (entry.submenu)
                submenus << entry.text;
        QCOMPARE(submenus, QStringList({"Table", "Image", "Object"}));
    }

    void theContextMenuEnablesWhatTheDocumentAllows_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("outside any table: Delete Table") << "outside"
                                                         << "Delete Table" << false;
        QTest::newRow("outside any table: Select Table") << "outside"
                                                         << "Select Table" << false;
        QTest::newRow("outside any table: Delete Row") << "outside"
                                                       << "Delete Row" << false;
        QTest::newRow("outside any table: Insert Table") << "outside"
                                                         << "Insert Table..." << true;
        QTest::newRow("in a table: Delete Table") << "table"
                                                  << "Delete Table" << true;
        QTest::newRow("in a table: Select Table") << "table"
                                                  << "Select Table" << true;
        QTest::newRow("in a table: Insert Table") << "table"
                                                  << "Insert Table..." << false;
        QTest::newRow("no selection: Cut") << "outside"
                                           << "Cut" << false;
        QTest::newRow("no selection: Copy") << "outside"
                                            << "Copy" << false;
        QTest::newRow("no selection: Delete") << "outside"
                                              << "Delete" << false;
        QTest::newRow("a selection: Cut") << "selection"
                                          << "Cut" << true;
        QTest::newRow("a selection: Delete") << "selection"
                                             << "Delete" << true;
        QTest::newRow("empty clipboard: Paste") << "outside"
                                                << "Paste" << false;
        QTest::newRow("text on the clipboard: Paste") << "clipboard"
                                                      << "Paste" << true;
        QTest::newRow("blank document: Select All") << "blank"
                                                    << "Select All" << false;
        QTest::newRow("some text: Select All") << "outside"
                                               << "Select All" << true;
    }
    void theContextMenuEnablesWhatTheDocumentAllows()
    {
        QFETCH(QString, situation);
        QFETCH(QString, item);
        QFETCH(bool, enabled);
        Editor editor;
        QApplication::clipboard()->clear();
        if (situation == QLatin1String("blank")) {
            editor.edit.SetSelText(QStringLiteral("  \n "));
        } else {
            threeByTwo(editor);
            if (situation != QLatin1String("table"))
                editor.control.SetSelStart(2);
            if (situation == QLatin1String("selection"))
                editor.control.SetSelLength(3);
            if (situation == QLatin1String("clipboard"))
                QApplication::clipboard()->setText(QStringLiteral("pasted"));
        }
        PopupScript popup;
        editor.edit.ContextMenu();
        const PopupEntry* entry = popup.shown.find(item);
        QVERIFY(entry);
        QCOMPARE(entry->enabled, enabled);
    }

    void aRightClickPutsTheCaretWhereItWasMadeOutsideTheSelection_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::newRow("no selection") << false;
        QTest::newRow("inside the selection") << true;
    }
    void aRightClickPutsTheCaretWhereItWasMadeOutsideTheSelection()
    {
        QFETCH(bool, selected);
        Editor editor;
        QTextTable* table = threeByTwo(editor);
        editor.control.resize(500, 300);
        editor.control.show();
        editor.control.SetSelStart(0);
        if (selected)
            editor.control.SetSelLength(editor.control.TextLength());
        const QPoint cell = editor.control.cursorRect(table->cellAt(2, 1).firstCursorPosition()).center();
        QTest::mouseClick(editor.control.viewport(), Qt::RightButton, {}, cell);
        QCOMPARE(editor.control.textCursor().hasSelection(), selected);
        if (!selected)
            QCOMPARE(table->cellAt(editor.control.textCursor()).column(), 1);
        QCOMPARE(editor.control.TableAtInputPos(), selected ? 0 : 1);
    }

    void theGridLineItemShowsAndTogglesTheFlag_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void theGridLineItemShowsAndTogglesTheFlag()
    {
        QFETCH(bool, on);
        Editor editor;
        editor.edit.SetGridLines(on ? 1 : 0, 0);
        PopupScript popup;
        popup.answer = 11;
        editor.edit.ContextMenu();
        const PopupEntry* entry = popup.shown.find(QStringLiteral("Show Table Grid Lines"));
        QVERIFY(entry && entry->checkable);
        QCOMPARE(entry->checked, on);
        QCOMPARE(editor.control.TableGridLines(), !on);
    }

    void theContextMenuRunsTheItemChosen_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("table");
        const QString unchanged = QStringLiteral("a,b/c,d/e,f");
        QTest::newRow("nothing chosen") << 0 << unchanged;
        QTest::newRow("past the last item") << 23 << unchanged;
        QTest::newRow("3 column left") << 3 << "_,a,b/_,c,d/_,e,f";
        QTest::newRow("4 column right") << 4 << "a,_,b/c,_,d/e,_,f";
        QTest::newRow("5 row above") << 5 << "a,b/_,_/c,d/e,f";
        QTest::newRow("6 row below") << 6 << "a,b/c,d/_,_/e,f";
        QTest::newRow("7 delete table") << 7 << "no table";
        QTest::newRow("8 delete column") << 8 << "b/d/f";
        QTest::newRow("9 delete row") << 9 << "a,b/e,f";
        QTest::newRow("10 select table") << 10 << unchanged;
        QTest::newRow("18 delete the selection") << 18 << unchanged;
    }
    void theContextMenuRunsTheItemChosen()
    {
        QFETCH(int, item);
        QFETCH(QString, table);
        Editor editor;
        threeByTwo(editor);
        if (item == 18) {
            editor.control.SetSelStart(1);
            editor.control.SetSelLength(3); // "efo" of "before"
        }
        PopupScript popup;
        popup.answer = item;
        editor.edit.ContextMenu();
        QCOMPARE(tableText(editor.control.TableOf(1)), table);
        QCOMPARE(editor.control.Text().startsWith(QStringLiteral("before")), item != 18);
        if (item == 18)
            QVERIFY(editor.control.Text().startsWith(QStringLiteral("bre\n")));
        QCOMPARE(editor.control.textCursor().hasSelection(), item == 10);
        if (item == 10)
            QCOMPARE(editor.control.TableAtInputPos(), 1);
    }

    void theTablePopupOffersItsFourItems_data()
    {
        QTest::addColumn<bool>("inTable");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("gridLines");
        const QStringList inside = {"~Insert Table...", "Attributes...", "Delete Lines", "[x]Grid Lines"};
        const QStringList outside = {"Insert Table...", "~Attributes...", "~Delete Lines", "~[x]Grid Lines"};
        QTest::newRow("in a table, nothing chosen") << true << 0 << inside << "a,b/c,d/e,f" << true;
        QTest::newRow("Delete Lines") << true << 3 << inside << "a,b/e,f" << true;
        QTest::newRow("Grid Lines") << true << 4 << inside << "a,b/c,d/e,f" << false;
        QTest::newRow("outside a table") << false << 0 << outside << "a,b/c,d/e,f" << true;
    }
    void theTablePopupOffersItsFourItems()
    {
        QFETCH(bool, inTable);
        QFETCH(int, item);
        QFETCH(QStringList, entries);
        QFETCH(QString, table);
        QFETCH(bool, gridLines);
        Editor editor;
        threeByTwo(editor);
        editor.edit.SetGridLines(1, 0);
        if (!inTable)
            editor.control.SetSelStart(0);
        PopupScript popup;
        popup.answer = item;
        editor.edit.TablePopupMenu();
        QStringList shown;
        for (const PopupEntry& entry : popup.shown.entries)
            shown << (entry.enabled ? QString() : QStringLiteral("~")) +
                         (entry.checkable ? (entry.checked ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                                          : QString()) +
                         entry.text;
        QCOMPARE(shown, entries);
        QCOMPARE(tableText(editor.control.TableOf(1)), table);
        QCOMPARE(editor.control.TableGridLines(), gridLines);
    }

    void tableDimensionsTakesOneTo255_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::newRow("no rows") << 0 << 2;
        QTest::newRow("256 columns") << 2 << 256;
        QTest::newRow("300 rows") << 300 << 2;
    }
    void tableDimensionsTakesOneTo255()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        MessageRecorder messages;
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("text"));
        const QString before = editor.control.document()->toHtml();
        OnProgramThread([&] { editor.edit.InsertTable(); });
        QWidget* window = openWindow(QStringLiteral("TableDimensions"));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Table Dimensions"));
        auto* rowEntry = window->findChild<QSpinBox*>(QStringLiteral("Rows"));
        auto* columnEntry = window->findChild<QSpinBox*>(QStringLiteral("Columns"));
        QCOMPARE(rowEntry->value(), 2);
        QCOMPARE(columnEntry->value(), 2);
        rowEntry->setValue(rows);
        columnEntry->setValue(columns);
        window->findChild<QPushButton*>(QStringLiteral("OK"))->click();
        WaitForProgramThreads(5000);
        QCOMPARE(messages.Captions(), QStringList({"Table Dimensions"}));
        QCOMPARE(messages.boxes.first().text,
                 QStringLiteral("A table has from 1 to 255 rows and from 1 to 255 columns."));
        QVERIFY(window->isVisible()); // open for a better value
        QCOMPARE(QApplication::focusWidget(), rows == 0 || rows > 255 ? rowEntry : columnEntry);
        window->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
        WaitForProgramThreads(5000);
        QVERIFY(!openWindow(QStringLiteral("TableDimensions")));
        QCOMPARE(editor.control.document()->toHtml(), before);
    }

    void tableDimensionsAnswersWithItsText()
    {
        QCOMPARE(TableDimensions::Confirmed(3, 255), QStringLiteral("1003255"));
        QCOMPARE(TableDimensions::Cancelled(), QStringLiteral("0"));
    }

    void insertTableAsksForTheCellAndThenTheWholeTable()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("text"));
        OnProgramThread([&] { editor.edit.InsertTable(); });
        QWidget* dimensions = openWindow(QStringLiteral("TableDimensions"));
        QVERIFY(dimensions);
        dimensions->findChild<QSpinBox*>(QStringLiteral("Rows"))->setValue(3);
        dimensions->findChild<QPushButton*>(QStringLiteral("OK"))->click();
        WaitForProgramThreads(5000);
        for (const QString scope : {QStringLiteral("Cell"), QStringLiteral("All Cells")}) {
            QWidget* attributes = openWindow(QStringLiteral("TableAttributes"));
            QVERIFY(attributes);
            QGroupBox* cells = nullptr;
            for (QGroupBox* group : attributes->findChildren<QGroupBox*>())
                if (group->title() != QLatin1String("Table"))
                    cells = group;
            QCOMPARE(cells->title(), scope);
            auto* background = attributes->findChild<QComboBox*>(QStringLiteral("Background"));
            background->setCurrentIndex(
                background->findText(scope == QLatin1String("Cell") ? "Yellow" : "Silver"));
            attributes->findChild<QPushButton*>(QStringLiteral("OK"))->click();
            WaitForProgramThreads(5000);
        }
        QVERIFY(!openWindow(QStringLiteral("TableAttributes")));
        QTextTable* table = editor.control.TableOf(1);
        QVERIFY(table);
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->columns(), 2);
        QVERIFY(!editor.control.textCursor().hasSelection()); // the caret waits in the first cell
        QCOMPARE(editor.control.textCursor().position(), table->cellAt(0, 0).firstPosition());
        // The whole table's choice came last and covers the first cell's.
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 2; ++column)
                QCOMPARE(table->cellAt(row, column).format().background().color(), QColor(0xC0C0C0));
    }

    void cancelInTableDimensionsInsertsNothing()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("text"));
        OnProgramThread([&] { editor.edit.InsertTable(); });
        QWidget* window = openWindow(QStringLiteral("TableDimensions"));
        QVERIFY(window);
        window->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
        WaitForProgramThreads(5000);
        QVERIFY(!openWindow(QStringLiteral("TableAttributes")));
        QVERIFY(!editor.control.TableOf(1));
        QCOMPARE(editor.control.Text(), QStringLiteral("text"));
    }

    void tableAttributesWriteWhatWasChangedOnOkOnly_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void tableAttributesWriteWhatWasChangedOnOkOnly()
    {
        QFETCH(bool, ok);
        Editor editor;
        QTextTable* table = threeByTwo(editor);
        const QTextTableFormat before = table->format();
        TableAttributesDialog dialog(&editor.control, MeasurementUnit::Inches);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("BorderWidth"))->setValue(1.5);
        auto* colour = dialog.findChild<QComboBox*>(QStringLiteral("BorderColor"));
        colour->setCurrentIndex(colour->findText(QStringLiteral("Blue")));
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("Padding"))->setValue(0.1);
        dialog.findChild<QSpinBox*>(QStringLiteral("TableWidth"))->setValue(80);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("ColumnWidth"))->setValue(2);
        auto* background = dialog.findChild<QComboBox*>(QStringLiteral("Background"));
        background->setCurrentIndex(background->findText(QStringLiteral("Yellow")));
        ok ? dialog.accept() : dialog.reject();
        const QTextTableFormat format = table->format();
        if (!ok) {
            QCOMPARE(format, before);
            QCOMPARE(table->cellAt(1, 0).format().background().style(), Qt::NoBrush);
            return;
        }
        QCOMPARE(format.border(), 30 / 15.0); // 1.5 points in layout units
        QCOMPARE(format.borderBrush().color(), QColor(Qt::blue));
        QCOMPARE(format.cellPadding(), 144 / 15.0);
        QCOMPARE(format.width(), QTextLength(QTextLength::PercentageLength, 80));
        QCOMPARE(format.columnWidthConstraints(),
                 QList<QTextLength>({QTextLength(QTextLength::FixedLength, 2880 / 15.0), QTextLength()}));
        // Only the caret's cell takes the background.
        QCOMPARE(table->cellAt(1, 0).format().background().color(), QColor(Qt::yellow));
        QCOMPARE(table->cellAt(0, 0).format().background().style(), Qt::NoBrush);
        // The dialog shows what it wrote; left with OK unchanged it writes nothing; one step undoes it.
        TableAttributesDialog again(&editor.control, MeasurementUnit::Inches);
        QCOMPARE(again.findChild<QDoubleSpinBox*>(QStringLiteral("ColumnWidth"))->value(), 2.0);
        QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("Background"))->currentText(),
                 QStringLiteral("Yellow"));
        again.accept();
        QCOMPARE(table->format(), format);
        editor.edit.Undo();
        QCOMPARE(table->format(), before);
        QCOMPARE(table->cellAt(1, 0).format().background().style(), Qt::NoBrush);
    }

    void aTableSurvivesStoreAndLoadAndPrintsToPdf()
    {
        Editor editor;
        QTextTable* table = threeByTwo(editor);
        QTextTableFormat format = table->format();
        format.setBorder(2);
        format.setBorderBrush(QColor(Qt::blue));
        format.setCellPadding(6);
        format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 150), QTextLength()});
        table->setFormat(format);
        QTextTableCell cell = table->cellAt(2, 1);
        QTextCharFormat cellFormat = cell.format();
        cellFormat.setBackground(QColor(Qt::yellow));
        cell.setFormat(cellFormat);

        QByteArray stored;
        editor.edit.SaveToBlob(stored);
        Editor loaded;
        QVERIFY(loaded.edit.LoadFromBlob(stored));
        const QTextTable* again = loaded.control.TableOf(1);
        QCOMPARE(tableText(again), QStringLiteral("a,b/c,d/e,f"));
        QCOMPARE(again->format().border(), 2.0);
        QCOMPARE(again->format().borderBrush().color(), QColor(Qt::blue));
        QCOMPARE(again->format().cellPadding(), 6.0);
        QCOMPARE(again->format().columnWidthConstraints().value(0),
                 QTextLength(QTextLength::FixedLength, 150));
        QCOMPARE(again->cellAt(2, 1).format().background().color(), QColor(Qt::yellow));

        // Through RTF the cells keep their texts, the border, the padding and the backgrounds.
        const Conversion rtf = editor.control.Save(TextFormat::Rtf);
        Editor fromRtf;
        QVERIFY(fromRtf.control.Load(rtf.bytes, TextFormat::Rtf));
        const QTextTable* read = fromRtf.control.TableOf(1);
        QCOMPARE(tableText(read), QStringLiteral("a,b/c,d/e,f"));
        QCOMPARE(read->format().border(), 2.0);
        QCOMPARE(read->format().borderBrush().color(), QColor(Qt::blue));
        QCOMPARE(read->format().cellPadding(), 6.0);
        QCOMPARE(read->cellAt(2, 1).format().background().color(), QColor(Qt::yellow));
        QCOMPARE(read->cellAt(2, 0).format().background().style(), Qt::NoBrush);

        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("table.pdf"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(editor.control.Save(TextFormat::Pdf).bytes);
        file.close();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const char* row : {"a +b", "c +d", "e +f"})
            QVERIFY2(!lines.filter(QRegularExpression(QString::fromLatin1(row))).isEmpty(), row);
    }

    void aTableWithoutBorderStaysWithoutThroughRtf()
    {
        Editor editor;
        threeByTwo(editor);
        Editor fromRtf;
        QVERIFY(fromRtf.control.Load(editor.control.Save(TextFormat::Rtf).bytes, TextFormat::Rtf));
        QCOMPARE(fromRtf.control.TableOf(1)->format().border(), 0.0);
    }

    void aTableAPictureAndAFrameSurviveStoreAndLoadAndPrintToPdf()
    {
        QTemporaryDir folder;
        QImage red(40, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString picture = folder.filePath(QStringLiteral("red.png"));
        QVERIFY(red.save(picture, "PNG"));
        Editor editor;
        editor.control.SetPage({12240, 15840, 1440, 1440, 1440, 1440});
        QTextTable* table = threeByTwo(editor);
        editor.control.setTextCursor(table->cellAt(2, 1).lastCursorPosition());
        QVERIFY(editor.control.InsertImageFile(picture, {}));
        QTextCursor framed(editor.control.document()->begin()); // "before"
        SetParagraphFrames(
            framed, FrameStyle::Left | FrameStyle::Top | FrameStyle::Right | FrameStyle::Bottom, 60, 40);
        const QByteArray stored = editor.control.Save(TextFormat::OwnFormat).bytes;

        Editor loaded;
        QVERIFY(loaded.control.Load(stored, TextFormat::OwnFormat));
        const QTextTable* again = loaded.control.TableOf(1);
        QVERIFY(again);
        QCOMPARE(again->rows(), 3);
        QCOMPARE(again->columns(), 2);
        QCOMPARE(cellText(*again, 0, 0), QStringLiteral("a"));
        QCOMPARE(cellText(*again, 2, 1), QStringLiteral("f") + QChar(QChar::ObjectReplacementCharacter));
        QCOMPARE(loaded.control.document()->begin().blockFormat().property(FrameProperty::Style),
                 editor.control.document()->begin().blockFormat().property(FrameProperty::Style));

        // The PDF shows the cells' texts, the framed paragraph and the red picture.
        const QString pdf = folder.filePath(QStringLiteral("notes.pdf"));
        loaded.edit.SaveToFile(pdf, TextFormat::Pdf);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* row : {"before", "a +b", "c +d", "\\be\\b", "\\bf\\b", "after"})
            QVERIFY2(words.contains(QRegularExpression(QString::fromLatin1(row))), row);
        QProcess raster;
        raster.start(QStringLiteral("pdftoppm"),
                     {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                      QStringLiteral("-singlefile"), pdf, folder.filePath(QStringLiteral("page"))});
        QVERIFY(raster.waitForFinished(30000));
        const QImage page(folder.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        int redPixels = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor colour = page.pixelColor(x, y);
                redPixels += colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
            }
        QVERIFY(redPixels > 100);
    }

    void theWindowsLookFinished()
    {
        Editor editor;
        threeByTwo(editor);
        TableDimensions dimensions;
        dimensions.show();
        jornix::test::SavePicture(&dimensions, QStringLiteral("TableDimensions"));
        TableAttributesDialog attributes(&editor.control, MeasurementUnit::Centimetres);
        attributes.show();
        jornix::test::SavePicture(&attributes, QStringLiteral("TableAttributes"));
        QVERIFY(attributes.minimumSizeHint().width() <= attributes.width());

        PopupScript popup;
        editor.edit.ContextMenu();
        QMenu menu;
        FillPopupMenu(menu, popup.shown.entries);
        menu.popup(QPoint(10, 10));
        jornix::test::SavePicture(&menu, QStringLiteral("ContextMenu"));
        QMenu* table = menu.actions().first()->menu();
        QVERIFY(table);
        table->popup(QPoint(200, 10));
        jornix::test::SavePicture(table, QStringLiteral("ContextMenuTable"));
        // A tall picture in one cell: the other cell of its row is drawn as high.
        QTemporaryDir folder;
        QImage red(30, 60, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(folder.filePath(QStringLiteral("red.png")), "PNG"));
        QTextTable* grid = editor.control.TableOf(1);
        editor.control.setTextCursor(grid->cellAt(2, 1).lastCursorPosition());
        QVERIFY(editor.control.InsertImageFile(folder.filePath(QStringLiteral("red.png")), {}));
        editor.edit.SetGridLines(1, 0);
        editor.control.resize(500, 300);
        editor.control.show();
        jornix::test::SavePicture(&editor.control, QStringLiteral("TableGridLines"));
    }
};

QTEST_MAIN(DocumentTablesTest)
#include "tst_DocumentTables.moc"
