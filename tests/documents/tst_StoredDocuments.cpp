#include "DocumentEditor.h"
#include "platform/framework/MessageRecorder.h"

#include "documents/TXEdit.h"
#include "platform/richtext/ButtonBar.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/Ruler.h"
#include "platform/richtext/StatusBar.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/store/Catalogue.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace jornix;

namespace {

const PageSettings HelloPage{11800, 15000, 1000, 1100, 1200, 1300};

QByteArray helloBlob()
{
    Editor editor;
    editor.control.SetPage(HelloPage);
    editor.control.setPlainText(QStringLiteral("Hello"));
    QByteArray blob;
    editor.edit.SaveToBlob(blob);
    return blob;
}

} // namespace

class StoredDocumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void initGivesThePageDefaultsAndJoinsTheBars()
    {
        RichTextControl control;
        ButtonBar buttonBar;
        Ruler ruler;
        StatusBar statusBar;
        TXEdit edit;
        edit.Init(&control, &buttonBar, &ruler, &statusBar);
        QVERIFY(edit.IsInitialised());
        QCOMPARE(control.Page(), (PageSettings{12626, 17557, 720, 720, 720, 720}));
        QCOMPARE(control.GetViewMode(), RichTextControl::ViewMode::Normal);
        QCOMPARE(buttonBar.Control(), &control);
        QCOMPARE(ruler.Control(), &control);
        QCOMPARE(statusBar.Control(), &control);
        QVERIFY(edit.WorkFileName().isEmpty());

        edit.Kill();
        QVERIFY(!edit.IsInitialised());
        QCOMPARE(buttonBar.Control(), nullptr);
        QCOMPARE(control.GetButtonBar(), nullptr);
    }

    void initWithoutAControlStopsAndLeavesTheObjectUnusable()
    {
        jornix::test::MessageRecorder boxes({MessageButton::Ignore});
        TXEdit edit;
        edit.Init(nullptr);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes.first().text,
                 QStringLiteral(
                     "TXEdit: The FEQ was not passed into constructor, the control will not be created!"));
        QCOMPARE(boxes.boxes.first().icon, MessageIcon::Stop);
        QCOMPARE(boxes.boxes.first().buttons, MessageButton::Abort | MessageButton::Ignore);
        QVERIFY(!edit.IsInitialised());
        QByteArray blob("untouched");
        edit.SaveToBlob(blob);
        QCOMPARE(blob, QByteArray("untouched"));
        QCOMPARE(edit.NewDocument(1), 0);
    }

    void viewModeTakesOneAndTwoAndElseNormal_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("shown");
        QTest::newRow("page view") << 1 << 1;
        QTest::newRow("mode 2") << 2 << 2;
        QTest::newRow("5 gives normal") << 5 << 0;
    }
    void viewModeTakesOneAndTwoAndElseNormal()
    {
        QFETCH(int, mode);
        QFETCH(int, shown);
        Editor editor;
        editor.edit.SetViewMode(mode);
        QCOMPARE(editor.edit.PageView(), shown);
        QCOMPARE(int(editor.control.GetViewMode()), shown);
    }

    void storedDocumentIsTheHeaderAndTheOwnFormat()
    {
        const QByteArray blob = helloBlob();
        QCOMPARE(blob.left(30).toHex(),
                 QByteArray("17000000e80300004c040000b004000014050000983a0000182e00000000"));
        Editor reference;
        reference.control.setPlainText(QStringLiteral("Hello"));
        QCOMPARE(blob.size(), 30 + reference.control.SaveLength(TextFormat::OwnFormat));
        QCOMPARE(blob.mid(30), reference.control.Save(TextFormat::OwnFormat).bytes);
    }

    void loadingAStoredDocumentRestoresItsPage()
    {
        Editor editor;
        editor.edit.LoadFromBlob(helloBlob());
        QCOMPARE(editor.control.Page(), HelloPage);
        QCOMPARE(editor.control.Text(), QStringLiteral("Hello"));
    }

    void aBareDocumentLoadsAndLeavesThePageAlone()
    {
        Editor editor;
        const PageSettings before = editor.control.Page();
        editor.edit.LoadFromBlob(helloBlob().mid(30));
        QCOMPARE(editor.control.Text(), QStringLiteral("Hello"));
        QCOMPARE(editor.control.Page(), before);
    }

    void whatCountsAsADocument_data()
    {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<int>("document");

        const QByteArray blob = helloBlob();
        QTest::newRow("a stored document") << blob << 1;
        QTest::newRow("a bare document") << blob.mid(30) << 1;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("15 bytes") << blob.left(15) << 0;
        QTest::newRow("a header alone") << blob.left(30) << 0;
        QTest::newRow("a header and half a document") << blob.left(blob.size() / 2) << 0;
        QTest::newRow("a header and plain text") << blob.left(30) + "Hello, this is text" << 0;
        QTest::newRow("plain text") << QByteArray("Hello, this is text") << 0;
    }
    void whatCountsAsADocument()
    {
        QFETCH(QByteArray, blob);
        QFETCH(int, document);
        QCOMPARE(TXEdit::IsTXDocument(blob), document);
    }

    void stripPageHeaderTakesOnlyAHeaderMarked23_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stripped");

        const QByteArray blob = helloBlob();
        QTest::newRow("a stored document") << blob << 1;
        QTest::newRow("31 bytes with the mark") << blob.left(31) << 1;
        QTest::newRow("30 bytes with the mark") << blob.left(30) << 0;
        QTest::newRow("the mark 24") << QByteArray("\x18", 1) + blob.mid(1) << 0;
        QTest::newRow("a bare document") << blob.mid(30) << 0;
    }
    void stripPageHeaderTakesOnlyAHeaderMarked23()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, stripped);
        QByteArray changed = bytes;
        DocumentPageHeader header;
        QCOMPARE(TXEdit::StripPageHeader(changed, header), stripped);
        if (stripped) {
            QCOMPARE(changed, bytes.mid(30));
            QCOMPARE(header.LVERSION, 23);
            QCOMPARE(header.LWIDTH, HelloPage.width);
            QCOMPARE(header.LHEIGHT, HelloPage.height);
            QCOMPARE(header.LLEFTMARGIN, HelloPage.marginLeft);
            QCOMPARE(header.LBOTTOMMARGIN, HelloPage.marginBottom);
        } else {
            QCOMPARE(changed, bytes);
            QCOMPARE(header.LVERSION, 0);
        }
    }

    void blobOperationsWorkOnTheThreadsRecordBuffer()
    {
        Catalogue catalogue;
        Table& log =
            catalogue.AddTable(QStringLiteral("LOG"), QStringLiteral("Jornix"), QStringLiteral("LogFile"), 0);
        log.AddLong(QStringLiteral("LogNum"))
            .AddMemo(QStringLiteral("LogMiniNotes"), 1000)
            .AddString(QStringLiteral("LogDescription"), 30)
            .AddBlob(QStringLiteral("LogDoc"));
        log.ClearBuffer();
        const int logDoc = log.FieldIndex(QStringLiteral("LogDoc"));

        Editor writer;
        writer.control.SetPage(HelloPage);
        writer.control.setPlainText(QStringLiteral("Hello"));
        writer.edit.SaveToBlob(log, 2);
        QCOMPARE(log.Buffer().Blob(logDoc), helloBlob());
        QCOMPARE(TXEdit::IsTXDocument(log, 2), 1);
        QCOMPARE(TXEdit::IsTXDocument(log, 1), 0); // the memo
        QCOMPARE(TXEdit::IsTXDocument(log, 3), 0); // no such BLOB

        Editor reader;
        reader.edit.LoadFromBlob(log, 2);
        QCOMPARE(reader.control.Text(), QStringLiteral("Hello"));
        QCOMPARE(reader.control.Page(), HelloPage);
    }

    void formattingSurvivesStoreAndLoad()
    {
        Editor writer;
        QTextCursor cursor(writer.control.document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("Bold"), bold);
        QTextCharFormat red;
        red.setForeground(QColor(200, 0, 0));
        cursor.insertText(QStringLiteral(" red"), red);
        cursor.insertList(QTextListFormat::ListDisc);
        cursor.insertText(QStringLiteral("first item"), QTextCharFormat());
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("second item"));
        QTextBlockFormat afterBreak;
        afterBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(afterBreak); // a block format of its own: outside the list
        cursor.insertText(QStringLiteral("new page"));
        QTextTable* table = cursor.insertTable(2, 3);
        table->cellAt(1, 2).firstCursorPosition().insertText(QStringLiteral("cell"));
        cursor.movePosition(QTextCursor::End);
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        cursor.insertImage(image, QStringLiteral("blue"));

        QByteArray blob;
        writer.edit.SaveToBlob(blob);
        Editor reader;
        QVERIFY(TXEdit::IsTXDocument(blob));
        reader.edit.LoadFromBlob(blob);
        QTextDocument* document = reader.control.document();

        QTextBlock first = document->begin();
        QCOMPARE(first.text(), QStringLiteral("Bold red"));
        auto fragment = first.begin();
        QVERIFY(fragment.fragment().charFormat().font().bold());
        ++fragment;
        QCOMPARE(fragment.fragment().charFormat().foreground().color(), QColor(200, 0, 0));

        QTextBlock item = first.next();
        QVERIFY(item.textList());
        QCOMPARE(item.textList()->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(item.textList()->count(), 2);

        const QTextBlock page =
            document->findBlock(document->toPlainText().indexOf(QStringLiteral("new page")));
        QVERIFY(page.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);

        QTextCursor inTable(document);
        inTable.setPosition(document->toPlainText().indexOf(QStringLiteral("cell")));
        QVERIFY(inTable.currentTable());
        QCOMPARE(inTable.currentTable()->rows(), 2);
        QCOMPARE(inTable.currentTable()->columns(), 3);
        QCOMPARE(inTable.currentTable()->cellAt(inTable).row(), 1);

        QVERIFY(document->toHtml().contains(QStringLiteral("<img src=\"blue\"")));
        const QImage back =
            document->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("blue"))).value<QImage>();
        QCOMPARE(back.size(), QSize(6, 4));
        QCOMPARE(back.pixelColor(1, 1), QColor(0, 0, 255));
    }

    void damagedAndRandomBlobsNeverCrashTheLoader()
    {
        const QByteArray valid = helloBlob();
        QRandomGenerator random(20240613);
        for (int round = 0; round < 1000; ++round) {
            QByteArray blob;
            switch (round % 4) {
            case 0: // random bytes
                blob.resize(random.bounded(200));
                for (char& byte : blob)
                    byte = char(random.bounded(256));
                break;
            case 1: // a stored document cut short
                blob = valid.left(random.bounded(valid.size()));
                break;
            case 2: // a stored document with bytes changed
                blob = valid;
                for (int change = random.bounded(1, 6); change > 0; --change)
                    blob[random.bounded(blob.size())] = char(random.bounded(256));
                break;
            default: // a page header with random bytes behind it
                blob = valid.left(30 + 8);
                for (int extra = random.bounded(100); extra > 0; --extra)
                    blob.append(char(random.bounded(256)));
                break;
            }
            Editor editor;
            editor.control.setPlainText(QStringLiteral("earlier"));
            const int isDocument = TXEdit::IsTXDocument(blob);
            editor.edit.LoadFromBlob(blob);
            QByteArray bare = blob;
            DocumentPageHeader header;
            TXEdit::StripPageHeader(bare, header);
            if (!IsOwnFormat(bare))
                QCOMPARE(editor.control.TextLength(), 0);
            if (blob.size() >= 16)
                QCOMPARE(isDocument, IsOwnFormat(bare) ? 1 : 0);
        }
    }

    void loadFileTakesTheFormatFromTheExtension_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");

        const QByteArray html = "<p><b>bold</b> text</p>";
        QTest::newRow("htm") << "note.htm" << html << "bold text";
        QTest::newRow("html counts as htm") << "note.html" << html << "bold text";
        QTest::newRow("upper case") << "NOTE.HTM" << html << "bold text";
        QTest::newRow("txt is plain text") << "note.txt" << html << QString::fromLatin1(html);
        QTest::newRow("doc is plain text") << "note.doc" << html << QString::fromLatin1(html);
        QTest::newRow("no extension is plain text") << "note" << html << QString::fromLatin1(html);
        QTest::newRow("a trailing blank is not part of the name") << "note.htm " << html << "bold text";
        QTest::newRow("rtf") << "note.rtf" << QByteArray("{\\rtf1 x}") << "x";
        QTest::newRow("rtf that is no RTF loads nothing") << "note.rtf" << QByteArray("b}") << "earlier";
        QTest::newRow("a missing file loads nothing") << "" << QByteArray() << "earlier";
    }
    void loadFileTakesTheFormatFromTheExtension()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QTemporaryDir folder;
        QString path = folder.filePath(fileName.isEmpty() ? QStringLiteral("missing.txt") : fileName);
        if (!fileName.isEmpty()) {
            QFile file(path.trimmed());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Editor editor;
        editor.control.setPlainText(QStringLiteral("earlier"));
        jornix::test::MessageRecorder boxes;
        editor.edit.LoadFile(QString(), path, 0, 1);
        QCOMPARE(editor.control.Text(), text);
        QCOMPARE(editor.edit.WorkFileName(), path.trimmed());
        // What could not be loaded is said, with the file's name.
        QCOMPARE(boxes.boxes.size(), text == QLatin1String("earlier") ? 1 : 0);
        if (!boxes.boxes.isEmpty())
            QVERIFY(boxes.boxes.first().text.startsWith(
                QStringLiteral("The file \"%1\" could not be loaded: ").arg(path)));
    }

    void loadFileCanAskForTheFile_data()
    {
        QTest::addColumn<QString>("masks");
        QTest::addColumn<int>("builtInMasks");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("filters");

        const QString builtIn =
            "TX Format|*.TX;*.TXD|RTF Format|*.RTF|Text Document|*.TXT|HTML Format|*.HTM;*.HTML|"
            "All Files|*.*";
        QTest::newRow("the built-in masks") << "ignored" << 1 << false << builtIn;
        QTest::newRow("the caller's masks without trailing blanks")
            << "Notes|*.htm  " << 0 << false << "Notes|*.htm";
        QTest::newRow("cancel loads nothing") << "" << 1 << true << builtIn;
    }
    void loadFileCanAskForTheFile()
    {
        QFETCH(QString, masks);
        QFETCH(int, builtInMasks);
        QFETCH(bool, cancel);
        QFETCH(QString, filters);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("chosen.htm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<p>chosen</p>");
        file.close();

        QList<CommonDialogRequest> asked;
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            asked.append(request);
            CommonDialogAnswer answer;
            answer.accepted = !cancel;
            answer.path = cancel ? QString() : path;
            return answer;
        });
        Editor editor;
        editor.control.setPlainText(QStringLiteral("earlier"));
        editor.edit.LoadFile(masks, QStringLiteral("given.txt"), 1, builtInMasks);
        SetCommonDialogSink({});

        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().kind, CommonDialogRequest::Kind::OpenFile);
        QCOMPARE(asked.first().title, QStringLiteral("Open"));
        QCOMPARE(asked.first().filters, filters);
        QCOMPARE(editor.control.Text(), cancel ? QStringLiteral("earlier") : QStringLiteral("chosen"));
        QCOMPARE(editor.edit.WorkFileName(), cancel ? QString() : path);
    }

    void ownFormatFilesLoadByTheirExtension_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("tx") << "note.tx";
        QTest::newRow("txd") << "note.TXD";
    }
    void ownFormatFilesLoadByTheirExtension()
    {
        QFETCH(QString, fileName);
        QTemporaryDir folder;
        const QString path = folder.filePath(fileName);
        Editor writer;
        writer.control.setHtml(QStringLiteral("<p><i>own</i> format</p>"));
        QVERIFY(writer.control.SaveFile(path, TextFormat::OwnFormat));
        Editor reader;
        reader.edit.LoadFile(QString(), path, 0, 1);
        QCOMPARE(reader.control.Text(), QStringLiteral("own format"));
        QVERIFY(reader.control.document()->begin().begin().fragment().charFormat().font().italic());
    }

    void newDocumentAsksBeforeItClears_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("clearWithoutAsking");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("textAfter");

        QTest::newRow("No keeps the text") << "notes" << 0 << int(MessageButton::No) << 0 << true << "notes";
        QTest::newRow("Yes clears it") << "notes" << 0 << int(MessageButton::Yes) << 1 << true << "";
        QTest::newRow("told to clear it does not ask") << "notes" << 1 << 0 << 1 << false << "";
        QTest::newRow("an empty document needs no question") << "" << 0 << 0 << 1 << false << "";
    }
    void newDocumentAsksBeforeItClears()
    {
        QFETCH(QString, text);
        QFETCH(int, clearWithoutAsking);
        QFETCH(int, answer);
        QFETCH(int, result);
        QFETCH(bool, asked);
        QFETCH(QString, textAfter);
        Editor editor;
        editor.control.setHtml(text.isEmpty() ? QString() : QStringLiteral("<b>%1</b>").arg(text));
        jornix::test::MessageRecorder boxes({answer});
        QCOMPARE(editor.edit.NewDocument(clearWithoutAsking), result);
        QCOMPARE(editor.control.Text(), textAfter);
        QCOMPARE(boxes.boxes.size(), asked ? 1 : 0);
        if (asked) {
            const MessageBoxRequest& box = boxes.boxes.first();
            QCOMPARE(box.caption, QStringLiteral("TX Text"));
            QCOMPARE(box.text, QStringLiteral("Are you sure you want to start over on this document?\n"
                                              "All text and formatting will be lost!"));
            QCOMPARE(box.icon, MessageIcon::Stop);
            QCOMPARE(box.buttons, MessageButton::Yes | MessageButton::No);
            QCOMPARE(box.defaultButton, int(MessageButton::No));
        }
        if (result == 1) {
            // Cleared means cleared: no bold left at the caret either.
            QVERIFY(!editor.control.currentCharFormat().font().bold());
        }
    }
};

QTEST_MAIN(StoredDocumentsTest)
#include "tst_StoredDocuments.moc"
