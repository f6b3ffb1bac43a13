#include "platform/reportengine/PrintRun.h"

#include "platform/reportengine/ExportOutput.h"
#include "platform/reportengine/PrinterOutput.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportJob.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/runtime/ShellOpen.h"

#include <QFileInfo>
#include <QPrinter>

namespace jornix {

using namespace ReportResult;

namespace {

constexpr int YieldIntervalMs = 20;

} // namespace

QList<int> PrintRun::Pages() const
{
    const int count = spool.PageCount();
    const int first = std::max(fromPage, 1);
    const int last = toPage > 0 ? std::min(toPage, count) : count;
    QList<int> pages;
    for (int page = first; page <= last; ++page)
        pages << page - 1;
    return pages;
}

QString RunTarget(const ReportJob& job)
{
    if (job.mode & PrintMode::PrintToChoice) {
        const QString target = job.printOptionStrings.value(ReportOptionString::PrintTarget).trimmed().toUpper();
        return target.isEmpty() ? PrintTarget::Preview : target;
    }
    return (job.mode & PrintMode::PrintToPreview) ? PrintTarget::Preview : PrintTarget::Printer;
}

bool StartRun(ReportJob& job, QString& error)
{
    auto run = std::make_shared<PrintRun>();
    if (!run->spool.IsOpen()) {
        error = run->spool.Error();
        return false;
    }
    run->pager = std::make_unique<Pager>(job, job.layout, QFileInfo(job.layoutPath).absolutePath(),
                                         run->spool, job.options.value(ReportOption::PrintCoverPage, 1) != 0);
    if (job.boxType != 0) {
        run->box = std::make_unique<ProgressBox>(job.boxTitle, [&job] { job.cancelled = true; });
        run->box->SetProgress(QStringLiteral("Printing..."), 0);
        run->box->show();
    }
    // A start that leaves the output open may end in an export that writes the records as a table.
    if (job.mode & PrintMode::PrintToChoice) {
        run->recorder = std::make_unique<RowRecorder>(job.layout);
        run->rows = std::make_unique<RowSpool>(run->recorder->Columns());
        if (!run->rows->IsOpen()) {
            error = run->rows->Error();
            return false;
        }
    }
    run->sinceYield.start();
    job.run = std::move(run);
    return true;
}

void KeepRecordRows(ReportJob& job)
{
    if (!job.run || !job.run->recorder)
        return;
    if (!job.run->recorder->Record(job, std::max(job.run->pager->PagesMade(), 1), *job.run->rows)) {
        job.run->recorder.reset();
        job.run->rows.reset();
    }
}

void YieldDuringRun(ReportJob& job)
{
    // A thread inside a write transaction may not give way; its run goes on without.
    if (!job.run || job.run->sinceYield.elapsed() < YieldIntervalMs || YieldsHeld())
        return;
    YieldNow();
    if (job.run)
        job.run->sinceYield.restart();
}

QString RunTitle(const ReportJob& job)
{
    return job.layout.description.isEmpty() ? job.boxTitle : job.layout.description;
}

bool PrintRunPages(const ReportJob& job, PageSpool& spool, const QList<int>& pages,
                   const std::function<bool(int done)>& progress, QString& file, QString& error)
{
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(printer, job.printer, QSizeF(job.layout.paper.width, job.layout.paper.height));
    printer.setDocName(RunTitle(job));
    printer.setCreator(QStringLiteral("Jornix"));
    const bool printed = PrintPages(printer, spool, pages, progress, error);
    if (printer.outputFormat() == QPrinter::PdfFormat)
        file = printer.outputFileName();
    return printed;
}

int EndRun(ReportJob& job, QString& error)
{
    const std::shared_ptr<PrintRun> run = job.run;
    if (!run)
        return Ok;
    const bool kept = run->pager->Finish();
    const auto finished = [&job, &run](int result) {
        run->box.reset();
        if (!run->previewReady && job.run == run)
            job.run.reset(); // removes the page file and its folder
        return result;
    };
    if (job.cancelled)
        return finished(Ok);
    if (!kept) {
        error = run->pager->Error();
        return finished(OutputFailed);
    }
    const QList<int> pages = run->Pages();
    if (pages.isEmpty())
        return finished(Ok);

    const QString target = RunTarget(job);
    if (target == PrintTarget::Preview) {
        run->previewReady = true;
        return finished(Ok);
    }
    const auto progress = [&job, &run, &pages](int done) {
        if (run->box)
            run->box->SetProgress(job.boxText.isEmpty() ? QStringLiteral("Printing...") : job.boxText,
                                  done * 100 / int(pages.size()));
        YieldDuringRun(job);
        return !job.cancelled;
    };
    bool written = false;
    QString file;
    const ExportFormat* format = nullptr;
    const qsizetype before = job.filesWritten.size();
    if (target == PrintTarget::Printer) {
        written = PrintRunPages(job, run->spool, pages, progress, file, error);
        if (written && !file.isEmpty())
            job.filesWritten << file;
    } else if ((format = FindExportFormat(target))) {
        const ExportSource source{job, run->spool, pages, run->rows.get(), RunTitle(job), progress};
        written = RunExport(*format, job, source, error);
    } else {
        error = QStringLiteral("the export format \"%1\" is not available").arg(target);
        return finished(BadParameter);
    }
    if (job.cancelled)
        return finished(Ok);
    if (!written)
        return finished(OutputFailed);
    const bool show = format && job.filesWritten.size() > before && ShowExportResult(job, *format);
    finished(Ok);
    if (show)
        ShellOpen(nullptr, job.filesWritten.at(before));
    return Ok;
}

} // namespace jornix
