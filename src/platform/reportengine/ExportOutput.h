#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// What every export shares: the file it writes (the parameters "Export.File" in the folder "Export.Path",
// none: the current folder), the names of the files of further pages, the rule that a run never writes
// over a file it wrote itself, the list of files written and "Export.ShowResult".
//
// Writers of one file write it through a save file or a temporary file beside it, so that a failed or
// cancelled export leaves no partial file and keeps what was there before. Writers of one file per page
// (pictures) name page 1 as asked and each further page with its number before the name ("2_week.bmp"),
// which the program's own renaming rule reads.
namespace jornix {

struct ReportJob;
class PageSpool;
class RowSpool;

// The pages and records an export writes.
struct ExportSource
{
    const ReportJob& job;
    PageSpool& spool;
    QList<int> pages;     // spool indexes
    const RowSpool* rows; // the records as table rows; nullptr when none were kept
    QString title;
    std::function<bool(int done)> progress; // after each page or record; false stops the export
};

// The files of one export.
class ExportFiles
{
public:
    // `written` is what the run wrote before; the export never writes over one of those.
    ExportFiles(const QString& path, const QStringList& written);

    // The file asked for.
    QString Path() const { return path_; }
    // The file of the n-th page written (from 1): the file asked for, then "<n>_<name>" beside it. A name
    // the run wrote already gets "_<k>" before its extension.
    QString PagePath(int n);
    // Notes a file that is complete.
    void Written(const QString& file) { files_ << file; }
    const QStringList& Files() const { return files_; }
    // Removes the files of this export, after a failure or a cancel.
    void RemoveAll();

private:
    QString Unused(const QString& file) const;

    QString path_;
    QSet<QString> before_;
    QStringList files_;
};

// Writes `path` through a save file that `write` fills: when it answers false (a failed write, a cancel) or
// the file cannot be completed, no file is left and what was there before stays. The reason of a failure
// of the file itself goes to `error`.
bool WriteSavedFile(const QString& path, const std::function<bool(QIODevice& out)>& write, QString& error);

// A writer: writes the source to the files, noting each one complete; false with the reason in `error`.
using ExportWriter = std::function<bool(const ExportSource& source, ExportFiles& files, QString& error)>;

struct ExportFormat
{
    QString target;    // as option string 2 names it: "PDF", "RTF", "PICTURE_BMP" ...
    QString extension; // of the default file "report.<extension>"
    ExportWriter write;
    bool usesRows = false; // writes the records as table rows
};

// The export of this print target, or nullptr when there is none ("PRV", "PRN", an unknown name). The
// picture targets are also known by their short names ("BMP", "JPG", "EMF").
const ExportFormat* FindExportFormat(const QString& target);

// The export's file from the job's parameters.
QString ExportPath(const ReportJob& job, const ExportFormat& format);

// "Export.ShowResult" "1": the first file written is to be opened through the desktop.
bool ShowExportResult(const ReportJob& job, const ExportFormat& format);

// Runs the export: the files it writes are added to the job's list. Cancelled (the progress answered
// false) or failed, it removes what it wrote and gives false; `error` is empty after a cancel.
bool RunExport(const ExportFormat& format, ReportJob& job, const ExportSource& source, QString& error);

} // namespace jornix
