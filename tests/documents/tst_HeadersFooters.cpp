#include "platform/framework/MessageRecorder.h"
#include "ThreePages.h"

#include "documents/TXEdit.h"
#include "platform/richtext/HeaderFooterEditor.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/RichTextControl.h"

#include <QDir>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using namespace jornix;

namespace {

using Insert = void (TXEdit::*)(int, const QString&);

// fillThreePages, shown as pages.
void fillThreePagesInPageView(Editor& editor)
{
    fillThreePages(editor);
    editor.edit.SetViewMode(1);
}

// The part a page shows: page 1 its first one while there is one.
QString shownOn(int page, const QString& first, const QString& other)
{
    return page == 0 && !first.isEmpty() ? first : other;
}

// What each of the three pages reads, top to bottom: its header, its word, its footer.
QStringList expectedPages(const QString& first, const QString& other, bool headers)
{
    QStringList pages;
    for (int page = 0; page < Words.size(); ++page) {
        const QString part = shownOn(page, first, other);
        pages << (part.isEmpty() ? Words[page]
                  : headers      ? part + ' ' + Words[page]
                                 : Words[page] + ' ' + part);
    }
    return pages;
}

} // namespace

class HeadersFootersTest : public QObject
{
    Q_OBJECT

    QTemporaryDir temporaryFolder_;

private slots:
    void initTestCase()
    {
        qputenv("TMPDIR", temporaryFolder_.path().toLocal8Bit());
        QCOMPARE(QDir::tempPath(), temporaryFolder_.path());
    }

    void cleanup() { TXEdit::DeleteTempMetafiles(); }

