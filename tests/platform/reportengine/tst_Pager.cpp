#include "platform/reportengine/ProgressBox.h"
#include "platform/runtime/ProgramThreads.h"

#include "platform/reportengine/ReportRuns.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

using namespace jornix;
using namespace jornix::test;
using namespace ReportResult;

namespace {

QString Number(int value)
{
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

QStringList NumberedLines(const QString& word, int count)
{
    QStringList lines;
    for (int line = 1; line <= count; ++line)
        lines << word + QLatin1Char(' ') + Number(line);
    return lines;
}

QStringList Numbers(int from, int to)
{
    QStringList numbers;
    for (int number = from; number <= to; ++number)
        numbers << Number(number);
    return numbers;
}

ReportLayout ListLayout()
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    LayoutObject table;
    table.kind = ObjectKind::Table;
    table.frame = QRectF(0, 0, 190, 255);
    table.table.columns = {{"Name", 80}, {"Note", 100}};
    table.table.groupFormula = "Rec.Letter";
    table.table.groupHeaderLines = {Line({"\"Letter \" & Rec.Letter"})};
    table.table.dataLines = {Line({"Rec.Name", "Rec.Note"})};
    table.table.footerLines = {Line({"\"End of list\""})};
    layout.Layer(LayoutLayer::EveryPage).push_back(table);
    layout.Layer(LayoutLayer::EveryPage).push_back(
        TextObject(QRectF(0, 265, 190, 6), {"\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())"}));
    return layout;
}

ProgressBox* TheProgressBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<ProgressBox*>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

} // namespace

class TestPager : public QObject
{
    Q_OBJECT

    QTemporaryDir folder_;
    QString Path(const QString& name) const { return folder_.filePath(name); }

private slots:
    void cleanupTestCase() { EndProgramThreads(); }

    void aListPrintsEveryRecordOnceWithGroupsAndPageFooters()
    {
        Write(ListLayout(), Path("list.rpt"));
        ReportJobs engine;
        const int job = StartPdf(engine, 2, Path("list.rpt"), folder_.path(), "list.pdf");
        QCOMPARE(engine.LlPrint(job), Ok);
        int overflows = 0;
        for (int record = 1; record <= 250; ++record) {
            const QString letter = QString(QChar('A' + (record - 1) / 25));
            engine.LlDefineFieldExtA(job, "Rec.Letter", letter, ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Rec.Name", letter + "-Record " + Number(record), ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Rec.Note", "note", ReportItemType::Text, 0);
            overflows += PrintListRecord(engine, job);
            QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", record * 100 / 250), Ok);
        }
        QCOMPARE(engine.LlPrintFieldsEnd(job), Ok);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QString files;
        engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240);
        QCOMPARE(files, Path("list.pdf"));

