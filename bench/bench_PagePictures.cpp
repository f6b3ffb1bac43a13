// Page pictures of formatted notes.
// 1. The page pictures of a 20-page document (paragraphs of formatted text and a table) on a letter page: all
//    pages laid out once and each drawn into its picture file, as the print engine asks for them; best of five.
// 2. 70 log events with three pages of formatted notes each (and one picture that every event's notes show),
//    printed to PDF by the print run through the two factory layouts that print the notes as page pictures:
//    210 pages each. Beside it, the baseline: the same notes drawn straight into one PDF by the rich-text
//    page painter, without the report engine. A folder given as the argument keeps the data and the PDFs.
#include "core/DataLayer.h"
#include "core/ProgramGlobals.h"
#include "documents/TXEdit.h"
#include "platform/framework/FileManager.h"
#include "platform/richtext/PagePainter.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Table.h"
#include "reports/PrintProcess.h"
#include "reports/ReportAreas.h"

#include "BenchData.h"
#include "reports/FormattedNotes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextTable>

#include <cstdio>

using namespace jornix;

namespace {

constexpr int Events = 70;
constexpr int PagesPerEvent = 3;

double DocumentPictures()
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    QTextCursor cursor(control.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    for (int page = 0; page < 20; ++page) {
        if (page > 0)
            cursor.insertBlock(newPage);
        for (int paragraph = 0; paragraph < 8; ++paragraph) {
            cursor.insertText(QStringLiteral("Page %1, paragraph %2: ").arg(page + 1).arg(paragraph + 1), bold);
            cursor.insertText(QStringLiteral("the day's notes go on in plain words for a few lines, so that each "
                                             "paragraph wraps and the page fills up with text as a journal's "
                                             "pages do. "),
                              QTextCharFormat());
            cursor.insertBlock(QTextBlockFormat());
        }
        QTextTable* table = cursor.insertTable(3, 3);
        for (int cell = 0; cell < 9; ++cell)
            table->cellAt(cell / 3, cell % 3).firstCursorPosition().insertText(QStringLiteral("cell %1").arg(cell));
        cursor.movePosition(QTextCursor::End);
    }
    qint64 best = -1;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        edit.RenderPageMetafiles(8.5, 11);
        const qint64 elapsed = timer.nsecsElapsed();
        edit.DeleteMetafiles();
        if (best < 0 || elapsed < best)
            best = elapsed;
    }
    return double(best) / 1e6;
}

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(60000);
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return 0;
}

bool AddLayout(int number, double width, double height)
{
    const QString file = QStringLiteral("jx_%1.rpt").arg(number);
    QFile::remove(DataPathText + file);
    if (!QFile::copy(QStringLiteral(JORNIX_PROGRAM_DIR "/DefaultData/") + file, DataPathText + file))
        return false;
    Table& layouts = AccessLLL_->GetTable();
    layouts.ClearBuffer();
    Record& row = layouts.Buffer();
    row.SetValue("LLL_:Ref", number);
    row.SetValue("LLL_:AreaRef", ReportArea::LogEvents);
    row.SetValue("LLL_:Description", QStringLiteral("Notes %1").arg(number));
    row.SetValue("LLL_:FileName", QStringLiteral("jx_%1").arg(number));
    row.SetValue("LLL_:Type", 2);
    row.SetValue("LLL_:Style", 3);
    row.SetValue("LLL_:WMFSpecialLoop", 1);
    row.SetValue("LLL_:WMFWidth", width);
    row.SetValue("LLL_:WMFHeight", height);
    return bool(layouts.Insert());
}

struct Output
{
    double ms = 0;
    qint64 bytes = 0;
    int pages = 0;
    bool wordsInOrder = false;
};

