#include "ThreePages.h"
#include "platform/framework/MessageRecorder.h"

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/ProgramPrinter.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QPicture>
#include <QTemporaryDir>
#include <QPainter>
#include <QTextBlock>
#include <QtTest>

using namespace jornix;

namespace {

// The size a page picture gives itself, in inches: its bounding rectangle counts twips.
QSizeF pictureInches(const QString& path)
{
    const QByteArray bytes = contentOf(path);
    QPicture picture;
    picture.setData(bytes.constData(), uint(bytes.size()));
    return QSizeF(picture.boundingRect().size()) / 1440.0;
}

// The words of the list that a page picture shows as text.
QStringList wordsIn(const QString& path)
{
    QStringList found;
    const QByteArray picture = contentOf(path);
    for (const QString& word : Words)
        if (picture.contains(pictureText(word)))
            found << word;
    return found;
}

// The height in inches of what the picture draws, painted at 96 dots per inch on its own size.
double inkHeightInches(const QString& path)
{
    const QByteArray bytes = contentOf(path);
    QPicture picture;
    picture.setData(bytes.constData(), uint(bytes.size()));
    const QSizeF inches = pictureInches(path);
    QImage image(qRound(inches.width() * 96), qRound(inches.height() * 96), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(96.0 / 1440, 96.0 / 1440);
    picture.play(&painter);
    painter.end();
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                top = std::min(top, y);
                bottom = y;
                break;
            }
    return bottom < top ? 0.0 : (bottom - top + 1) / 96.0;
}

QStringList picturesIn(const QString& folder)
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList({"TXF*"}, QDir::Files, QDir::Name))
        names << QDir(folder).filePath(name);
    return names;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

    QTemporaryDir temporaryFolder_;

