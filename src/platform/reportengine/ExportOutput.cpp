#include "platform/runtime/SafeFileWriter.h"
#include "platform/reportengine/ExportOutput.h"

#include "platform/runtime/FileFolders.h"

#include "platform/reportengine/EmfExport.h"
#include "platform/reportengine/HtmlExport.h"
#include "platform/reportengine/ImageExport.h"
#include "platform/reportengine/MhtmlExport.h"
#include "platform/reportengine/PdfOutput.h"
#include "platform/reportengine/ReportJob.h"
#include "platform/reportengine/RtfExport.h"
#include "platform/reportengine/TxtExport.h"
#include "platform/reportengine/XlsExport.h"
#include "platform/reportengine/XmlExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace jornix {

namespace {

struct NamedFormat
{
    QStringList names; // the export format first, then the print target's short name
    ExportFormat format;
};

const std::vector<NamedFormat>& Formats()
{
    const auto pdf = [](const ExportSource& source, ExportFiles& files, QString& error) {
        if (!WritePdf(source.spool, source.pages, files.Path(), source.title, source.progress, error))
            return false;
        files.Written(files.Path());
        return true;
    };
    const auto picture = [](const char* format) {
        return [format](const ExportSource& source, ExportFiles& files, QString& error) {
            return WriteImages(source, files, QLatin1String(format), error);
        };
    };
    static const std::vector<NamedFormat> formats{
        {{"PDF"}, {"PDF", "pdf", pdf}},
        {{"RTF"}, {"RTF", "rtf", WriteRtf}},
        {{"HTML"}, {"HTML", "html", WriteHtml}},
        {{"MHTML"}, {"MHTML", "mht", WriteMhtml}},
        {{"PICTURE_JPEG", "JPG", "JPEG"}, {"PICTURE_JPEG", "jpg", picture("JPG")}},
        {{"PICTURE_BMP", "BMP"}, {"PICTURE_BMP", "bmp", picture("BMP")}},
        {{"PICTURE_EMF", "EMF"}, {"PICTURE_EMF", "emf", WriteEmf}},
        {{"XML"}, {"XML", "xml", WriteXml, true}},
        {{"XLS"}, {"XLS", "xls", WriteXls, true}},
        {{"TXT"}, {"TXT", "txt", WriteTxt}},
    };
    return formats;
}

QString Parameter(const ReportJob& job, const ExportFormat& format, const QString& key)
{
    for (const NamedFormat& named : Formats())
        if (named.format.target == format.target)
            for (const QString& name : named.names) {
                const auto found = job.exportParameters.constFind(name + QLatin1Char('/') + key);
                if (found != job.exportParameters.constEnd())
                    return found->trimmed();
            }
    return {};
}

} // namespace

const ExportFormat* FindExportFormat(const QString& target)
{
    const QString name = target.trimmed().toUpper();
    for (const NamedFormat& named : Formats())
        if (named.names.contains(name))
            return &named.format;
    return nullptr;
}

QString ExportPath(const ReportJob& job, const ExportFormat& format)
{
    QString file = Parameter(job, format, QStringLiteral("Export.File"));
    if (file.isEmpty())
        file = QStringLiteral("report.") + format.extension;
    const QString folder = Parameter(job, format, QStringLiteral("Export.Path"));
    // Without a folder the file goes where the user keeps documents, never among the program's files.
    return QDir::cleanPath(
        QDir(folder.isEmpty() ? FileFolders::StartFolder(FileKind::Documents) : folder).filePath(file));
}

bool ShowExportResult(const ReportJob& job, const ExportFormat& format)
{
    return Parameter(job, format, QStringLiteral("Export.ShowResult")) == QLatin1String("1");
}

bool RunExport(const ExportFormat& format, ReportJob& job, const ExportSource& source, QString& error)
{
    ExportFiles files(ExportPath(job, format), job.filesWritten);
    if (format.usesRows && !source.rows) {
        error = QStringLiteral("the records of the run were not kept for the %1 export").arg(format.target);
        return false;
    }
    if (!format.write(source, files, error) || job.cancelled) {
        files.RemoveAll();
        if (job.cancelled)
            error.clear();
        else if (error.isEmpty())
            error = QStringLiteral("the export was stopped");
        return false;
    }
    job.filesWritten << files.Files();
    return true;
}

// --- files

ExportFiles::ExportFiles(const QString& path, const QStringList& written)
    : path_(path), before_(written.begin(), written.end())
{
    path_ = Unused(path_);
}

QString ExportFiles::Unused(const QString& file) const
{
    if (!before_.contains(file) && !files_.contains(file))
        return file;
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = info.fileName().chopped(suffix.size());
    for (int k = 2;; ++k) {
        const QString other =
            info.dir().filePath(QStringLiteral("%1_%2%3").arg(stem, QString::number(k), suffix));
        if (!before_.contains(other) && !files_.contains(other))
            return other;
    }
}

QString ExportFiles::PagePath(int n)
{
    if (n <= 1)
        return path_;
    const QFileInfo info(path_);
    return Unused(info.dir().filePath(QStringLiteral("%1_%2").arg(n).arg(info.fileName())));
}

void ExportFiles::RemoveAll()
{
    for (const QString& file : std::as_const(files_))
        QFile::remove(file);
    files_.clear();
}

bool WriteSavedFile(const QString& path, const std::function<bool(QIODevice& out)>& write, QString& error)
{
    SafeFileWriter file(path);
    if (!file.Open()) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    if (!write(file.Device())) {
        // The writer's own reason comes first; a refused write is the reason when it gave none.
        file.Cancel();
        if (error.isEmpty())
            error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    if (!file.Commit()) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    return true;
}

} // namespace jornix