        const QStringList pages = PdfPages(Path("list.pdf"));
        const int count = PdfPageCount(Path("list.pdf"));
        QVERIFY(count > 2);
        QCOMPARE(pages.size(), count);
        QCOMPARE(overflows, count - 1); // every new page was asked for by a record that did not fit
        const QString all = pages.join(QLatin1Char('\n'));
        QCOMPARE(Captures(all, "Record (\\d{3})"), Numbers(1, 250));
        QCOMPARE(Captures(all, "Letter ([A-Z])"), QString("ABCDEFGHIJ").split("", Qt::SkipEmptyParts));
        for (int page = 1; page <= count; ++page) {
            QCOMPARE(Captures(pages[page - 1], "(Page \\d+ of \\d+)"),
                     QStringList{QString("Page %1 of %2").arg(page).arg(count)});
            QVERIFY2(pages[page - 1].contains("Name"), "the column titles head every page");
        }
        QCOMPARE(all.count("End of list"), 1);
        QVERIFY(pages.last().contains("End of list"));
        QVERIFY(Run("pdffonts", {Path("list.pdf")}).contains(" yes "));
    }

    void aTallRecordIsSplitAndEveryLineIsPrintedOnce_data()
    {
        QTest::addColumn<int>("projectType");
        QTest::addColumn<QList<int>>("overflowCounters");
        QTest::newRow("list line taller than two pages") << 2 << QList<int>{};
        QTest::newRow("card text over three pages") << 3 << QList<int>{0, 1, 2};
    }

    void aTallRecordIsSplitAndEveryLineIsPrintedOnce()
    {
        QFETCH(int, projectType);
        QFETCH(QList<int>, overflowCounters);
        ReportLayout layout = ListLayout();
        const int lineCount = projectType == 2 ? 160 : 60;
        if (projectType == 3) {
            layout = ReportLayout();
            layout.projectType = ProjectType::Card;
            LayoutObject text = TextObject(QRectF(0, 20, 190, 100), {"Rec.Note"});
            text.continuesOnNextPage = true;
            layout.Layer(LayoutLayer::EveryPage) = {
                TextObject(QRectF(0, 0, 190, 8), {"\"Card of \" & Rec.Name"}, "Flags.PageOverFlow = 0"),
                text,
                TextObject(QRectF(0, 130, 190, 8), {"\"Sheet \" & Str$(Flags.PageOverFlow)"})};
        }
        const QString file = QString("tall%1").arg(projectType);
        Write(layout, Path(file + ".rpt"));
        ReportJobs engine;
        const int job = StartPdf(engine, projectType, Path(file + ".rpt"), folder_.path(), file + ".pdf");
        const auto declare = [&](const QString& name, const QString& note) {
            engine.LlDefineFieldExtA(job, "Rec.Letter", "A", ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Rec.Name", name, ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Rec.Note", note, ReportItemType::Text, 0);
        };
        QList<int> counters;
        if (projectType == 2) {
            engine.LlPrint(job);
            declare("first", "short");
            QCOMPARE(PrintListRecord(engine, job), 0);
            declare("second", NumberedLines("Line", lineCount).join('\n'));
            QVERIFY(PrintListRecord(engine, job) >= 3);
            declare("third", "short");
            QCOMPARE(PrintListRecord(engine, job), 0);
            engine.LlPrintFieldsEnd(job);
        } else {
            declare("one", NumberedLines("Line", lineCount).join('\n'));
            int counter = 0;
            engine.LlDefineVariableExtA(job, "Flags.PageOverFlow", "0", ReportItemType::Numeric, 0);
            counters << counter;
            while (engine.LlPrint(job) == RecordDidNotFit) {
                engine.LlDefineVariableExtA(job, "Flags.PageOverFlow", QString::number(++counter),
                                            ReportItemType::Numeric, 0);
                counters << counter;
                QVERIFY(counter < 100);
            }
        }
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QCOMPARE(counters, overflowCounters);

        const QStringList pages = PdfPages(Path(file + ".pdf"));
        const QString all = pages.join('\n');
        QCOMPARE(Captures(all, "Line (\\d{3})"), Numbers(1, lineCount));
        if (projectType == 2) {
            QVERIFY(pages.size() >= 3);
            QVERIFY(all.indexOf("first") < all.indexOf("Line 001"));
            QVERIFY(all.indexOf("Line " + Number(lineCount)) < all.indexOf("third"));
        } else {
            QCOMPARE(pages.size(), 3);
            QCOMPARE(all.count("Card of one"), 1);
            QCOMPARE(Captures(all, "Sheet (\\d)"), QStringList({"0", "1", "2"}));
        }
    }

    void layersPrintOnTheirPages()
    {
        ReportLayout layout = ListLayout();
        layout.Layer(LayoutLayer::CoverPage).push_back(TextObject(QRectF(0, 100, 190, 10), {"\"Cover sheet\""}));
        layout.Layer(LayoutLayer::FirstPage).push_back(TextObject(QRectF(0, 258, 100, 6), {"\"First of the list\""}));
        layout.Layer(LayoutLayer::FollowingPages)
            .push_back(TextObject(QRectF(0, 258, 100, 6), {"\"Continued from \" & Str$(Page() - 1)"}));
        Write(layout, Path("layers.rpt"));
        ReportJobs engine;
        const int job = StartPdf(engine, 2, Path("layers.rpt"), folder_.path(), "layers.pdf");
        engine.LlPrint(job);
        for (int record = 1; record <= 100; ++record) {
            engine.LlDefineFieldExtA(job, "Rec.Name", "Record " + Number(record), ReportItemType::Text, 0);
            PrintListRecord(engine, job);
        }
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        const QStringList pages = PdfPages(Path("layers.pdf"));
        QCOMPARE(pages.size(), 4);
        QCOMPARE(Captures(pages[0], "(Cover sheet|Record|First|Continued|Page \\d of \\d)"),
                 QStringList({"Cover sheet", "Page 1 of 4"}));
        QVERIFY(pages[1].contains("First of the list") && pages[1].contains("Record 001"));
        for (int page = 2; page < 4; ++page) {
            QVERIFY(!pages[page].contains("First of the list"));
            QVERIFY(pages[page].contains(QString("Continued from %1").arg(page)));
        }
    }

    void theCoverPagePrintsWhenTheRunAsksForItAndTheLayoutHasOne_data()
    {
        QTest::addColumn<bool>("coverObjects");
        QTest::addColumn<int>("option"); // -1: never set
        QTest::addColumn<bool>("coverPrinted");
        QTest::newRow("cover objects, option on") << true << 1 << true;
        QTest::newRow("cover objects, option never set") << true << -1 << true;
        QTest::newRow("cover objects, option off") << true << 0 << false;
        QTest::newRow("no cover objects, option on") << false << 1 << false;
        QTest::newRow("no cover objects, option off") << false << 0 << false;
    }
    void theCoverPagePrintsWhenTheRunAsksForItAndTheLayoutHasOne()
    {
        QFETCH(bool, coverObjects);
        QFETCH(int, option);
        QFETCH(bool, coverPrinted);
        ReportLayout layout = ListLayout();
        if (coverObjects)
            layout.Layer(LayoutLayer::CoverPage)
                .push_back(TextObject(QRectF(0, 100, 190, 10), {"\"Cover sheet\""}));
        layout.Layer(LayoutLayer::FirstPage)
            .push_back(TextObject(QRectF(0, 258, 100, 6), {"\"First of the list\""}));
        Write(layout, Path("cover.rpt"));
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        if (option >= 0)
            QCOMPARE(engine.LlSetOption(job, ReportOption::PrintCoverPage, option), Ok);
        engine.LlXSetParameterA(job, 1, "PDF", "Export.File", "cover.pdf");
        engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", folder_.path());
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 2, Path("cover.rpt"), 0x800, 0, nullptr, "Cover"), Ok);
        engine.LlPrintSetOptionStringA(job, ReportOptionString::PrintTarget, "PDF");
        QCOMPARE(engine.LlPrint(job), Ok);
        for (int record = 1; record <= 60; ++record) { // two pages of records
            engine.LlDefineFieldExtA(job, "Rec.Name", "Record " + Number(record), ReportItemType::Text, 0);
            PrintListRecord(engine, job);
        }
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);

        const QStringList pages = PdfPages(Path("cover.pdf"));
        const int count = coverPrinted ? 3 : 2;
        QCOMPARE(pages.size(), count);
        QCOMPARE(pages[0].contains("Cover sheet"), coverPrinted);
        QCOMPARE(pages[0].contains("Record 001"), !coverPrinted);
        const QString& firstOfRecords = pages[coverPrinted ? 1 : 0];
        QVERIFY(firstOfRecords.contains("Record 001") && firstOfRecords.contains("First of the list"));
        for (int page = 1; page <= count; ++page)
            QCOMPARE(Captures(pages[page - 1], "(Page \\d+ of \\d+)"),
                     QStringList{QString("Page %1 of %2").arg(page).arg(count)});
    }

    void aLineTallerThanAnEmptyPageStillAdvances()
    {
        ReportLayout layout = ListLayout();
        layout.Layer(LayoutLayer::EveryPage)[0].table.dataLines[0].cells[0].style.pointSize = 1000;
        Write(layout, Path("huge.rpt"));
        ReportJobs engine;
        const int job = StartPdf(engine, 2, Path("huge.rpt"), folder_.path(), "huge.pdf");
        engine.LlPrint(job);
        for (int record = 1; record <= 3; ++record) {
            engine.LlDefineFieldExtA(job, "Rec.Name", "W", ReportItemType::Text, 0);
            QCOMPARE(PrintListRecord(engine, job), record == 1 ? 0 : 1);
        }
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QCOMPARE(PdfPageCount(Path("huge.pdf")), 3);
    }

    void labelsFillTheGridRowByRowAndANewSheetWhenFull()
    {
        ReportLayout layout;
        layout.projectType = ProjectType::Label;
        layout.labels = {5, 2, 100, 55, 5, 10, 95, 50};
        layout.Layer(LayoutLayer::EveryPage).push_back(TextObject(QRectF(5, 5, 80, 8), {"\"Label \" & Rec.Num"}));
        Write(layout, Path("labels.lbl"));
        ReportJobs engine;
        const int job = engine.LlJobOpen(1);
        engine.LlSetFileExtensionsA(job, 1, "lbl", "lbp", "lbb");
        engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", folder_.path());
        engine.LlXSetParameterA(job, 1, "PDF", "Export.File", "labels.pdf");
        QCOMPARE(engine.LlPrintWithBoxStartA(job, 1, Path("labels"), 0x800, 3, nullptr, "Labels"), Ok);
        engine.LlPrintSetOptionStringA(job, 2, "PDF");
        for (int label = 1; label <= 23; ++label) {
            engine.LlDefineFieldExtA(job, "Rec.Num", Number(label), ReportItemType::Text, 0);
            QCOMPARE(engine.LlPrint(job), Ok);
        }
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QCOMPARE(PdfPageCount(Path("labels.pdf")), 3);

        // Each label's place on its sheet, from the words' boxes.
        const QString boxes = Run("pdftotext", {"-bbox", Path("labels.pdf"), "-"});
        QStringList places;
        int sheet = 0;
        for (const QString& line : boxes.split('\n')) {
            if (line.contains("<page "))
                ++sheet;
            const QRegularExpressionMatch word =
                QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\".*>(\\d{3})</word>").match(line);
            if (!word.hasMatch())
                continue;
            const double x = word.captured(1).toDouble() * 25.4 / 72;
            const double y = word.captured(2).toDouble() * 25.4 / 72;
            places << QString("%1:%2 sheet %3 column %4 row %5")
                          .arg(word.captured(3))
                          .arg(sheet)
                          .arg(sheet)
                          .arg(int((x - 5) / 100))
                          .arg(int((y - 10) / 55));
        }
        places.sort(); // by label number; the words come in reading order
        QCOMPARE(places.size(), 23);
        for (int label = 1; label <= 23; ++label) {
            const int cell = (label - 1) % 10;
            QCOMPARE(places[label - 1], QString("%1:%2 sheet %2 column %3 row %4")
                                            .arg(Number(label))
                                            .arg((label - 1) / 10 + 1)
                                            .arg(cell % 2)
                                            .arg(cell / 2));
        }
    }

    void cancelInTheBoxAnswersCancelledAndLeavesNoFile()
    {
        Write(ListLayout(), Path("cancel.rpt"));
        QDir out(Path("cancelled"));
        QVERIFY(out.mkpath("."));
        ReportJobs engine;
        const int job = StartPdf(engine, 2, Path("cancel.rpt"), out.path());
        engine.LlPrint(job);
        ProgressBox* box = TheProgressBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QString("Jornix - Test"));
        engine.LlDefineFieldExtA(job, "Rec.Name", "one", ReportItemType::Text, 0);
        QCOMPARE(engine.LlPrintFields(job), Ok);
        QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", 40), Ok);
        QCOMPARE(box->Text(), QString("Printing..."));
        QCOMPARE(box->Percent(), 40);
        Grab(box, "progress box");
        box->findChild<QPushButton*>("cancelButton")->click();
        QCOMPARE(engine.LlPrintSetBoxTextA(job, "Printing...", 50), Cancelled);
        QCOMPARE(engine.LlPrintFields(job), Cancelled);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QVERIFY(!TheProgressBox());
        QCOMPARE(out.entryList(QDir::Files), QStringList());
        QString files = "x";
        engine.LlGetOptionStringA(job, ReportOptionString::FilesWritten, files, 10240);
        QCOMPARE(files, QString());
    }

    void aMissingPictureAndARefusedBarcodePrintTheRestOfThePage()
    {
        QFile damaged(Path("damaged.png"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("\x89PNG\r\n\x1a\n this is no picture");
        damaged.close();
        ReportLayout layout;
        layout.projectType = ProjectType::Card;
        LayoutObject missing;
        missing.kind = ObjectKind::Picture;
        missing.frame = QRectF(0, 0, 40, 40);
        missing.pictureFile = Path("nowhere.png");
        LayoutObject broken = missing;
        broken.pictureFile = "damaged.png"; // beside the layout
        LayoutObject byItem = missing;
        byItem.pictureFile.clear();
        byItem.pictureItem = "Rec.Picture";
        LayoutObject barcode;
        barcode.kind = ObjectKind::Barcode;
        barcode.frame = QRectF(0, 50, 60, 20);
        barcode.symbology = "EAN13";
        barcode.barcodeFormula = "\"not digits\"";
        layout.Layer(LayoutLayer::EveryPage) = {missing, broken, byItem, barcode,
                                                TextObject(QRectF(0, 80, 190, 8), {"\"The rest of the page\""})};
        Write(layout, Path("pictures.rpt"));
        ReportJobs engine;
        const int job = StartPdf(engine, 3, Path("pictures.rpt"), folder_.path(), "pictures.pdf");
        engine.LlDefineFieldExtA(job, "Rec.Picture", Path("damaged.png"), ReportItemType::Drawing, 0);
        QCOMPARE(engine.LlPrint(job), Ok);
        QCOMPARE(engine.LlPrintEnd(job, 0), Ok);
        QVERIFY(PdfPages(Path("pictures.pdf")).value(0).contains("The rest of the page"));
    }
};

QTEST_MAIN(TestPager)
#include "tst_Pager.moc"
