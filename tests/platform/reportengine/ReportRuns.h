#pragma once

#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/ReportJobs.h"

#include <QDir>
#include <QProcess>
#include <QWidget>
#include <QRegularExpression>
#include <QTest>

// Layouts made in code and print runs driven as the program drives them, with their PDF read back through
// poppler's tools.
namespace jornix::test {

inline LayoutObject TextObject(const QRectF& frame, const QStringList& lines, const QString& condition = {})
{
    LayoutObject object;
    object.kind = ObjectKind::Text;
    object.frame = frame;
    object.lines = lines;
    object.condition = condition;
    return object;
}

inline TableLine Line(const QStringList& cells)
{
    TableLine line;
    for (const QString& formula : cells)
        line.cells.push_back({formula, {}});
    return line;
}

inline void Write(const ReportLayout& layout, const QString& path)
{
    QString error;
    if (!WriteLayoutFile(path, layout, error))
        qFatal("%s", qPrintable(error));
}

// Opens a job and starts an export of `file` in `folder` in the export format, as an export start does.
inline int StartExport(ReportJobs& engine, int projectType, const QString& layout, const QString& format,
                       const QString& folder, const QString& file)
{
    const int job = engine.LlJobOpen(1);
    engine.LlXSetParameterA(job, 1, format, "Export.File", file);
    engine.LlXSetParameterA(job, 1, format, "Export.Path", folder);
    engine.LlXSetParameterA(job, 1, format, "Export.Quiet", "1");
    engine.LlXSetParameterA(job, 1, format, "Export.ShowResult", "0");
    engine.LlXSetParameterA(job, 1, format, "Picture.BitsPerPixel", "24");
    if (engine.LlPrintWithBoxStartA(job, projectType, layout, 0x800, 3, nullptr, "Jornix - Test") != 0)
        qFatal("the run does not start: %s", qPrintable(engine.Job(job)->lastError));
    engine.LlPrintSetOptionStringA(job, ReportOptionString::PrintTarget, format);
    return job;
}

inline int StartPdf(ReportJobs& engine, int projectType, const QString& layout, const QString& folder,
                    const QString& file = QStringLiteral("report.pdf"))
{
    return StartExport(engine, projectType, layout, "PDF", folder, file);
}

// A list record as the print engine prints it: the fields again on a new page while they do not fit.
// Returns how often they did not fit.
inline int PrintListRecord(ReportJobs& engine, int job)
{
    int overflows = 0;
    while (engine.LlPrintFields(job) == ReportResult::RecordDidNotFit) {
        engine.LlPrint(job);
        if (++overflows > 1000)
            qFatal("the record never fits");
    }
    return overflows;
}

inline QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page.
inline QStringList PdfPages(const QString& path)
{
    QStringList pages = Run("pdftotext", {"-layout", path, "-"}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline int PdfPageCount(const QString& path)
{
    const QRegularExpressionMatch match =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption)
            .match(Run("pdfinfo", {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Every capture of the pattern's first group in the text, in order.
inline QStringList Captures(const QString& text, const QString& pattern)
{
    QStringList found;
    for (const QRegularExpressionMatch& match : QRegularExpression(pattern).globalMatch(text))
        found << match.captured(1);
    return found;
}

// Saves a picture of the window for a look at it, when JORNIX_GRAB_DIR names a folder.
inline void Grab(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("JORNIX_GRAB_DIR");
    if (!folder.isEmpty())
        window->grab().save(QDir(folder).filePath(name + ".png"));
}

} // namespace jornix::test