    void outsidePageViewTheMessageShowsAndNothingChanges_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("on");
        QTest::addColumn<QString>("message");
        const QString header = "You need to be in a Page View Mode to insert a header.";
        QTest::newRow("first header") << int(HeaderFooter::FirstHeader) << 1 << header;
        QTest::newRow("header") << int(HeaderFooter::Header) << 1 << header;
        QTest::newRow("first footer") << int(HeaderFooter::FirstFooter) << 1
                                      << "You need to be in a Page View Mode to insert a footer.";
        QTest::newRow("footer") << int(HeaderFooter::Footer) << 1
                                << "You need to be in a Page View Mode to insert a Footer.";
        QTest::newRow("removing a header") << int(HeaderFooter::Header) << 0 << header;
        QTest::newRow("removing a footer")
            << int(HeaderFooter::Footer) << 0 << "You need to be in a Page View Mode to insert a Footer.";
    }
    void outsidePageViewTheMessageShowsAndNothingChanges()
    {
        QFETCH(int, kind);
        QFETCH(int, on);
        QFETCH(QString, message);
        static const Insert inserts[] = {&TXEdit::InsertFirstHeader, &TXEdit::InsertHeader,
                                         &TXEdit::InsertFirstFooter, &TXEdit::InsertFooter};
        Editor editor;
        fillThreePagesInPageView(editor);
        (editor.edit.*inserts[kind - 1])(1, "kept");
        editor.edit.SetViewMode(0);
        QSignalSpy changed(&editor.control, &RichTextControl::Changed);
        jornix::test::MessageRecorder boxes;
        (editor.edit.*inserts[kind - 1])(on, "new text");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes.first().caption, QStringLiteral("TX EDIT"));
        QCOMPARE(boxes.boxes.first().text, message);
        QCOMPARE(boxes.boxes.first().icon, MessageIcon::None);
        QVERIFY(editor.control.HeaderFooterOn(kind));
        QCOMPARE(editor.control.HeaderFooterText(kind), QStringLiteral("kept"));
        QCOMPARE(changed.count(), 0);
    }

    void printedPagesShowTheirHeadersAndFooters_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("headers");
        QTest::newRow("a header on every page") << ""
                                                << "Running head" << true;
        QTest::newRow("a first header on page 1 only") << "Title head"
                                                       << "" << true;
        QTest::newRow("first header and header") << "Title head"
                                                 << "Running head" << true;
        QTest::newRow("a footer on every page") << ""
                                                << "Running foot" << false;
        QTest::newRow("a first footer on page 1 only") << "Title foot"
                                                       << "" << false;
        QTest::newRow("first footer and footer") << "Title foot"
                                                 << "Running foot" << false;
    }
    void printedPagesShowTheirHeadersAndFooters()
    {
        QFETCH(QString, first);
        QFETCH(QString, other);
        QFETCH(bool, headers);
        Editor editor;
        fillThreePagesInPageView(editor);
        if (!first.isEmpty())
            (editor.edit.*(headers ? &TXEdit::InsertFirstHeader : &TXEdit::InsertFirstFooter))(1, first);
        if (!other.isEmpty())
            (editor.edit.*(headers ? &TXEdit::InsertHeader : &TXEdit::InsertFooter))(1, other);
        const QStringList expected = expectedPages(first, other, headers);

        QTemporaryDir folder;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("printed.pdf"));
        editor.edit.SetPrinter(&printer);
        QCOMPARE(editor.edit.PrintDocument(1), 1);
        // The PDF conversion shows the same pages.
        editor.edit.SaveToFile(folder.filePath("saved.pdf"), TextFormat::Pdf);
        for (int page = 0; page < Words.size(); ++page) {
            QCOMPARE(pdfPageText(folder.filePath("printed.pdf"), page + 1), expected[page]);
            QCOMPARE(pdfPageText(folder.filePath("saved.pdf"), page + 1), expected[page]);
        }

        // Page pictures, also those of the print engine drawn from the stored document.
        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        Editor engine;
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        QCOMPARE(engine.edit.RenderBlobOrFileMetafiles(&blob, QString(), 8500, 11000), 1);
        for (const TXEdit* edit : {&editor.edit, &engine.edit}) {
            QCOMPARE(edit->MetaItems(), 3);
            for (int page = 0; page < Words.size(); ++page) {
                const QByteArray picture = contentOf(edit->MetaList().at(page));
                QVERIFY(picture.contains(pictureText(Words[page])));
                for (const QString& text : {first, other})
                    if (!text.isEmpty())
                        QCOMPARE(picture.contains(pictureText(text)), text == shownOn(page, first, other));
            }
        }
    }

    void pageViewShowsTheHeaderInTheTopMargin()
    {
        Editor editor;
        fillThreePagesInPageView(editor);
        editor.control.resize(900, 700);
        editor.control.show();
        const QImage without = editor.control.viewport()->grab().toImage();
        editor.edit.InsertHeader(1, "Running head");
        editor.edit.ActivateHeaderFooter(HeaderFooter::None);
        const QImage with = editor.control.viewport()->grab().toImage();
        QCOMPARE(with.size(), without.size());
        QRect changed;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        // The header's text, inside the top margin of 1440 twips (96 pixels) and right of the left one; the
        // text of the page stays where it was.
        QVERIFY(!changed.isEmpty());
        QVERIFY2(changed.top() > 0 && changed.bottom() < 96 && changed.left() >= 96,
                 qPrintable(QString("%1 %2 %3 %4")
                                .arg(changed.x())
                                .arg(changed.y())
                                .arg(changed.width())
                                .arg(changed.height())));
    }

    void headersAndFootersSurviveStoreAndLoad()
    {
        Editor editor;
        fillThreePagesInPageView(editor);
        editor.edit.InsertFirstHeader(1, "First head");
        editor.edit.InsertHeader(1, "Head");
        editor.edit.InsertFirstFooter(1, "First foot");
        editor.edit.InsertFooter(1, "Foot");
        // Formatting of the header's own text is kept too.
        QTextCursor bold(HeadersFooters::Find(*editor.control.document())->Part(HeaderFooter::Header));
        bold.select(QTextCursor::Document);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(format);

        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        Editor loaded;
        QVERIFY(loaded.edit.LoadFromBlob(blob));
        const QStringList texts{"First head", "Head", "First foot", "Foot"};
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
            QCOMPARE(loaded.control.HeaderFooterText(kind), texts[kind - 1]);
        const QTextDocument* head =
            HeadersFooters::Find(*loaded.control.document())->Part(HeaderFooter::Header);
        QVERIFY(head->begin().begin().fragment().charFormat().font().bold());
        QCOMPARE(loaded.control.Text(), editor.control.Text());

        // Loading a document without them, and a new document, leave none.
        Editor plain;
        plain.control.setPlainText("no headers");
        QByteArray plainBlob;
        plain.edit.SaveToBlob(plainBlob);
        QVERIFY(loaded.edit.LoadFromBlob(plainBlob));
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
            QVERIFY(!loaded.control.HeaderFooterOn(kind));
        QVERIFY(loaded.edit.LoadFromBlob(blob));
        QCOMPARE(loaded.edit.NewDocument(1), 1);
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
            QVERIFY(!loaded.control.HeaderFooterOn(kind));
    }

    void insertingPutsTheTextInPlaceAndTheCaretIntoIt()
    {
        Editor editor;
        fillThreePagesInPageView(editor);
        editor.control.resize(700, 500);
        editor.control.show();
        editor.edit.InsertHeader(1, "old");
        QSignalSpy changed(&editor.control, &RichTextControl::Changed);
        editor.edit.InsertHeader(1, QString(600, 'x') + QChar(0) + "after");
        QCOMPARE(editor.control.HeaderFooterText(HeaderFooter::Header), QString(512, 'x'));
        QVERIFY(changed.count() > 0);
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::Header));

        // Typing goes into the header, Escape back to the text of the pages.
        editor.edit.InsertFooter(1, "Foot");
        HeaderFooterEditor* footer = editor.control.ActiveHeaderFooterEditor();
        QVERIFY(footer && footer->isVisible());
        QTest::keyClicks(footer, " note");
        QCOMPARE(editor.control.HeaderFooterText(HeaderFooter::Footer), QStringLiteral("Foot note"));
        QCOMPARE(editor.control.Text(), Words.join('\n'));
        QTest::keyClick(footer, Qt::Key_Escape);
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::None));
        QVERIFY(!editor.control.ActiveHeaderFooterEditor());

        QCOMPARE(editor.edit.ActivateHeaderFooter(HeaderFooter::Footer), 1);
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::Footer));
        QCOMPARE(editor.edit.ActivateHeaderFooter(HeaderFooter::None), 1);
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::None));
        // A part that is off, and a view without pages, take no caret.
        QCOMPARE(editor.edit.ActivateHeaderFooter(HeaderFooter::FirstFooter), 0);
        editor.edit.SetViewMode(0);
        QCOMPARE(editor.edit.ActivateHeaderFooter(HeaderFooter::Footer), 0);

        // Removing one takes its text with it; the others stay.
        editor.edit.SetViewMode(1);
        editor.edit.InsertHeader(0, QString());
        QVERIFY(!editor.control.HeaderFooterOn(HeaderFooter::Header));
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::None));
        QCOMPARE(editor.control.HeaderFooterText(HeaderFooter::Footer), QStringLiteral("Foot note"));

        // A new document takes the caret out of the footer it removes.
        QCOMPARE(editor.edit.ActivateHeaderFooter(HeaderFooter::Footer), 1);
        QCOMPARE(editor.edit.NewDocument(1), 1);
        QCOMPARE(editor.control.ActiveHeaderFooter(), int(HeaderFooter::None));
        QVERIFY(!editor.control.ActiveHeaderFooterEditor());
        QVERIFY(!editor.control.HeaderFooterOn(HeaderFooter::Footer));
    }
};

QTEST_MAIN(HeadersFootersTest)
#include "tst_HeadersFooters.moc"
