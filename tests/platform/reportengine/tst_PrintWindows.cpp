#include "platform/reportengine/Barcode.h"
#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PreviewWindow.h"
#include "platform/reportengine/PrintOptionsDialog.h"
#include "platform/reportengine/PrintRun.h"
#include "platform/reportengine/PrinterOutput.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/ShellOpen.h"

#include "platform/reportengine/ReportRuns.h"
#include "platform/runtime/TopLevelWindows.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace jornix;
using namespace jornix::test;
using namespace ReportResult;

namespace {

ReportLayout SimpleList()
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    layout.description = "Task List";
    LayoutObject table;
    table.kind = ObjectKind::Table;
    table.frame = QRectF(0, 12, 190, 250);
    table.table.columns = {{"Task", 120}, {"Due", 70}};
    table.table.dataLines = {Line({"Rec.Name", "Rec.Due"})};
    LayoutObject barcode;
    barcode.kind = ObjectKind::Barcode;
    barcode.frame = QRectF(140, 0, 50, 10);
    barcode.barcodeFormula = "\"JX-2026\"";
    layout.Layer(LayoutLayer::EveryPage) = {
        TextObject(QRectF(0, 0, 130, 8), {"\"Task List\""}), table, barcode,
        TextObject(QRectF(0, 268, 190, 6), {"\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())"})};
    layout.Layer(LayoutLayer::EveryPage)[0].style.pointSize = 16;
    layout.Layer(LayoutLayer::EveryPage)[0].style.bold = true;
    return layout;
}

// Prints `records` list records and ends the run.
void PrintRecords(ReportJobs& engine, int job, int records)
{
    engine.LlPrint(job);
    for (int record = 1; record <= records; ++record) {
        engine.LlDefineFieldExtA(job, "Rec.Name", QString("Task number %1").arg(record), ReportItemType::Text, 0);
        engine.LlDefineFieldExtA(job, "Rec.Due", "12/24/2026", ReportItemType::Text, 0);
        PrintListRecord(engine, job);
        if (engine.LlPrintSetBoxTextA(job, "Printing...", record * 100 / records) == Cancelled)
            break;
    }
    engine.LlPrintFieldsEnd(job);
    engine.LlPrintEnd(job, 0);
}

bool HasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class TestPrintWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString Path(const QString& name) const { return folder_.filePath(name); }

