#include "DocumentEditor.h"
#include "platform/framework/MessageRecorder.h"

#include "documents/TXEdit.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/WordConverter.h"
#include "platform/runtime/CommonDialogs.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextTable>
#include <QtTest>

using namespace jornix;

namespace {

// Answers the file dialogs with one name (cancels when it is empty) and keeps what they asked.
struct ScriptedFileDialogs
{
    QList<CommonDialogRequest> asked;
    explicit ScriptedFileDialogs(const QString& answer)
    {
        SetCommonDialogSink([this, answer](const CommonDialogRequest& request) {
            asked.append(request);
            CommonDialogAnswer reply;
            reply.accepted = !answer.isEmpty();
            reply.path = answer;
            return reply;
        });
    }
    ~ScriptedFileDialogs() { SetCommonDialogSink({}); }
};

// Stands in for LibreOffice: makes a "Word document" of a marker and the RTF's size.
struct FakeWordConverter
{
    FakeWordConverter()
    {
        SetWordConverter([](const QString& rtfFile, const QString& folder) {
            QFile word(folder + QStringLiteral("/document.doc"));
            if (!word.open(QIODevice::WriteOnly))
                return QStringLiteral("cannot write");
            word.write("WORD " + QByteArray::number(QFileInfo(rtfFile).size()));
            return QString();
        });
    }
    ~FakeWordConverter() { SetWordConverter({}); }
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray ExampleNote =
    "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}{\\colortbl "
    ";\\red255\\green0\\blue0;}\\pard\\f0\\fs24 "
    "Caf\\'e9 {\\b bold} {\\cf1 red}\\par\\trowd\\cellx2000\\cellx4000\\intbl A\\cell B\\cell\\row\\intbl "
    "C\\cell D\\cell\\row}";

// "Café bold red" in 12 pt Arial, "bold" bold and "red" red, then the table A B / C D.
void verifyExampleNote(const QTextDocument& document)
{
    const QTextBlock first = document.begin();
    QCOMPARE(first.text(), QStringLiteral("Café bold red"));
    for (auto it = first.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        const QString text = it.fragment().text();
        QCOMPARE(format.fontPointSize(), 12.0);
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{"Arial"});
        QCOMPARE(format.fontWeight() == QFont::Bold, text == QLatin1String("bold"));
        QCOMPARE(format.foreground().color() == QColor(255, 0, 0), text == QLatin1String("red"));
    }
    QTextCursor cursor(first.next());
    const QTextTable* table = cursor.currentTable();
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const QStringList cells{"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) {
        QTextCursor cell = table->cellAt(i / 2, i % 2).firstCursorPosition();
        cell.setPosition(table->cellAt(i / 2, i % 2).lastCursorPosition().position(),
                         QTextCursor::KeepAnchor);
        QCOMPARE(cell.selectedText(), cells[i]);
    }
}

} // namespace

class ConversionsTest : public QObject
{
    Q_OBJECT

private slots:
    void saveToBufferFillsTheCallersBuffer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("extra"); // capacity = converted length + extra
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QStringList>("messages");

