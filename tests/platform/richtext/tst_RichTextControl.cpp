#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QToolButton>
#include <QtTest>

using namespace jornix;

namespace {

QString writePicture(const QString& folder, const QString& name, QColor colour)
{
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = QDir(folder).filePath(name);
    image.save(path);
    return path;
}

// The colours of the document's pictures in document order; an invalid colour for a picture whose data the
// document does not hold.
QList<QColor> pictureColours(const QTextDocument& document)
{
    QList<QColor> colours;
    for (const QString& name : ImageNames(document)) {
        const QImage image = ImageResource(document, name);
        colours << (image.isNull() ? QColor() : image.pixelColor(0, 0));
    }
    return colours;
}

// The font that the notes are written in, unlike the control's own.
QTextCharFormat notesFont()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Times New Roman")});
    format.setFontPointSize(12);
    return format;
}

QTextTableCell caretCell(const RichTextControl& control)
{
    const QTextCursor caret = control.textCursor();
    return caret.currentTable() ? caret.currentTable()->cellAt(caret) : QTextTableCell();
}

} // namespace

class RichTextControlTest : public QObject
{
    Q_OBJECT

private slots:
    void plainTextEndsEveryParagraphWithALineBreak_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("plainText");

        QTest::newRow("two paragraphs") << "alpha\nbeta" << QByteArray("alpha\nbeta\n");
        QTest::newRow("an empty document is one byte long") << "" << QByteArray("\n");
        QTest::newRow("UTF-8") << QString::fromUtf8("Grüße")
                               << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                             "e\n");
    }
    void plainTextEndsEveryParagraphWithALineBreak()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, plainText);
        RichTextControl control;
        control.setPlainText(text);
        QCOMPARE(control.Save(TextFormat::PlainText).bytes, plainText);
        QCOMPARE(control.SaveLength(TextFormat::PlainText), plainText.size());

        // Loading the plain text back gives the same paragraphs, not one more.
        RichTextControl loaded;
        QVERIFY(loaded.Load(plainText, TextFormat::PlainText));
        QCOMPARE(loaded.Text(), text);
    }

    void aSelectionConvertsAlone()
    {
        RichTextControl control;
        control.setHtml(QStringLiteral("<p>alpha <b>beta</b> gamma</p>"));
        control.SetSelStart(6);
        control.SetSelLength(4);
        QCOMPARE(control.SelText(), QStringLiteral("beta"));
        QCOMPARE(control.Save(TextFormat::PlainText, true).bytes, QByteArray("beta"));

        RichTextControl pasted;
        QVERIFY(pasted.Load(control.Save(TextFormat::OwnFormat, true).bytes, TextFormat::OwnFormat));
        QCOMPARE(pasted.Text(), QStringLiteral("beta"));
        QVERIFY(pasted.document()->begin().begin().fragment().charFormat().font().bold());
    }

    void formatsTheControlCannotLoadAreRefusedClearly_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<QString>("message");

        QTest::newRow("Word") << 9 << true << "Format 9 (Word) cannot be loaded.";
        QTest::newRow("PDF") << 12 << true << "Format 12 (PDF) cannot be loaded.";
        QTest::newRow("an unknown number") << 2 << false << "Format 2 is not supported.";
    }
    void formatsTheControlCannotLoadAreRefusedClearly()
    {
        QFETCH(int, format);
        QFETCH(bool, saves);
        QFETCH(QString, message);
        RichTextControl control;
        control.setPlainText(QStringLiteral("kept"));
        QString error;
        QVERIFY(!control.Load("{\\rtf1 x}", format, &error));
        QCOMPARE(error, message);
        QCOMPARE(control.Text(), QStringLiteral("kept"));
        QCOMPARE(IsSupportedTextFormat(format), saves);
        if (!saves) {
            const Conversion conversion = control.Save(format);
            QVERIFY(!conversion.ok());
            QCOMPARE(conversion.error, message);
            QCOMPARE(control.SaveLength(format), 0);
        }
    }

    void pageViewShowsThePagesAndStaysEditable()
    {
        RichTextControl control;
        control.SetPage({12240, 7200, 720, 720, 720, 720}); // half a page high: 816 x 480
        QTextCursor cursor(control.document());
        cursor.insertText(QStringLiteral("first page"));
        QTextBlockFormat newPage;
        newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(newPage);
        cursor.insertText(QStringLiteral("second page"));
        control.document()->setModified(false);
        QSignalSpy changed(&control, &RichTextControl::Changed);
        control.SetViewMode(RichTextControl::ViewMode::Page);
        QCOMPARE(changed.count(), 0);
        QVERIFY(!control.document()->isModified());
        control.resize(900, 1100);
        control.show();
        QCOMPARE(control.document()->pageCount(), 2);

        const QImage shot = control.grab().toImage();
        shot.save(QDir::temp().filePath("jornix-page-view.png"));
        const QPoint inside = control.viewport()->mapTo(&control, QPoint(400, 0));
        const QColor white(Qt::white);
        QCOMPARE(shot.pixelColor(inside + QPoint(0, 100)), white);               // in the first page
        QVERIFY(shot.pixelColor(inside + QPoint(0, 480)) != white);              // the gap between the pages
        QCOMPARE(shot.pixelColor(inside + QPoint(0, 480 + 100)), white);         // in the second page
        QVERIFY(shot.pixelColor(inside + QPoint(816 - 400 + 40, 100)) != white); // beside the page
        // The text of the second page starts below its top margin.
        const QRectF second =
            control.document()->documentLayout()->blockBoundingRect(control.document()->lastBlock());
        QCOMPARE(qRound(second.top()), 480 + 48);

        control.setFocus();
        control.moveCursor(QTextCursor::End);
        QTest::keyClicks(&control, QStringLiteral("!"));
        QCOMPARE(control.Text(), QStringLiteral("first page\nsecond page!"));
        // The page's margins are the view's: a document saved in page view has the plain ones.
        QVERIFY(!control.Save(TextFormat::Html).bytes.contains("-qt-table-type: root"));
        control.SetViewMode(RichTextControl::ViewMode::Normal);
        QCOMPARE(control.document()->rootFrame()->frameFormat().leftMargin(),
                 control.document()->documentMargin());
    }

    void loadingIsNoEditButTypingIs()
    {
        RichTextControl control;
        QSignalSpy changed(&control, &RichTextControl::Changed);
        QVERIFY(control.Load("<p>loaded</p>", TextFormat::Html));
        QCOMPARE(changed.count(), 0);
        QVERIFY(!control.document()->isUndoAvailable());
        QVERIFY(!control.Load("damaged", TextFormat::OwnFormat));
        QCOMPARE(control.TextLength(), 0);
        QCOMPARE(changed.count(), 0);

        QTest::keyClicks(&control, QStringLiteral("ab"));
        QCOMPARE(changed.count(), 2);
        control.ClearDocument();
        QCOMPARE(changed.count(), 3);
        QCOMPARE(control.TextLength(), 0);
    }

    void keyEventsReportKeyAndShiftStateAndACancelledKeyIsNotTyped()
    {
        RichTextControl control;
        QSignalSpy down(&control, &RichTextControl::KeyDown);
        QSignalSpy up(&control, &RichTextControl::KeyUp);
        connect(&control, &RichTextControl::KeyPress, this, [](KeyPressEvent* press) {
            if (press->character == 'x')
                press->character = 0;
        });
        QTest::keyClick(&control, 'A', Qt::ShiftModifier);
        QTest::keyClick(&control, 'x');
        QTest::keyClick(&control, 'b');
        QCOMPARE(control.Text(), QStringLiteral("Ab"));
        // The Shift key itself comes as a key of its own, as on a keyboard.
        const QList<QVariantList> keys = {down.begin(), down.end()};
        const auto a = std::find_if(keys.begin(), keys.end(),
                                    [](const QVariantList& key) { return key.at(0).toInt() == Qt::Key_A; });
        QVERIFY(a != keys.end());
        QCOMPARE(a->at(1).toInt(), int(ShiftState::Shift));
        QCOMPARE(down.last().at(0).toInt(), int(Qt::Key_B));
        QCOMPARE(down.last().at(1).toInt(), 0);
        QCOMPARE(up.count(), down.count());
    }

    void selectionByStartAndLength_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("replaced");

        QTest::newRow("a word") << 6 << 4 << "beta"
                                << "alpha X gamma";
        QTest::newRow("-1 selects to the end") << 6 << -1 << "beta gamma"
                                               << "alpha X";
        QTest::newRow("a length beyond the end stops there") << 11 << 50 << "gamma"
                                                             << "alpha beta X";
        QTest::newRow("a start beyond the end selects nothing") << 99 << 3 << ""
                                                                << "alpha beta gammaX";
    }
    void selectionByStartAndLength()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        QFETCH(QString, replaced);
        RichTextControl control;
        control.setPlainText(QStringLiteral("alpha beta gamma"));
        control.SetSelStart(start);
        control.SetSelLength(length);
        QCOMPARE(control.SelText(), selected);
        QCOMPARE(control.SelLength(), selected.size());
        control.SetSelText(QStringLiteral("X"));
        QCOMPARE(control.Text(), replaced);
    }

    // A picture is data of the document from the moment it is inserted or loaded, whatever file was loaded
    // before and wherever it lay.
    void aPictureStaysDataOfTheDocumentThroughEveryLoad_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("pictureInFile");
        const std::tuple<const char*, int, const char*> formats[] = {{"RTF", TextFormat::Rtf, "rtf"},
                                                                     {"own format", TextFormat::OwnFormat, "tx"},
                                                                     {"HTML", TextFormat::Html, "html"},
                                                                     {"text", TextFormat::PlainText, "txt"}};
        for (const auto& [name, format, suffix] : formats) {
            QTest::newRow(qPrintable(QStringLiteral("%1: load, then insert").arg(name)))
                << format << suffix << false;
            QTest::newRow(qPrintable(QStringLiteral("%1: insert, save, load elsewhere").arg(name)))
                << format << suffix << true;
        }
    }
    void aPictureStaysDataOfTheDocumentThroughEveryLoad()
    {
        QFETCH(int, format);
        QFETCH(QString, suffix);
        QFETCH(bool, pictureInFile);
        QTemporaryDir pictures, saved, elsewhere;
        const QString red = writePicture(pictures.path(), QStringLiteral("red.png"), Qt::red);
        const QString green = writePicture(pictures.path(), QStringLiteral("green.png"), Qt::green);
        const QString file = QDir(saved.path()).filePath(QStringLiteral("notes.") + suffix);
        {
            RichTextControl source;
            source.SetImageSaveMode(0); // HTML with its pictures in files beside it
            source.setPlainText(QStringLiteral("Notes "));
            source.moveCursor(QTextCursor::End);
            if (pictureInFile)
                QVERIFY(source.InsertImageFile(red, {}));
            QVERIFY(source.SaveFile(file, format));
        }
        const bool formatHoldsPictures = format != TextFormat::PlainText;
        QList<QColor> expected;
        if (pictureInFile && formatHoldsPictures)
            expected << QColor(Qt::red);
        expected << QColor(Qt::green);

        RichTextControl control;
        QVERIFY(control.LoadFile(file, format));
        // HTML's pictures are taken into the document on loading: the files beside it may go.
        for (const QString& beside : QDir(saved.path()).entryList({QStringLiteral("*.png")}))
            QVERIFY(QFile::remove(QDir(saved.path()).filePath(beside)));
        control.moveCursor(QTextCursor::End);
        QVERIFY(control.InsertImageFile(green, {}));
        QCOMPARE(pictureColours(*control.document()), expected);

        // The saved bytes hold the pictures: those of the own format, as notes are stored, and the file's.
        RichTextControl stored;
        QVERIFY(stored.Load(control.Save(TextFormat::OwnFormat).bytes, TextFormat::OwnFormat));
        QCOMPARE(pictureColours(*stored.document()), expected);
        if (formatHoldsPictures) {
            const QString again = QDir(elsewhere.path()).filePath(QStringLiteral("again.") + suffix);
            QVERIFY(control.SaveFile(again, format));
            RichTextControl reloaded;
            QVERIFY(reloaded.LoadFile(again, format));
            QCOMPARE(pictureColours(*reloaded.document()), expected);
        }
    }

    // Text typed after an inserted picture and in the cells of a new table is in the font of the text at the
    // caret, not in the control's own.
    void newTextTakesTheFontAtTheCaret_data()
    {
        QTest::addColumn<QString>("insertion");
        QTest::newRow("after a picture") << "picture";
        QTest::newRow("after a picture, the notes saved and loaded again") << "reloaded";
        QTest::newRow("in the first cell of a new table") << "table";
        QTest::newRow("in a new table in empty notes") << "empty";
        QTest::newRow("in a row that Tab added to a new table") << "row";
    }
    void newTextTakesTheFontAtTheCaret()
    {
        QFETCH(QString, insertion);
        QTemporaryDir pictures;
        RichTextControl control;
        control.setCurrentCharFormat(notesFont());
        if (insertion != QLatin1String("empty"))
            QTest::keyClicks(&control, QStringLiteral("See "));
        if (insertion == QLatin1String("picture") || insertion == QLatin1String("reloaded")) {
            QVERIFY(control.InsertImageFile(writePicture(pictures.path(), QStringLiteral("red.png"), Qt::red), {}));
            if (insertion == QLatin1String("reloaded")) {
                const Conversion saved = control.Save(TextFormat::OwnFormat, false);
                QVERIFY(control.Load(saved.bytes, TextFormat::OwnFormat));
                control.moveCursor(QTextCursor::End);
            }
        } else {
            QVERIFY(control.TableInsert(1, 2));
            if (insertion == QLatin1String("row")) {
                QTest::keyClick(&control, Qt::Key_Tab);
                QTest::keyClick(&control, Qt::Key_Tab);
                QCOMPARE(control.TableRows(1), 2);
            }
        }
        QTest::keyClicks(&control, QStringLiteral("typed"));
        QTextCursor typed = control.textCursor();
        typed.movePosition(QTextCursor::PreviousCharacter);
        typed.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        QCOMPARE(typed.selectedText(), QStringLiteral("d"));
        QCOMPARE(typed.charFormat().fontFamilies().toStringList(), QStringList{"Times New Roman"});
        QCOMPARE(typed.charFormat().fontPointSize(), 12.0);
    }

    // Tab and Shift+Tab move between the cells of a table, selecting the text of the cell they reach; Tab in
    // the last cell adds a row; Ctrl+Tab types a tab character.
    void tabMovesBetweenTheCellsOfATable_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toColumn");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("cellText"); // the text of the cell left
        const int none = 0, shift = int(Qt::ShiftModifier), ctrl = int(Qt::ControlModifier);
        QTest::newRow("Tab: the next cell") << 0 << 0 << int(Qt::Key_Tab) << none << 0 << 1 << 2 << "a";
        QTest::newRow("Tab at a row's end: the next row") << 0 << 1 << int(Qt::Key_Tab) << none << 1 << 0 << 2 << "b";
        QTest::newRow("Tab in the last cell adds a row") << 1 << 1 << int(Qt::Key_Tab) << none << 2 << 0 << 3 << "d";
        QTest::newRow("Shift+Tab: the cell before") << 1 << 0 << int(Qt::Key_Backtab) << shift << 0 << 1 << 2 << "c";
        QTest::newRow("Shift+Tab in the first cell stays") << 0 << 0 << int(Qt::Key_Backtab) << shift << 0 << 0 << 2 << "a";
        QTest::newRow("Ctrl+Tab types a tab") << 0 << 0 << int(Qt::Key_Tab) << ctrl << 0 << 0 << 2 << "\ta";
    }
    void tabMovesBetweenTheCellsOfATable()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, toRow);
        QFETCH(int, toColumn);
        QFETCH(int, rows);
        QFETCH(QString, cellText);
        RichTextControl control;
        QVERIFY(control.TableInsert(2, 2));
        QTextTable* table = control.TableOf(1);
        const QStringList texts = {"a", "b", "c", "d"};
        for (int cell = 0; cell < 4; ++cell)
            table->cellAt(cell / 2, cell % 2).firstCursorPosition().insertText(texts[cell]);
        control.setTextCursor(table->cellAt(row, column).firstCursorPosition());
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QStringLiteral("\t"));
        QApplication::sendEvent(&control, &press);
        QCOMPARE(control.TableRows(1), rows);
        QCOMPARE(caretCell(control).row(), toRow);
        QCOMPARE(caretCell(control).column(), toColumn);
        const QTextTableCell reached = table->cellAt(toRow, toColumn);
        QTextCursor text = reached.firstCursorPosition();
        text.setPosition(reached.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        QCOMPARE(control.SelText(), toRow == row && toColumn == column ? QString() : text.selectedText());
        QTextCursor left = table->cellAt(row, column).firstCursorPosition();
        left.setPosition(table->cellAt(row, column).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        QCOMPARE(left.selectedText(), cellText);
    }

    void barsFollowTheControl()
    {
        RichTextControl control;
        ButtonBar buttonBar;
        Ruler ruler;
        StatusBar statusBar;
        control.SetButtonBar(&buttonBar);
        control.SetRuler(&ruler);
        control.SetStatusBar(&statusBar);
        control.setPlainText(QStringLiteral("first\nsecond"));

        control.SetSelStart(8);
        QCOMPARE(statusBar.Text(), QStringLiteral("Line 2, Column 3"));

        control.SetSelStart(0);
        control.SetSelLength(5);
        buttonBar.findChild<QToolButton*>(QStringLiteral("bold"))->click();
        QVERIFY(control.document()->begin().begin().fragment().charFormat().font().bold());
        control.SetSelStart(8);
        QVERIFY(!buttonBar.findChild<QToolButton*>(QStringLiteral("bold"))->isChecked());

        ruler.SetScaleUnits(7);
        QCOMPARE(ruler.ScaleUnits(), int(Ruler::Millimetres));

        control.SetButtonBar(nullptr);
        QVERIFY(!buttonBar.isEnabled());
        QCOMPARE(buttonBar.Control(), nullptr);
    }
};

QTEST_MAIN(RichTextControlTest)
#include "tst_RichTextControl.moc"
