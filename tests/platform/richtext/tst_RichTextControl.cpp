#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextFrame>
#include <QToolButton>
#include <QtTest>

using namespace jornix;

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