private slots:
    void initTestCase() { Write(SimpleList(), Path("tasks.rpt")); }
    void cleanupTestCase() { EndProgramThreads(); }

    void aPreviewWaitsOnItsThreadWhileAnotherThreadWritesAPdf()
    {
        QFile prn(Path("tasks.prn"));
        QVERIFY(prn.open(QIODevice::WriteOnly));
        prn.write(("File=" + Path("from-preview.pdf") + "\n").toUtf8());
        prn.close();
        ReportJobs engine;
        QString spool;
        int shown = -1;
        int deleted = -1;
        const ThreadNumber previewing = StartProcedureThread([&] {
            const int job = engine.LlJobOpen(1);
            engine.LlSetPrinterToDefaultA(job, 2, Path("tasks"));
            engine.LlPrintWithBoxStartA(job, 2, Path("tasks"), 0x200, 3, nullptr, "Jornix - Tasks");
            PrintRecords(engine, job, 120);
            spool = engine.Job(job)->run->spool.Folder();
            shown = engine.LlPreviewDisplayA(job, Path("tasks"), "", nullptr);
            deleted = engine.LlPreviewDeleteFilesA(job, Path("tasks"), "");
            engine.LlJobClose(job);
        });
        QVERIFY(WaitForProgramThreads());
        auto* preview = VisibleWindow<PreviewWindow>("Jornix - Tasks - Preview");
        QVERIFY(preview);
        QVERIFY(QFileInfo(spool).isDir());

        bool written = false;
        const ThreadNumber exporting = StartProcedureThread([&] {
            const int job = StartPdf(engine, 2, Path("tasks"), folder_.path(), "other.pdf");
            PrintRecords(engine, job, 300);
            QString files;
            engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240);
            written = files == Path("other.pdf");
            engine.LlJobClose(job);
        });
        QVERIFY(WaitForProgramThreads(20000));
        QVERIFY(!ThreadIsActive(exporting));
        QVERIFY(written);
        QVERIFY(ThreadIsActive(previewing));
        QCOMPARE(shown, -1);

        // Page navigation and zoom.
        QCOMPARE(preview->findChild<QLabel*>("pageLabel")->text(), QString("Page 1 of 3"));
        QVERIFY(!preview->findChild<QPushButton*>("previousPage")->isEnabled());
        preview->findChild<QPushButton*>("lastPage")->click();
        QCOMPARE(preview->CurrentPage(), 3);
        QVERIFY(!preview->findChild<QPushButton*>("nextPage")->isEnabled());
        preview->findChild<QPushButton*>("firstPage")->click();
        QApplication::setActiveWindow(preview);
        QTest::keyClick(preview, Qt::Key_PageDown);
        QCOMPARE(preview->CurrentPage(), 2);
        QTest::keyClick(preview, Qt::Key_PageUp);
        QCOMPARE(preview->CurrentPage(), 1);
        const QSize whole = preview->PageImage().size();
        preview->SetZoom(100);
        QVERIFY(preview->PageImage().width() > 700); // A4 at 96 dots per inch is 794 wide
        preview->SetZoom(0);
        QCOMPARE(preview->PageImage().size(), whole);
        QVERIFY(HasInk(preview->PageImage(), QRect(QPoint(0, 0), whole / 4)));
        Grab(preview, "preview");

        // Print asks for the printer and the pages, and the preview comes back after it.
        preview->findChild<QPushButton*>("printButton")->click();
        QVERIFY(WaitForProgramThreads());
        auto* options = VisibleWindow<PrintOptionsDialog>("Print Options");
        QVERIFY(options);
        QVERIFY(!options->findChild<QComboBox*>("outputBox")->isVisibleTo(options));
        options->findChild<QPushButton*>("cancelButton")->click();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(VisibleWindow<PreviewWindow>("Jornix - Tasks - Preview"), preview);
        QCOMPARE(preview->CurrentPage(), 1);
        QVERIFY(!QFileInfo::exists(Path("from-preview.pdf")));
        preview->findChild<QPushButton*>("printButton")->click();
        QVERIFY(WaitForProgramThreads());
        VisibleWindow<PrintOptionsDialog>("Print Options")->findChild<QPushButton*>("okButton")->click();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(PdfPageCount(Path("from-preview.pdf")), 3);
        QCOMPARE(VisibleWindow<PreviewWindow>("Jornix - Tasks - Preview"), preview);

        preview->findChild<QPushButton*>("closeButton")->click();
        QVERIFY(WaitForProgramThreads());
        QVERIFY(!ThreadIsActive(previewing));
        QCOMPARE(shown, Ok);
        QCOMPARE(deleted, Ok);
        QVERIFY(!QFileInfo::exists(spool));
    }

    // "Whole page" fits the page to the view as the window first shows and again at each new size.
    void thePreviewFitsTheWholePageToItsView_data()
    {
        QTest::addColumn<QSize>("size"); // after the first showing
        QTest::newRow("as first shown") << QSize();
        QTest::newRow("made lower") << QSize(840, 560);
        QTest::newRow("made larger") << QSize(900, 1000);
    }
    void thePreviewFitsTheWholePageToItsView()
    {
        QFETCH(QSize, size);
        PageSpool spool;
        Page page;
        page.number = 1;
        page.paper = QSizeF(215.9, 279.4);
        QVERIFY(spool.Append(page));
        PreviewWindow preview(spool, "Fitting");
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        if (size.isValid()) {
            preview.resize(size);
            QTRY_COMPARE(preview.size(), size);
        }
        const QWidget* view = preview.findChild<QScrollArea*>("pageArea")->viewport();
        QVERIFY2(preview.PageImage().height() >= 0.8 * view->height(),
                 qPrintable(QString("page %1 high in a view %2 high")
                                .arg(preview.PageImage().height())
                                .arg(view->height())));
        QVERIFY(preview.PageImage().height() <= view->height() &&
                preview.PageImage().width() <= view->width());
    }

    void thePrintOptionsDialogSettlesTheRun_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("offersOutput");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("pdfWritten");
        QTest::newRow("export confirmed") << 0x800 << "PDF" << true << "PDF" << true << Ok << true;
        QTest::newRow("export cancelled") << 0x800 << "PDF" << true << "PDF" << false << Cancelled << false;
        QTest::newRow("export turned into a preview") << 0x800 << "PDF" << true << "PRV" << true << Ok << false;
        QTest::newRow("preview offers no output") << 0x200 << "" << false << "" << true << Ok << false;
    }

    void thePrintOptionsDialogSettlesTheRun()
    {
        QFETCH(int, mode);
        QFETCH(QString, target);
        QFETCH(bool, offersOutput);
        QFETCH(QString, chosen);
        QFETCH(bool, confirmed);
        QFETCH(int, result);
        QFETCH(bool, pdfWritten);
        QDir out(Path(QTest::currentDataTag()));
        QVERIFY(out.mkpath("."));
        ReportJobs engine;
        int answer = 1;
        int job = 0;
        StartProcedureThread([&] {
            job = engine.LlJobOpen(1);
            engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", out.path());
            engine.LlPrintWithBoxStartA(job, 2, Path("tasks"), mode, 3, nullptr, "Jornix - Tasks");
            if (!target.isEmpty())
                engine.LlPrintSetOptionStringA(job, ReportOptionString::PrintTarget, target);
            answer = engine.LlPrintOptionsDialogA(job, nullptr, "Task List");
            if (answer == Ok)
                PrintRecords(engine, job, 80);
            else
                engine.LlPrintEnd(job, 0);
        });
        QVERIFY(WaitForProgramThreads());
        auto* dialog = VisibleWindow<PrintOptionsDialog>("Print Options");
        QVERIFY(dialog);
        auto* output = dialog->findChild<QComboBox*>("outputBox");
        QCOMPARE(output->isVisibleTo(dialog), offersOutput);
        if (offersOutput) {
            QCOMPARE(output->currentData().toString(), target);
            output->setCurrentIndex(output->findData(chosen));
        }
        dialog->findChild<QSpinBox*>("copiesBox")->setValue(2);
        dialog->findChild<QRadioButton*>("somePages")->setChecked(true);
        dialog->findChild<QSpinBox*>("fromPage")->setValue(2);
        dialog->findChild<QSpinBox*>("toPage")->setValue(2);
        Grab(dialog, QString("print-options %1").arg(QTest::currentDataTag()));
        dialog->findChild<QPushButton*>(confirmed ? "okButton" : "cancelButton")->click();
        QVERIFY(WaitForProgramThreads());
        QCOMPARE(answer, result);
        const ReportJob& kept = *engine.Job(job);
        QCOMPARE(kept.printer.Value(PrinterKey::Copies), QString(confirmed ? "2" : ""));
        QCOMPARE(QFileInfo::exists(out.filePath("report.pdf")), pdfWritten);
        if (pdfWritten) // the pages chosen: page 2 of 2
            QCOMPARE(PdfPages(out.filePath("report.pdf")).value(0).contains("Page 2 of 2"), true);
        QCOMPARE(kept.run && kept.run->previewReady, confirmed && chosen != "PDF");
    }

    void thePrinterTakesTheLayoutsSettings_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("pageSize");
        QTest::addColumn<int>("copies");
        QTest::newRow("none: the layout's paper") << "" << "595 x 842 pts (A4)" << 1;
        QTest::newRow("A5 landscape, three copies")
            << "Paper=A5\nOrientation=Landscape\nCopies=3\n" << "595 x 420 pts (A5)" << 3;
    }

    void thePrinterTakesTheLayoutsSettings()
    {
        QFETCH(QString, settings);
        QFETCH(QString, pageSize);
        QFETCH(int, copies);
        const QString printed = Path(QString("printed%1.pdf").arg(copies));
        QFile prn(Path("tasks.prn"));
        QVERIFY(prn.open(QIODevice::WriteOnly));
        prn.write((settings + "File=" + printed + "\n").toUtf8());
        prn.close();

        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        QCOMPARE(engine.LlSetPrinterToDefaultA(job, 2, Path("tasks")), Ok);
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 2, Path("tasks"), 0x100, 3, nullptr, "Jornix - Tasks"), Ok);
        PrintRecords(engine, job, 10);
        QCOMPARE(engine.Job(job)->filesWritten, QStringList{printed});
        const QString info = Run("pdfinfo", {printed});
        QVERIFY2(info.contains(pageSize), qPrintable(info));

        QPrinter printer;
        ConfigurePrinter(printer, engine.Job(job)->printer, QSizeF(210, 297));
        QCOMPARE(printer.copyCount(), copies);
        PrinterSettings none;
        QPrinter byDefault;
        ConfigurePrinter(byDefault, none, QSizeF(210, 297));
        QCOMPARE(byDefault.printerName(), QPrinterInfo::defaultPrinterName());
    }

    void anExportAsksToShowItsFile()
    {
        QStringList opened;
        SetShellOpenRunner([&opened](const QString& argument) {
            opened << argument;
            return 0;
        });
        ReportJobs engine;
        StartProcedureThread([&] {
            const int job = StartPdf(engine, 2, Path("tasks"), folder_.path(), "shown.pdf");
            engine.LlXSetParameterA(job, 1, "PDF", "Export.ShowResult", "1");
            PrintRecords(engine, job, 3);
        });
        QVERIFY(WaitForProgramThreads());
        SetShellOpenRunner({});
        QCOMPARE(opened, QStringList{Path("shown.pdf")});
    }

    void barcodesDrawOrShowAnEmptyFrame_data()
    {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("Code 128") << "Code128" << "Jornix 42" << true;
        QTest::newRow("EAN-13") << "EAN-13" << "401234567890" << true;
        QTest::newRow("QR code") << "QR" << "https://example.org" << true;
        QTest::newRow("EAN-13 refuses letters") << "EAN13" << "ABC" << false;
        QTest::newRow("unknown symbology") << "Morse" << "123" << false;
    }

    void barcodesDrawOrShowAnEmptyFrame()
    {
        QFETCH(QString, symbology);
        QFETCH(QString, value);
        QFETCH(bool, drawn);
        QString error;
        QImage probe(10, 10, QImage::Format_RGB32);
        QPainter probePainter(&probe);
        QCOMPARE(DrawBarcode(probePainter, QRectF(0, 0, 10, 10), value, symbology, true, Qt::black, &error), drawn);
        QCOMPARE(error.isEmpty(), drawn);

        // On a page, at 10 dots per millimetre: the symbol, or the empty frame where it belongs.
        Page page;
        PagePrimitive barcode;
        barcode.kind = PrimitiveKind::Barcode;
        barcode.frame = QRectF(10, 10, 60, 30);
        barcode.text = value;
        barcode.symbology = symbology;
        page.primitives.push_back(barcode);
        QImage image(800, 500, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintPage(painter, page, 1);
        }
        QCOMPARE(HasInk(image, QRect(200, 150, 400, 200)), drawn);
        if (!drawn)
            QVERIFY(HasInk(image, QRect(98, 250, 5, 5))); // the frame's left edge
    }
};

QTEST_MAIN(TestPrintWindows)
#include "tst_PrintWindows.moc"