        const QByteArray text = "alpha\nbeta\n";
        QTest::newRow("one more: the text and one space")
            << "alpha\nbeta" << 1 << text + ' ' << QStringList();
        QTest::newRow("exactly the length: no space") << "alpha\nbeta" << 0 << text << QStringList();
        QTest::newRow("one less: too small, unchanged")
            << "alpha\nbeta" << -1 << QByteArray(text.size() - 1, '#')
            << QStringList{"Save Buffer To Small."};
        QTest::newRow("spaces fill the rest") << "alpha\nbeta" << 3 << text + "   " << QStringList();
        QTest::newRow("an empty document and one space") << "" << 1 << QByteArray("\n ") << QStringList();
    }
    void saveToBufferFillsTheCallersBuffer()
    {
        QFETCH(QString, text);
        QFETCH(int, extra);
        QFETCH(QByteArray, buffer);
        QFETCH(QStringList, messages);
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(text);

        const qint32 length = edit.GetSaveLength(TextFormat::PlainText, 0);
        QCOMPARE(length, text.isEmpty() ? 1 : qint32(text.toUtf8().size() + 1));
        QByteArray callers(length + extra, '#');
        qint32 reported = -7;
        jornix::test::MessageRecorder boxes;
        edit.SaveToBuffer(callers, reported, 0, TextFormat::PlainText);
        QCOMPARE(callers, buffer);
        QCOMPARE(reported, length);
        QStringList shown;
        for (const MessageBoxRequest& box : boxes.boxes) {
            QVERIFY(box.caption.isEmpty());
            QCOMPARE(box.buttons, int(MessageButton::Ok));
            shown << box.text;
        }
        QCOMPARE(shown, messages);
    }

    void aFormatTheControlCannotWriteLeavesBufferAndLength()
    {
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(QStringLiteral("text"));
        QByteArray buffer(20, '#');
        qint32 length = 0;
        jornix::test::MessageRecorder boxes;
        edit.SaveToBuffer(buffer, length, 0, 2);
        QCOMPARE(buffer, QByteArray(20, '#'));
        QCOMPARE(length, 0);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes.first().text, QStringLiteral("Format 2 is not supported."));
    }

    void theSelectionConvertsAlone()
    {
        RichTextControl control;
        TXEdit edit;
        edit.Init(&control);
        control.setPlainText(QStringLiteral("alpha beta"));
        control.SetSelStart(6);
        control.SetSelLength(-1);
        const qint32 length = edit.GetSaveLength(TextFormat::PlainText, 1);
        QCOMPARE(length, 4);
        QByteArray buffer(length + 1, '#');
        qint32 reported = 0;
        edit.SaveToBuffer(buffer, reported, 1, TextFormat::PlainText);
        QCOMPARE(buffer, QByteArray("beta "));
    }

    void theExampleNoteReadsWithItsFormats_data()
    {
        QTest::addColumn<bool>("throughSelection");
        QTest::addColumn<bool>("storedAndLoaded");
        QTest::newRow("a file named x.RTF") << false << false;
        QTest::newRow("in place of the selection") << true << false;
        QTest::newRow("a file, stored and loaded") << false << true;
        QTest::newRow("the selection, stored and loaded") << true << true;
    }
    void theExampleNoteReadsWithItsFormats()
    {
        QFETCH(bool, throughSelection);
        QFETCH(bool, storedAndLoaded);
        QTemporaryDir folder;
        Editor editor;
        if (throughSelection) {
            editor.control.setPlainText(QStringLiteral("replaced"));
            editor.control.SelectAll();
            editor.edit.SetRTFSelText(QString::fromLatin1(ExampleNote));
        } else {
            writeFile(folder.filePath("x.RTF"), ExampleNote);
            editor.edit.LoadFile(QString(), folder.filePath("x.RTF"), 0, 1);
        }
        if (storedAndLoaded) {
            QByteArray blob;
            editor.edit.SaveToBlob(blob);
            Editor reader;
            reader.edit.LoadFromBlob(blob);
            verifyExampleNote(*reader.control.document());
        } else {
            verifyExampleNote(*editor.control.document());
        }
    }

    void rtfInPlaceOfASelectionKeepsTheTextAround()
    {
        Editor editor;
        editor.control.setPlainText(QStringLiteral("keep SEL keep"));
        editor.control.SetSelStart(5);
        editor.control.SetSelLength(3);
        editor.edit.SetRTFSelText(QStringLiteral("{\\rtf1 {\\b bold} Grüße\\par}"));
        QCOMPARE(editor.control.Text(), QStringLiteral("keep bold Grüße keep"));
        QTextCursor bold(editor.control.document());
        bold.setPosition(7);
        QCOMPARE(bold.charFormat().fontWeight(), int(QFont::Bold));

        editor.control.SetSelStart(5);
        editor.control.SetSelLength(4);
        QString rtf;
        editor.edit.GetRTFSelText(rtf);
        Editor other;
        other.edit.SetRTFSelText(rtf);
        QCOMPARE(other.control.Text(), QStringLiteral("bold"));
        QCOMPARE(other.control.document()->begin().begin().fragment().charFormat().fontWeight(),
                 int(QFont::Bold));
    }

    void anRtfFileKeepsItsPage()
    {
        QTemporaryDir folder;
        Editor writer;
        writer.control.SetPage({11800, 15000, 1000, 1100, 1200, 1300});
        writer.control.setPlainText(QStringLiteral("paged"));
        writer.edit.SaveToFile(folder.filePath("paged.rtf"), TextFormat::Rtf);
        Editor reader;
        reader.edit.LoadFile(QString(), folder.filePath("paged.rtf"), 0, 1);
        QCOMPARE(reader.control.Text(), QStringLiteral("paged"));
        QCOMPARE(reader.control.Page(), writer.control.Page());
    }

    void rtfLoadsOnlyUnderItsExtension_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("bold");
        QTest::newRow(".rtf") << "note.rtf" << true;
        QTest::newRow(".RTF") << "note.RTF" << true;
        QTest::newRow(".doc") << "note.doc" << false;
        QTest::newRow(".txt") << "note.txt" << false;
        QTest::newRow("no extension") << "note" << false;
    }
    void rtfLoadsOnlyUnderItsExtension()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, bold);
        QTemporaryDir folder;
        writeFile(folder.filePath(fileName), "{\\b X}");
        Editor editor;
        editor.edit.LoadFile(QString(), folder.filePath(fileName), 0, 1);
        QCOMPARE(editor.control.Text(), bold ? QStringLiteral("X") : QStringLiteral("{\\b X}"));
        QCOMPARE(editor.control.document()->begin().begin().fragment().charFormat().fontWeight() ==
                     QFont::Bold,
                 bold);
    }

    void saveAsWritesTheFormatOfTheExtension_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("message");

        QTest::newRow("no extension: plain text after the message")
            << "out" << QByteArray("text\n") << "You need to specify a valid extension";
        QTest::newRow("a bare dot is no extension")
            << "out." << QByteArray("text\n") << "You need to specify a valid extension";
        QTest::newRow("a new .html file") << "page.html" << QByteArray("<!DOCTYPE HTML") << "";
        QTest::newRow(".htm") << "page.htm" << QByteArray("<!DOCTYPE HTML") << "";
        QTest::newRow(".RTF") << "note.RTF" << QByteArray("{\\rtf1") << "";
        QTest::newRow(".tx") << "note.tx" << QByteArray("JXRT") << "";
        QTest::newRow(".txd") << "note.txd" << QByteArray("JXRT") << "";
        QTest::newRow(".pdf") << "note.pdf" << QByteArray("%PDF") << "";
        QTest::newRow(".doc") << "note.doc" << QByteArray("WORD ") << "";
        QTest::newRow(".txt") << "note.txt" << QByteArray("text\n") << "";
        QTest::newRow("any other extension") << "note.md" << QByteArray("text\n") << "";
    }
    void saveAsWritesTheFormatOfTheExtension()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, start);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString path = folder.filePath(fileName);
        FakeWordConverter converter;
        Editor editor;
        writeFile(folder.filePath("last.txt"), "text");
        editor.edit.LoadFile(QString(), folder.filePath("last.txt"), 0, 1); // the name last used
        jornix::test::MessageRecorder boxes;
        ScriptedFileDialogs dialogs(path);
        editor.edit.SaveAs(QStringLiteral("Notes|*.rtf  "), 0);

        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(dialogs.asked.first().kind, CommonDialogRequest::Kind::SaveFile);
        QCOMPARE(dialogs.asked.first().title, QStringLiteral("Save File As"));
        QCOMPARE(dialogs.asked.first().filters, QStringLiteral("Notes|*.rtf"));
        QCOMPARE(dialogs.asked.first().path, folder.filePath("last.txt"));
        QVERIFY2(contentOf(path).startsWith(start), contentOf(path).left(40));
        QCOMPARE(editor.edit.WorkFileName(), path);
        QCOMPARE(boxes.boxes.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(boxes.boxes.first().text, message);
            QVERIFY(boxes.boxes.first().caption.isEmpty());
        }
    }

    void saveAsOffersTheBuiltInMasksAndMayBeCancelled()
    {
        Editor editor;
        ScriptedFileDialogs dialogs{QString()};
        editor.edit.SaveAs(QStringLiteral("ignored"), 1);
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(dialogs.asked.first().filters,
                 QStringLiteral(
                     "TX Format|*.TX;*.TXD|RTF Format|*.RTF|Text Document|*.TXT|HTML Format|*.HTM;*.HTML|"
                     "Word Document|*.DOC|Pdf Document|*.PDF|All Files|*.*"));
        QVERIFY(editor.edit.WorkFileName().isEmpty());
    }

    void saveAsksForANameOnlyWhenThereIsNone()
    {
        QTemporaryDir folder;
        Editor editor;
        editor.control.setPlainText(QStringLiteral("text"));
        {
            ScriptedFileDialogs dialogs(folder.filePath("first.rtf"));
            editor.edit.Save();
            QCOMPARE(dialogs.asked.size(), 1);
        }
        QVERIFY(contentOf(folder.filePath("first.rtf")).startsWith("{\\rtf1"));
        editor.control.setPlainText(QStringLiteral("changed"));
        ScriptedFileDialogs dialogs{QString()};
        editor.edit.Save();
        QCOMPARE(dialogs.asked.size(), 0);
        QVERIFY(contentOf(folder.filePath("first.rtf")).contains("changed"));
    }

    void saveAsWordAddsItsExtension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "r"
                                      << "r.doc";
        QTest::newRow("a bare dot") << "r."
                                    << "r.doc";
        QTest::newRow("its extension") << "r.DOC"
                                       << "r.DOC";
    }
    void saveAsWordAddsItsExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QTemporaryDir folder;
        FakeWordConverter converter;
        Editor editor;
        editor.control.setPlainText(QStringLiteral("text"));
        ScriptedFileDialogs dialogs(folder.filePath(chosen));
        editor.edit.SaveAsWord();
        QCOMPARE(dialogs.asked.first().title, QStringLiteral("Save File As"));
        QCOMPARE(dialogs.asked.first().filters, QStringLiteral("Word Document|*.DOC"));
        QVERIFY(contentOf(folder.filePath(written)).startsWith("WORD "));
        QCOMPARE(editor.edit.WorkFileName(), folder.filePath(written));
    }

    void withoutAWordConverterThereIsAMessageAndNoFile_data()
    {
        QTest::addColumn<bool>("converterMakesRtf");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no LibreOffice")
            << false << "Word documents are made by LibreOffice, which is not installed.";
        QTest::newRow("a converter that gives back RTF") << true << "The converter made no Word document.";
    }
    void withoutAWordConverterThereIsAMessageAndNoFile()
    {
        QFETCH(bool, converterMakesRtf);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toLocal8Bit()); // no soffice here
        if (converterMakesRtf)
            SetWordConverter([](const QString& rtfFile, const QString& outputFolder) {
                QFile::copy(rtfFile, outputFolder + QStringLiteral("/document.doc"));
                return QString();
            });
        writeFile(folder.filePath("old.doc"), "old");
        Editor editor;
        editor.control.setPlainText(QStringLiteral("text"));
        jornix::test::MessageRecorder boxes;
        for (const QString& name : {QStringLiteral("r"), QStringLiteral("old.doc")}) {
            ScriptedFileDialogs dialogs(folder.filePath(name));
            editor.edit.SaveAsWord();
        }
        qputenv("PATH", path);
        SetWordConverter({});

        QVERIFY(!QFile::exists(folder.filePath("r.doc")));
        QCOMPARE(contentOf(folder.filePath("old.doc")), QByteArray("old"));
        QCOMPARE(boxes.boxes.size(), 2);
        QCOMPARE(
            boxes.boxes.first().text,
            QStringLiteral("The file \"%1\" could not be saved: %2").arg(folder.filePath("r.doc"), reason));
    }

    void saveToFileTakesTheFormatGivenAndKeepsTheWorkFileName_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("0 is the own format") << 0 << QByteArray("JXRT");
        QTest::newRow("RTF under any name") << 5 << QByteArray("{\\rtf1");
        QTest::newRow("plain text") << 1 << QByteArray("text\n");
    }
    void saveToFileTakesTheFormatGivenAndKeepsTheWorkFileName()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, start);
        QTemporaryDir folder;
        Editor editor;
        editor.control.setPlainText(QStringLiteral("text"));
        editor.edit.SaveToFile(folder.filePath("given.txt"), format);
        QVERIFY(contentOf(folder.filePath("given.txt")).startsWith(start));
        QVERIFY(editor.edit.WorkFileName().isEmpty());
    }

    void aFileThatCannotBeWrittenIsReported()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("plain"), "a file, no folder");
        Editor editor;
        editor.control.setPlainText(QStringLiteral("text"));
        jornix::test::MessageRecorder boxes;
        const QString path = folder.filePath("plain/note.rtf");
        editor.edit.SaveToFile(path, 5);
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY(boxes.boxes.first().text.startsWith(
            QStringLiteral("The file \"%1\" could not be saved: ").arg(path)));
        QCOMPARE(contentOf(folder.filePath("plain")), QByteArray("a file, no folder"));
    }

    void htmlPicturesGoBesideTheFileOnlyForSaveAs_data()
    {
        QTest::addColumn<int>("imageSaveMode");
        QTest::addColumn<bool>("throughSaveAs");
        QTest::addColumn<bool>("beside");
        QTest::newRow("Save As puts them beside") << 1 << true << true;
        QTest::newRow("Save As keeps a mode of 0") << 0 << true << true;
        QTest::newRow("Save embeds them") << 1 << false << false;
    }
    void htmlPicturesGoBesideTheFileOnlyForSaveAs()
    {
        QFETCH(int, imageSaveMode);
        QFETCH(bool, throughSaveAs);
        QFETCH(bool, beside);
        QTemporaryDir folder;
        const QString path = folder.filePath("page.html");
        Editor editor;
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        editor.control.document()->addResource(QTextDocument::ImageResource, QUrl("red"), picture);
        QTextImageFormat image;
        image.setName(QStringLiteral("red"));
        editor.control.textCursor().insertImage(image);
        editor.control.SetImageSaveMode(imageSaveMode);
        if (throughSaveAs) {
            ScriptedFileDialogs dialogs(path);
            editor.edit.SaveAs(QString(), 1);
        } else {
            editor.edit.SaveToFile(path, TextFormat::Html);
        }
        const QByteArray html = contentOf(path);
        QCOMPARE(html.contains("src=\"page-1.png\""), beside);
        QCOMPARE(html.contains("src=\"data:image/png;base64,"), !beside);
        QCOMPARE(QImage(folder.filePath("page-1.png")).pixelColor(0, 0), beside ? QColor(Qt::red) : QColor());
        QCOMPARE(editor.control.ImageSaveMode(), imageSaveMode);
    }

    void storedBytesInMemory_data()
    {
        QTest::addColumn<int>("withHeader");
        QTest::addColumn<int>("extra"); // capacity = stored length + extra
        QTest::newRow("with the header") << 1 << 0;
        QTest::newRow("without it") << 0 << 0;
        QTest::newRow("with room to spare") << 1 << 5;
        QTest::newRow("one byte short") << 1 << -1;
    }
    void storedBytesInMemory()
    {
        QFETCH(int, withHeader);
        QFETCH(int, extra);
        Editor editor;
        editor.control.SetPage({11800, 15000, 1000, 1100, 1200, 1300});
        editor.control.setHtml(QStringLiteral("<p><b>stored</b> text</p>"));
        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        const QByteArray expected = withHeader ? blob : blob.mid(30);
        QCOMPARE(editor.edit.GetNativeLength(withHeader), qint32(expected.size()));

        QByteArray buffer(expected.size() + extra, '#');
        qint32 length = 0;
        jornix::test::MessageRecorder boxes;
        editor.edit.SaveToString(buffer, length, withHeader);
        QCOMPARE(length, qint32(expected.size()));
        if (extra < 0) {
            QCOMPARE(buffer, QByteArray(expected.size() + extra, '#'));
            QCOMPARE(boxes.boxes.size(), 1);
            QCOMPARE(boxes.boxes.first().text, QStringLiteral("Save Buffer To Small."));
            return;
        }
        QCOMPARE(buffer, expected + QByteArray(extra, '#'));
        QVERIFY(boxes.boxes.isEmpty());

        Editor fromString;
        fromString.edit.LoadFromString(buffer.left(length));
        QCOMPARE(fromString.control.Text(), QStringLiteral("stored text"));
        QCOMPARE(fromString.control.Page() == editor.control.Page(), withHeader == 1);

        Editor fromMemory;
        fromMemory.edit.LoadFromMemory(buffer.data(), length);
        QCOMPARE(fromMemory.control.Text(), QStringLiteral("stored text"));
        // The header leaves the caller's bytes: the document moves to the front, followed by a zero byte.
        if (withHeader) {
            QCOMPARE(buffer.left(length - 30), blob.mid(30));
            QCOMPARE(buffer.at(length - 30), '\0');
        }
    }

    void aBareDocumentHasNoPageHeader()
    {
        Editor editor;
        editor.control.setPlainText(QStringLiteral("bare"));
        QByteArray blob;
        editor.edit.SaveToBlobViaFile(blob);
        QVERIFY(IsOwnFormat(blob));
        QCOMPARE(qint32(blob.size()), editor.edit.GetNativeLength(0));

        Editor reader;
        const PageSettings page = reader.control.Page();
        reader.edit.LoadFromBlobViaFile(blob);
        QCOMPARE(reader.control.Text(), QStringLiteral("bare"));
        QCOMPARE(reader.control.Page(), page);
    }
};

QTEST_MAIN(ConversionsTest)
#include "tst_Conversions.moc"