private slots:
    void initTestCase()
    {
        // Page pictures go to the system's temporary folder: here one of the test's own.
        qputenv("TMPDIR", temporaryFolder_.path().toLocal8Bit());
        QCOMPARE(QDir::tempPath(), temporaryFolder_.path());
    }

    void cleanup()
    {
        TXEdit::DeleteTempMetafiles();
        SetCommonDialogSink({});
    }

    void printingPrintsTheChosenPagesOnTheDocumentsPage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("all pages") << 0 << 0 << 1 << Words;
        QTest::newRow("from 2 to past the last") << 2 << 99 << 1 << QStringList{"beta", "gamma"};
        QTest::newRow("from 1 to 2") << 1 << 2 << 1 << QStringList{"alpha", "beta"};
        QTest::newRow("0 copies print once") << 0 << 0 << 0 << Words;
        QTest::newRow("two copies") << 3 << 3 << 2 << QStringList{"gamma", "gamma"};
    }
    void printingPrintsTheChosenPagesOnTheDocumentsPage()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(QStringList, pages);
        QTemporaryDir folder;
        const QString path = folder.filePath("printed.pdf");
        Editor editor;
        fillThreePages(editor);
        const QPrinter::OutputFormat format = editor.edit.Printer().outputFormat();
        const QPageLayout layout = editor.edit.Printer().pageLayout();
        QList<CommonDialogRequest> asked;
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            asked << request;
            // What the user picks in the dialog: a PDF printer, the pages and the copies.
            request.printer->setOutputFormat(QPrinter::PdfFormat);
            request.printer->setOutputFileName(path);
            request.printer->setFromTo(from, to);
            request.printer->setCopyCount(copies);
            CommonDialogAnswer answer;
            answer.accepted = true;
            return answer;
        });
        QCOMPARE(editor.edit.PrintDocument(0), 1);

        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().kind, CommonDialogRequest::Kind::Printer);
        QCOMPARE(asked.first().title, QStringLiteral("Select Printer"));
        QCOMPARE(asked.first().pageCount, 3);
        const QString info = runTool("pdfinfo", {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages.size()))),
                 qPrintable(info));
        QVERIFY2(info.contains("590 x 750 pts"), qPrintable(info));
        for (int page = 0; page < pages.size(); ++page)
            QCOMPARE(pdfPageText(path, page + 1), pages[page]);
        // The printer is as it was before the call.
        QCOMPARE(editor.edit.Printer().outputFileName(), QString());
        QCOMPARE(editor.edit.Printer().outputFormat(), format);
        QVERIFY(editor.edit.Printer().pageLayout().isEquivalentTo(layout));
        QCOMPARE(editor.edit.Printer().fromPage(), 0);
        QCOMPARE(editor.edit.Printer().copyCount(), 1);
    }

    void cancelInSelectPrinterPrintsNothing()
    {
        QTemporaryDir folder;
        Editor editor;
        fillThreePages(editor);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("before.pdf"));
        editor.edit.SetPrinter(&printer);
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            request.printer->setOutputFileName(folder.filePath("chosen.pdf"));
            return CommonDialogAnswer();
        });
        QCOMPARE(editor.edit.PrintDocument(0), 1);
        QVERIFY(QDir(folder.path()).isEmpty());
        QCOMPARE(printer.outputFileName(), folder.filePath("before.pdf"));
    }

    void printingWithoutTheDialogUsesThePrinterAsItIs()
    {
        QTemporaryDir folder;
        Editor editor;
        fillThreePages(editor);
        editor.edit.SetViewMode(1); // the pages as the editor shows them
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("direct.pdf"));
        editor.edit.SetPrinter(&printer);
        SetCommonDialogSink(
            [](const CommonDialogRequest&) -> CommonDialogAnswer { qFatal("no dialog expected"); });
        QCOMPARE(editor.edit.PrintDirect(1), 1);
        for (int page = 0; page < 3; ++page)
            QCOMPARE(pdfPageText(folder.filePath("direct.pdf"), page + 1), Words[page]);
    }

    void aDocumentWithoutAPrinterOfItsOwnPrintsOnTheProgramsPrinter()
    {
        QTemporaryDir folder;
        Editor editor;
        fillThreePages(editor);
        // What the frame's "Printer Setup" chose holds for every document of the program.
        SetCommonDialogSink([&](const CommonDialogRequest& request) {
            request.printer->setOutputFormat(QPrinter::PdfFormat);
            request.printer->setOutputFileName(folder.filePath("chosen.pdf"));
            return CommonDialogAnswer{true};
        });
        QVERIFY(AskPrinter(ProgramPrinter(), QStringLiteral("Printer Setup")));
        SetCommonDialogSink({});
        QCOMPARE(&editor.edit.Printer(), &ProgramPrinter());
        QCOMPARE(editor.edit.PrintDocument(1), 1);
        QCOMPARE(pdfPageText(folder.filePath("chosen.pdf"), 3), Words[2]);
    }

    void aPrinterThatCannotPrintIsReported_data()
    {
        QTest::addColumn<QString>("outputFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("a PDF printer without a file") << ""
                                                      << "Failed to get printer device context handle.  Make "
                                                         "sure you have installed a default printer.";
        QTest::newRow("a file that cannot be made") << "missing/folder/out.pdf"
                                                    << "StartDoc function failed.";
    }
    void aPrinterThatCannotPrintIsReported()
    {
        QFETCH(QString, outputFile);
        QFETCH(QString, message);
        QTemporaryDir folder;
        Editor editor;
        fillThreePages(editor);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile.isEmpty() ? QString() : folder.filePath(outputFile));
        editor.edit.SetPrinter(&printer);
        jornix::test::MessageRecorder boxes;
        QCOMPARE(editor.edit.PrintDocument(1), 0);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes.first().text, message);
    }

    void pagePicturesShowOnePageEach_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("letter") << 8.5 << 11.0;
        QTest::newRow("7.5 x 6.5") << 7.5 << 6.5;
    }
    void pagePicturesShowOnePageEach()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(editor.edit.RenderPageMetafiles(width, height), 1);
        const QStringList pictures = editor.edit.MetaList();
        QCOMPARE(editor.edit.MetaItems(), 3);
        QStringList sorted = pictures;
        sorted.sort();
        QCOMPARE(picturesIn(QDir::tempPath()), sorted);
        for (int page = 0; page < 3; ++page) {
            QVERIFY(QFileInfo(pictures[page]).fileName().startsWith("TXF"));
            const QSizeF inches = pictureInches(pictures[page]);
            QCOMPARE(qRound(inches.width() * 100), qRound(width * 100));
            QCOMPARE(qRound(inches.height() * 100), qRound(height * 100));
            QCOMPARE(wordsIn(pictures[page]), QStringList{Words[page]});
            // One line of text at its own size: about a sixth of an inch, not a text blown up to inches.
            const double ink = inkHeightInches(pictures[page]);
            QVERIFY2(ink > 0.05 && ink < 0.4, qPrintable(QString::number(ink)));
        }
        editor.edit.DeleteMetafiles();
        QVERIFY(editor.edit.MetaList().isEmpty());
        QVERIFY(picturesIn(QDir::tempPath()).isEmpty());
    }

    void renderingsNeverTakeANameThatExists()
    {
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        const QStringList first = editor.edit.MetaList();
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        for (const QString& name : editor.edit.MetaList())
            QVERIFY(!first.contains(name));
        editor.edit.DeleteMetafiles();
        for (const QString& name : first)
            QCOMPARE(wordsIn(name).size(), 1); // the first pictures are untouched
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        QCOMPARE(editor.edit.MetaList().size(), 3);
        for (const QString& name : editor.edit.MetaList())
            QVERIFY(!first.contains(name));
    }

    void aPageWithoutSizeHasNoPages_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("no width") << 0.0 << 11.0;
        QTest::newRow("no height") << 8.5 << 0.0;
        QTest::newRow("under a twip") << 0.0005 << 11.0;
    }
    void aPageWithoutSizeHasNoPages()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        const QStringList before = editor.edit.MetaList();
        jornix::test::MessageRecorder boxes;
        QCOMPARE(editor.edit.RenderPageMetafiles(width, height), 0);
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes.first().text, QStringLiteral("No pages to print."));
        QCOMPARE(editor.edit.MetaList(), before);
    }

    void storedDocumentsAndFilesBecomePictures()
    {
        Editor editor;
        fillThreePages(editor);
        QByteArray blob;
        editor.edit.SaveToBlob(blob);
        Editor printer;
        const QByteArray shortBlob = blob.left(15);
        QCOMPARE(printer.edit.RenderBlobOrFileMetafiles(&shortBlob, QString(), 8500, 11000), 0);
        QVERIFY(printer.edit.MetaList().isEmpty());
        QCOMPARE(printer.edit.RenderBlobOrFileMetafiles(&blob, QString(), 8500, 11000), 1);
        QCOMPARE(printer.edit.MetaItems(), 3);
        QCOMPARE(wordsIn(printer.edit.MetaList().at(1)), QStringList{"beta"});

        QTemporaryDir folder;
        editor.edit.SaveToFile(folder.filePath("three.rtf"), TextFormat::Rtf);
        QCOMPARE(printer.edit.RenderBlobOrFileMetafiles(nullptr, folder.filePath("three.rtf"), 8500, 11000),
                 1);
        QCOMPARE(printer.edit.MetaItems(), 3);
        QCOMPARE(printer.edit.RenderTextMetafiles(8500, 11000, QStringLiteral("plain words"), 0), 1);
        QCOMPARE(printer.edit.MetaItems(), 1);
        QCOMPARE(printer.edit.RenderBlobMetafiles(8500, 11000, blob), 1);
        QCOMPARE(printer.edit.MetaItems(), 1);
        QCOMPARE(wordsIn(printer.edit.MetaList().first()), QStringList{"alpha"});
    }

    void printablePicturesUseNoFileOfTheCurrentFolder()
    {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(editor.edit.RenderPrintableMetafiles(), 1);
        QDir::setCurrent(previous);
        QVERIFY(QDir(folder.path()).isEmpty());
        QCOMPARE(editor.edit.MetaItems(), 3);
        // The text area of 11800 - 2 x 1440 by 15000 - 2 x 1440 twips.
        const QSizeF inches = pictureInches(editor.edit.MetaList().first());
        QCOMPARE(qRound(inches.width() * 1440), 11800 - 2880);
        QCOMPARE(qRound(inches.height() * 1440), 15000 - 2880);
    }

    void theClearingDeletesOnlyOurPictures()
    {
        const QString other = QDir(QDir::tempPath()).filePath("TXFother.pic");
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(editor.edit.RenderPageMetafiles(8.5, 11), 1);
        TXEdit::DeleteTempMetafiles();
        QCOMPARE(picturesIn(QDir::tempPath()), QStringList{other});
        QFile::remove(other);
    }

    void onePageIntoANamedFile_data()
    {
        QTest::addColumn<bool>("textArea");
        QTest::addColumn<QSize>("twips");
        QTest::newRow("the text area") << true << QSize(11800 - 2880, 15000 - 2880);
        QTest::newRow("the page less its right and bottom margins")
            << false << QSize(11800 - 1440, 15000 - 1440);
    }
    void onePageIntoANamedFile()
    {
        QFETCH(bool, textArea);
        QFETCH(QSize, twips);
        QTemporaryDir folder;
        const QString path = folder.filePath("page.pic");
        Editor editor;
        fillThreePages(editor);
        QCOMPARE(textArea ? editor.edit.SavePageAsMetafile(path, 2) : editor.edit.SavePageToFile(path, 2), 1);
        const QSizeF inches = pictureInches(path);
        QCOMPARE(qRound(inches.width() * 1440), twips.width());
        QCOMPARE(qRound(inches.height() * 1440), twips.height());
        QCOMPARE(wordsIn(path), QStringList{"beta"});
        jornix::test::MessageRecorder boxes;
        QCOMPARE(editor.edit.SavePageAsMetafile(path, 4), 0);
        QCOMPARE(boxes.boxes.first().text, QStringLiteral("No pages to print."));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_Printing.moc"
