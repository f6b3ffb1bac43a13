#include "DocumentEditor.h"

#include "documents/BulletsAndNumberingDialog.h"
#include "documents/DateTimeList.h"
#include "documents/ParagraphDialog.h"
#include "documents/TabsDialog.h"
#include "documents/MeasurementUnits.h"
#include "documents/FindReplaceDialog.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QtTest>

using namespace jornix;
using jornix::test::MessageRecorder;
using Calls = QList<std::pair<int, int>>; // show, toggle

namespace {

// The height of the rows that hold ink in a grab of the control.
int inkHeight(RichTextControl& control)
{
    const QImage image = control.viewport()->grab().toImage();
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

QListWidget* openDateTimeList()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("DateTimeList") && top->isVisible())
            return top->findChild<QListWidget*>();
    return nullptr;
}

} // namespace

class EditingTest : public QObject
{
    Q_OBJECT

private slots:
    void undoAndRedoSayWhenThereIsNothing()
    {
        MessageRecorder messages;
        Editor editor;
        editor.edit.Undo();
        QCOMPARE(messages.boxes.size(), 1);
        QCOMPARE(messages.boxes.at(0).caption, QStringLiteral("TX TEXT"));
        QCOMPARE(messages.boxes.at(0).text, QStringLiteral("Nothing to undo!"));
        QCOMPARE(messages.boxes.at(0).icon, MessageIcon::Exclamation);

        editor.edit.SetSelText(QStringLiteral("one"));
        editor.control.SetSelStart(0); // apart from the first, so the two stay two steps
        editor.edit.SetSelText(QStringLiteral("two "));
        QCOMPARE(editor.edit.CanUndo(), 1);
        editor.edit.Undo();
        editor.edit.Undo();
        QCOMPARE(editor.control.Text(), QString());
        QCOMPARE(editor.edit.CanRedo(), 1);
        editor.edit.Redo();
        editor.edit.Redo();
        QCOMPARE(editor.control.Text(), QStringLiteral("two one"));
        QCOMPARE(messages.boxes.size(), 1);
        editor.edit.Redo();
        QCOMPARE(messages.boxes.size(), 2);
        QCOMPARE(messages.boxes.at(1).text, QStringLiteral("Nothing to redo!"));
    }

