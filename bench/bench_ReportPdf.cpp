// A list report of 10,000 records with five columns exported to PDF: the records printed through the
// engine's calls (with the progress box), the PDF written, and the memory in use along the way, which stays
// flat because finished pages wait in the page file.
#include "BenchLayouts.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/ReportJobs.h"
#include "platform/runtime/ProgramThreads.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

using namespace jornix;

namespace {

constexpr int Records = 10000;

double ResidentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

ReportLayout FiveColumns()
{
    ReportLayout layout =
        bench::ListLayout(QStringLiteral("Con"), {"Num", "Name", "Company", "City", "Email"},
                          {15, 45, 45, 35, 50}, QStringLiteral("\"Contacts\""),
                          QStringLiteral("\"Page \" & Str$(Page()) & \" of \" & Str$(LastPage())"));
    layout.description = QStringLiteral("Contacts");
    layout.Layer(LayoutLayer::EveryPage)[0].style.pointSize = 14; // the title
    return layout;
}

// The baseline: the same rows drawn straight on a bare QPdfWriter, 46 rows to a Letter page in five columns,
// with nothing spooled, paged or measured. Run first, as a program of its own would run it.
double BarePdfWriter(const QString& path, int& pages)
{
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const double dot = writer.resolution() / 25.4; // per millimetre
    const double columns[] = {15, 45, 45, 35, 50};
    pages = 1;
    int row = 0;
    for (int record = 1; record <= Records; ++record, ++row) {
        if (row == 46) {
            writer.newPage();
            ++pages;
            row = 0;
        }
        const QString cells[] = {QString::number(record), QStringLiteral("Surname%1, Given").arg(record),
                                 QStringLiteral("Company %1 Ltd").arg(record % 97), QStringLiteral("Springfield"),
                                 QStringLiteral("person%1@example.org").arg(record)};
        double left = 10;
        for (int cell = 0; cell < 5; ++cell) {
            painter.drawText(QPointF(left * dot, (30 + row * 5.2) * dot), cells[cell]);
            left += columns[cell];
        }
    }
    painter.end();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // A folder given as the argument keeps the PDF for a look at it.
    QTemporaryDir temporary;
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path());
    QString error;
    const QString layout = folder.filePath(QStringLiteral("contacts.rpt"));
    if (!WriteLayoutFile(layout, FiveColumns(), error))
        return 1;

    int barePages = 0;
    const double bare = BarePdfWriter(folder.filePath(QStringLiteral("bare.pdf")), barePages);

    ReportJobs engine;
    double paging = 0, writing = 0, startMiB = 0, tenthMiB = 0, pagedMiB = 0, endMiB = 0;
    int pages = 0;
    QString files;
    StartProcedureThread([&] {
        QElapsedTimer timer;
        timer.start();
        const int job = engine.LlJobOpen(1);
        engine.LlXSetParameterA(job, 1, "PDF", "Export.Path", folder.absolutePath());
        engine.LlXSetParameterA(job, 1, "PDF", "Export.File", "contacts.pdf");
        engine.LlPrintWithBoxStartA(job, 2, layout, 0x800, 3, nullptr, "Jornix - Contacts");
        engine.LlPrintSetOptionStringA(job, 2, "PDF");
        engine.LlPrint(job);
        startMiB = ResidentMiB();
        for (int record = 1; record <= Records; ++record) {
            engine.LlDefineFieldStart(job);
            engine.LlDefineFieldExtA(job, "Con.Num", QString::number(record), ReportItemType::Numeric, 0);
            engine.LlDefineFieldExtA(job, "Con.Name", QStringLiteral("Surname%1, Given").arg(record),
                                     ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Con.Company", QStringLiteral("Company %1 Ltd").arg(record % 97),
                                     ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Con.City", QStringLiteral("Springfield"), ReportItemType::Text, 0);
            engine.LlDefineFieldExtA(job, "Con.Email", QStringLiteral("person%1@example.org").arg(record),
                                     ReportItemType::Text, 0);
            while (engine.LlPrintFields(job) == ReportResult::RecordDidNotFit)
                engine.LlPrint(job);
            engine.LlPrintSetBoxTextA(job, "Printing...", record * 100 / Records);
            if (record == Records / 10)
                tenthMiB = ResidentMiB();
        }
        engine.LlPrintFieldsEnd(job);
        pagedMiB = ResidentMiB();
        paging = timer.nsecsElapsed() / 1e6;
        timer.restart();
        engine.LlPrintEnd(job, 0);
        writing = timer.nsecsElapsed() / 1e6;
        endMiB = ResidentMiB();
        engine.LlGetOptionStringA(job, 20, files, 10240);
        pages = engine.Job(job)->pagesBegun;
        engine.LlJobClose(job);
    });
    WaitForProgramThreads(120000);
    EndProgramThreads();

    std::printf("%-52s %8.1f ms\n", "10,000 records printed (paging, spooled)", paging);
    std::printf("%-52s %8.1f ms\n", "PDF written", writing);
    std::printf("%-52s %8.1f ms (target 1,500 ms)\n", "total", paging + writing);
    std::printf("%-52s %8.1f ms (%d pages)\n", "baseline: the rows on a bare QPdfWriter", bare, barePages);
    std::printf("%-52s %8d\n", "pages begun", pages);
    std::printf("%-52s %8.1f KiB\n", "PDF size", QFileInfo(files).size() / 1024.0);
    std::printf("%-52s %8.1f / %.1f / %.1f / %.1f MiB\n", "resident: start / 1,000 / 10,000 / written", startMiB,
                tenthMiB, pagedMiB, endMiB);
    return files.isEmpty() ? 1 : 0;
}