// The notes straight into one PDF, one PDF page per page of notes, on the factory layouts' picture size.
Output StraightPdf(const std::vector<QByteArray>& documents, const QStringList& words, const QString& path)
{
    Output output;
    QElapsedTimer timer;
    timer.start();
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QSizeF(7.5 * 72, 8.5 * 72), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        const QRectF target(0, 0, writer.width(), writer.height());
        bool first = true;
        for (const QByteArray& stored : documents) {
            RichTextControl control;
            TXEdit edit;
            edit.Init(&control);
            edit.LoadFromBlob(stored);
            const PagePainter pages(*control.document(), {10800, 12240, 0, 0, 0, 0});
            for (int page = 0; page < pages.PageCount(); ++page) {
                if (!first)
                    writer.newPage();
                first = false;
                pages.PaintPage(painter, page, target);
            }
            edit.Kill();
        }
    }
    output.ms = timer.nsecsElapsed() / 1e6;
    output.bytes = QFileInfo(path).size();
    output.pages = PdfPages(path);
    output.wordsInOrder = test::NumberedWords(PdfText(path)) == words;
    return output;
}

Output PrintRun(int layout, const QStringList& words, const QString& path)
{
    Output output;
    StartProcedureThread([&] {
        QElapsedTimer timer;
        timer.start();
        PrintProcess(ReportArea::LogEvents, layout, 1, OutputFormat::Pdf, 0, 0, path, "", "");
        output.ms = timer.nsecsElapsed() / 1e6;
    });
    WaitForProgramThreads(600000);
    output.bytes = QFileInfo(path).size();
    output.pages = PdfPages(path);
    output.wordsInOrder = test::NumberedWords(PdfText(path)) == words;
    return output;
}

void Print(const char* what, const Output& output)
{
    std::printf("%-52s %8.1f ms %8.2f MiB %4d pages  words in order: %s\n", what, output.ms,
                output.bytes / (1024.0 * 1024.0), output.pages, output.wordsInOrder ? "yes" : "NO");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const bench::BenchDataFolder data(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    const QString folder = data.Path();
    DataPathText = folder;
    // Page pictures go to the temporary folder: one of the benchmark's own.
    QTemporaryDir temporary;
    qputenv("TMPDIR", temporary.path().toLocal8Bit());

    std::printf("%-52s %8.3f ms (target 500 ms)\n", "page pictures of a document (20 pages)", DocumentPictures());

    AccessLOG->Open();
    AccessLLL_->Open();
    if (!AddLayout(4, 7.5, 6.5) || !AddLayout(15, 7.5, 8.5)) {
        std::fprintf(stderr, "the factory layouts cannot be set up\n");
        return 1;
    }
    const QImage picture = test::NotesPicture();
    std::vector<QByteArray> documents;
    QStringList words;
    for (int event = 0; event < Events; ++event) {
        test::FormattedNotes notes = test::MakeFormattedNotes(PagesPerEvent, event * 1000 + 1, picture);
        documents.push_back(notes.stored);
        words += notes.words;
    }
    const bool filled = bench::Fill(*AccessLOG, Events, [&](Record& row, int event) {
        row.SetValue("LOG:LogNum", event + 1);
        row.SetValue("LOG:LogDate", 80000 + event);
        row.SetValue("LOG:LogDescription", QStringLiteral("Event %1").arg(event + 1));
        row.SetValue("LOG:LogDoc", documents[std::size_t(event)]);
    });
    if (!filled) {
        std::fprintf(stderr, "the events cannot be written\n");
        return 1;
    }

    const Output straight = StraightPdf(documents, words, folder + QStringLiteral("straight.pdf"));
    const Output detail = PrintRun(4, words, folder + QStringLiteral("detail.pdf"));
    const Output larger = PrintRun(15, words, folder + QStringLiteral("larger.pdf"));
    EndProgramThreads();
    AccessLLL_->Close();
    AccessLOG->Close();

    std::printf("%d events of %d pages of notes, one picture shared (targets: < 10 MiB, < 20 s)\n", Events,
                PagesPerEvent);
    Print("baseline: the notes straight into a PDF", straight);
    Print("print run, \"Formatted Log Notes (Detail)\"", detail);
    Print("print run, \"Larger Formatted Log Notes\"", larger);
    return 0;
}