    void replaceAllGoesOnAfterEachReplacement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("a replacement that holds the text") << "banana" << "a" << "aa" << "baanaanaa";
        QTest::newRow("a text not present") << "banana" << "x" << "y" << "banana";
        QTest::newRow("shorter") << "banana" << "an" << "" << "ba";
        QTest::newRow("nothing to find") << "banana" << "" << "y" << "banana";
    }
    void replaceAllGoesOnAfterEachReplacement()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        Editor editor;
        editor.edit.SetSelText(text);
        editor.edit.ReplaceAll(find, replacement);
        QCOMPARE(editor.control.Text(), result);
    }

    void wordCountCountsRunsBetweenSeparators_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("blanks in front") << "  two words" << 2;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("tab and line break") << "a\tb\nc" << 3;
        QTest::newRow("only blanks") << "   " << 0;
        QTest::newRow("blanks behind and between") << "one   two  " << 2;
    }
    void wordCountCountsRunsBetweenSeparators()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        Editor editor;
        editor.edit.SetSelText(text);
        QCOMPARE(editor.edit.WordCount(), count);
    }

    void zoomScalesTheDrawnText_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("12 pt") << 12;
        QTest::newRow("20 pt") << 20;
    }
    void zoomScalesTheDrawnText()
    {
        QFETCH(int, points);
        Editor editor;
        editor.control.resize(900, 400);
        editor.control.show();
        QTextCharFormat format;
        format.setFontPointSize(points);
        format.setForeground(Qt::black);
        editor.control.mergeCurrentCharFormat(format);
        editor.edit.SetSelText(QStringLiteral("HHHH"));
        const int normal = inkHeight(editor.control);
        QVERIFY(normal > 4);
        editor.edit.SetZoom(200);
        QCOMPARE(editor.control.ZoomFactor(), 200);
        const int zoomed = inkHeight(editor.control);
        QVERIFY2(qAbs(zoomed - 2 * normal) <= 2, qPrintable(QStringLiteral("%1 and %2").arg(normal).arg(zoomed)));
        // The document keeps its own sizes.
        QCOMPARE(editor.control.document()->begin().begin().fragment().charFormat().fontPointSize(),
                 qreal(points));
        editor.edit.SetZoom(1000);
        QCOMPARE(editor.control.ZoomFactor(), 400);
    }

    void setSelTextKeepsBlanksAndLeavesOutNul()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("end  "));
        editor.edit.SetSelText(QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
        QCOMPARE(editor.control.Text(), QStringLiteral("end  ab"));
    }

    void aFileImportsByTheLastThreeLettersOfItsName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("capitals and trailing blanks") << "NOTE.RTF  " << "bold";
        QTest::newRow("small letters") << "note.rtf" << "bold";
        QTest::newRow("text") << "note.txt" << "{\\rtf1 {\\b bold}}";
    }
    void aFileImportsByTheLastThreeLettersOfItsName()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QTemporaryDir folder;
        QFile file(folder.filePath(name.trimmed()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 {\\b bold}}");
        file.close();
        Editor editor;
        QVERIFY(editor.edit.ImportTextFile(folder.filePath(name)));
        QCOMPARE(editor.control.Text(), text);
    }

    void aFileThatCannotBeImportedChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("rtf that is none") << "bad.rtf" << QByteArray("plain words");
        QTest::newRow("missing file") << "" << QByteArray();
    }
    void aFileThatCannotBeImportedChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        QString path = folder.filePath(QStringLiteral("missing.txt"));
        if (!name.isEmpty()) {
            path = folder.filePath(name);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("kept"));
        QString error;
        QVERIFY(!editor.edit.ImportTextFile(path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(editor.control.Text(), QStringLiteral("kept"));
    }

    void insertTextFileRefreshesAlsoAfterCancel()
    {
        QList<CommonDialogRequest> asked;
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            asked << request;
            return CommonDialogAnswer{};
        });
        Editor editor;
        editor.edit.InsertTextFile();
        SetCommonDialogSink({});
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).title, QStringLiteral("Insert Text"));
        QCOMPARE(asked.at(0).filters, QStringLiteral("Rich Text|*.RTF|Text (*.txt)|*.txt"));
        QCOMPARE(editor.control.Text(), QString());
    }

    void theFontDialogSetsFontStyleAndColourOfTheSelection()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("word"));
        editor.edit.SelectAll();
        QFont chosen(QStringLiteral("DejaVu Sans"), 20);
        chosen.setBold(true);
        chosen.setItalic(true);
        QList<CommonDialogRequest> asked;
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            asked << request;
            CommonDialogAnswer answer;
            answer.accepted = true;
            answer.font = chosen;
            answer.colour = QColor(Qt::red);
            return answer;
        });
        editor.edit.FontDialog();
        SetCommonDialogSink({});
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).kind, CommonDialogRequest::Kind::Font);
        editor.control.SetSelStart(2);
        const QTextCharFormat format = editor.control.currentCharFormat();
        QCOMPARE(format.fontPointSize(), 20.0);
        QVERIFY(format.fontWeight() >= QFont::Bold);
        QVERIFY(format.fontItalic());
        QCOMPARE(format.foreground().color(), QColor(Qt::red));
    }

    void indentsMoveAListWithinItsLevels()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("item"));
        editor.edit.IncreaseIndent(); // outside a list: nothing
        QCOMPARE(editor.control.textCursor().currentList(), nullptr);
        QCOMPARE(editor.control.textCursor().blockFormat().indent(), 0);
        editor.edit.SetListType(2);
        QCOMPARE(editor.edit.ListType(), 2);
        editor.edit.IncreaseIndent();
        QCOMPARE(editor.control.textCursor().currentList()->format().indent(), 2);
        editor.edit.DecreaseIndent();
        editor.edit.DecreaseIndent();
        editor.edit.DecreaseIndent();
        QCOMPARE(editor.control.textCursor().currentList()->format().indent(), 1);
        editor.edit.SetNumbering(1);
        QCOMPARE(editor.edit.ListType(), 4);
        editor.edit.SetListType(0);
        QCOMPARE(editor.control.textCursor().currentList(), nullptr);
    }

    void theToggles_data()
    {
        QTest::addColumn<Calls>("calls");
        QTest::addColumn<bool>("shown");
        QTest::newRow("toggled twice") << Calls{{0, 1}, {0, 1}} << false;
        QTest::newRow("toggled once") << Calls{{0, 1}} << true;
        QTest::newRow("shown ignores the toggle state") << Calls{{0, 1}, {1, 0}} << true;
        QTest::newRow("hidden") << Calls{{1, 0}, {0, 0}} << false;
    }
    void theToggles()
    {
        QFETCH(Calls, calls);
        QFETCH(bool, shown);
        Editor editor;
        for (const auto& [show, toggle] : calls) {
            editor.edit.SetControlChars(show, toggle);
            editor.edit.SetGridLines(show, toggle);
        }
        QCOMPARE(editor.edit.ControlChars(), shown ? 1 : 0);
        QCOMPARE(editor.control.ControlChars(), shown);
        QCOMPARE(bool(editor.control.document()->defaultTextOption().flags() &
                      QTextOption::ShowTabsAndSpaces),
                 shown);
        QCOMPARE(editor.control.TableGridLines(), shown);
    }

    void copyNeedsASelectionAndReadOnlyTextCanBeCopied()
    {
        Editor editor;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        editor.edit.SetSelText(QStringLiteral("words"));
        editor.edit.Copy(); // nothing selected
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        editor.edit.SetEditMode(1);
        editor.edit.SelectAll();
        editor.edit.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("words"));
        editor.edit.Paste();
        QCOMPARE(editor.control.Text(), QStringLiteral("words"));
        QVERIFY(editor.control.isReadOnly());
    }

    void theDateTimeListPreselectsTheRowChosenLast()
    {
        const QStringList rows = DateTimeList::Rows(QDateTime(QDate(2026, 3, 4), QTime(15, 6, 7)));
        QCOMPARE(rows.size(), 12);
        QCOMPARE(rows.at(2), QStringLiteral("03/04/26"));
        QCOMPARE(rows.at(3), QStringLiteral("03/04/2026"));
        QCOMPARE(rows.at(4), QStringLiteral("Mar 04, 2026"));
        QCOMPARE(rows.at(5), QStringLiteral("04 Mar 2026"));
        QCOMPARE(rows.at(8), QStringLiteral("15:06"));
        QCOMPARE(rows.at(9), QStringLiteral("03:06 PM"));
        QCOMPARE(rows.at(10), QStringLiteral("15:06:07"));
        QCOMPARE(rows.at(11), QStringLiteral("03:06:07 PM"));

        Editor first, second;
        OnProgramThread([&] { first.edit.InsertDateTime(); });
        QListWidget* list = openDateTimeList();
        QVERIFY(list);
        list->setCurrentRow(3);
        QTest::keyClick(list, Qt::Key_Return);
        WaitForProgramThreads(5000);
        QCOMPARE(DateTimeList::RememberedRow(), 4);
        QVERIFY(first.control.Text().contains(QLatin1Char('/')));

        // The other editor's list starts at that row; a right click inserts nothing.
        OnProgramThread([&] { second.edit.InsertDateTime(); });
        list = openDateTimeList();
        QVERIFY(list);
        QCOMPARE(list->currentRow(), 3);
        QTest::mouseClick(list->viewport(), Qt::RightButton);
        WaitForProgramThreads(5000);
        QCOMPARE(second.control.Text(), QString());
    }

    void theDialogsLookFinished()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("banana"));
        for (const bool replace : {false, true}) {
            FindReplaceDialog dialog(&editor.control, replace);
            dialog.show();
            jornix::test::SavePicture(&dialog, replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
            QVERIFY(dialog.minimumSizeHint().width() <= dialog.width());
        }
        ParagraphDialog paragraph(&editor.control, MeasurementUnit::Inches);
        paragraph.show();
        jornix::test::SavePicture(&paragraph, QStringLiteral("Paragraph"));
        BulletsAndNumberingDialog bullets(&editor.control);
        bullets.show();
        jornix::test::SavePicture(&bullets, QStringLiteral("BulletsAndNumbering"));
        TabsDialog tabs(&editor.control, MeasurementUnit::Centimetres);
        tabs.findChild<QDoubleSpinBox*>(QStringLiteral("Position"))->setValue(2.5);
        tabs.findChild<QPushButton*>(QStringLiteral("Set"))->click();
        tabs.show();
        jornix::test::SavePicture(&tabs, QStringLiteral("Tabs"));
        DateTimeList list(QDateTime(QDate(2026, 12, 24), QTime(9, 5, 7)));
        list.show();
        jornix::test::SavePicture(&list, QStringLiteral("DateTimeList"));
    }

    void theParagraphDialogAppliesOnOkOnly_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void theParagraphDialogAppliesOnOkOnly()
    {
        QFETCH(bool, ok);
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("one\ntwo"));
        editor.edit.SelectAll();
        ParagraphDialog dialog(&editor.control, MeasurementUnit::Inches);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("Left"))->setValue(0.5);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("FirstLine"))->setValue(-0.25);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("Before"))->setValue(6);
        dialog.findChild<QComboBox*>(QStringLiteral("LineSpacing"))->setCurrentIndex(2);
        dialog.findChild<QComboBox*>(QStringLiteral("Alignment"))->setCurrentIndex(2);
        ok ? dialog.accept() : dialog.reject();
        for (QTextBlock block = editor.control.document()->begin(); block.isValid(); block = block.next()) {
            const QTextBlockFormat format = block.blockFormat();
            QCOMPARE(format.leftMargin(), ok ? 720 / 15.0 : 0.0); // half an inch in layout units
            QCOMPARE(format.textIndent(), ok ? -360 / 15.0 : 0.0);
            QCOMPARE(format.topMargin(), ok ? 120 / 15.0 : 0.0);
            QCOMPARE(format.lineHeight(), ok ? 200.0 : 0.0);
            QCOMPARE(bool(format.alignment() & Qt::AlignHCenter), ok);
        }
        // Reopened, the dialog shows what the paragraph has.
        ParagraphDialog again(&editor.control, MeasurementUnit::Inches);
        QCOMPARE(again.findChild<QDoubleSpinBox*>(QStringLiteral("Left"))->value(), ok ? 0.5 : 0.0);
        if (ok) {
            editor.edit.Undo(); // one step
            QCOMPARE(editor.control.document()->begin().blockFormat().leftMargin(), 0.0);
        }
    }

    void bulletsAndNumberingSetsTheList()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("item"));
        BulletsAndNumberingDialog dialog(&editor.control);
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("None"))->isChecked());
        auto* numbers = dialog.findChild<QComboBox*>(QStringLiteral("NumberStyle"));
        numbers->setCurrentIndex(3);
        emit numbers->activated(3);
        dialog.findChild<QSpinBox*>(QStringLiteral("Level"))->setValue(2);
        dialog.accept();
        QTextList* list = editor.control.textCursor().currentList();
        QVERIFY(list);
        QCOMPARE(list->format().style(), QTextListFormat::ListLowerRoman);
        QCOMPARE(list->format().indent(), 2);
        BulletsAndNumberingDialog none(&editor.control);
        QVERIFY(none.findChild<QRadioButton*>(QStringLiteral("Numbers"))->isChecked());
        none.findChild<QRadioButton*>(QStringLiteral("None"))->setChecked(true);
        none.accept();
        QCOMPARE(editor.control.textCursor().currentList(), nullptr);
    }

    void theTabStopsAreSetChangedAndCleared()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("a\tb"));
        TabsDialog dialog(&editor.control, MeasurementUnit::Inches);
        auto* position = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("Position"));
        auto* type = dialog.findChild<QComboBox*>(QStringLiteral("Alignment"));
        auto press = [&](const char* name) { dialog.findChild<QPushButton*>(QLatin1String(name))->click(); };
        position->setValue(2);
        press("Set");
        position->setValue(1);
        press("Set");
        type->setCurrentIndex(1); // the stop at 1 inch becomes a right tab
        press("Set");
        QCOMPARE(dialog.Tabs().size(), 2);
        QCOMPARE(dialog.Tabs().at(0).position, 1440 / 15.0);
        QCOMPARE(dialog.Tabs().at(0).type, QTextOption::RightTab);
        dialog.findChild<QListWidget*>(QStringLiteral("List"))->setCurrentRow(1);
        press("Clear");
        QCOMPARE(dialog.Tabs().size(), 1);
        dialog.accept();
        QCOMPARE(editor.control.textCursor().blockFormat().tabPositions(), dialog.Tabs());
        TabsDialog cleared(&editor.control, MeasurementUnit::Inches);
        QCOMPARE(cleared.Tabs().size(), 1);
        cleared.findChild<QPushButton*>(QStringLiteral("ClearAll"))->click();
        cleared.reject();
        QCOMPARE(editor.control.textCursor().blockFormat().tabPositions().size(), 1);
    }

    void findAndReplaceInTheDialog()
    {
        Editor editor;
        editor.edit.SetSelText(QStringLiteral("Banana band"));
        FindReplaceDialog dialog(&editor.control, true);
        dialog.findChild<QLineEdit*>(QStringLiteral("FindWhat"))->setText(QStringLiteral("ban"));
        dialog.findChild<QLineEdit*>(QStringLiteral("ReplaceWith"))->setText(QStringLiteral("c"));
        QVERIFY(dialog.FindNext()); // from the caret at the end, round to the start; case ignored
        QCOMPARE(editor.control.SelStart(), 0);
        dialog.ReplaceOne();
        QCOMPARE(editor.control.Text(), QStringLiteral("cana band"));
        QCOMPARE(editor.control.SelText(), QStringLiteral("ban"));
        dialog.findChild<QCheckBox*>(QStringLiteral("MatchCase"))->setChecked(true);
        dialog.findChild<QLineEdit*>(QStringLiteral("FindWhat"))->setText(QStringLiteral("Ban"));
        QVERIFY(!dialog.FindNext());
        QCOMPARE(dialog.ReplaceAll(), 0);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Message"))->text(), QStringLiteral("\"Ban\" was not found."));
    }
};

QTEST_MAIN(EditingTest)
#include "tst_Editing.moc"
