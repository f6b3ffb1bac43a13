#include "reports/ExportOutput.h"

#include "platform/runtime/FileFolders.h"
#include "platform/runtime/TrailingBlanks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace jornix {

namespace {

// The number a name starts with; 0 when it starts with no digit.
int LeadingNumber(const QString& text)
{
    qsizetype digits = 0;
    while (digits < text.size() && digits < 9 && text[digits].isDigit())
        ++digits;
    return digits ? text.left(digits).toInt() : 0;
}

} // namespace

QString GetFileName(const QString& path)
{
    return StripTrailingBlanks(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

QString OutputFolder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString ExportFormatOf(int outputFormat)
{
    static const QStringList formats{"RTF", "HTML",  "PICTURE_JPEG", "PICTURE_EMF", "PICTURE_BMP",
                                     "PDF", "MHTML", "XML",          "XLS",         "TXT"};
    return outputFormat >= 4 ? formats.value(outputFormat - 4) : QString();
}

QString PrintTargetOf(int outputFormat)
{
    static const QStringList targets{"PRV", "PRN", "RTF",   "HTML", "JPG", "EMF",
                                     "BMP", "PDF", "MHTML", "XML",  "XLS", "TXT"};
    return outputFormat >= 2 ? targets.value(outputFormat - 2) : QString();
}

std::vector<std::pair<QString, QString>> ExportParameters(const QString& outputFile, bool showResult)
{
    return {{QStringLiteral("Export.File"), GetFileName(outputFile)},
            {QStringLiteral("Export.Path"), OutputFolder(outputFile)},
            {QStringLiteral("Export.Quiet"), QStringLiteral("1")},
            {QStringLiteral("Export.ShowResult"), showResult ? QStringLiteral("1") : QStringLiteral("0")},
            {QStringLiteral("Picture.BitsPerPixel"), QStringLiteral("24")}};
}

void NameFurtherFiles(const QStringList& filesWritten, const QString& outputFile)
{
    if (filesWritten.size() <= 1)
        return;
    const QString outputName = GetFileName(outputFile);
    const qsizetype dot = outputName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? outputName : outputName.left(dot);
    const QString extension = dot < 0 ? QString() : outputName.mid(dot);
    const QString folder = OutputFolder(outputFile);
    const QDir outputDir(folder.isEmpty() ? FileFolders::StartFolder(FileKind::Documents) : folder);
    for (const QString& file : filesWritten) {
        const QString name = GetFileName(file);
        if (name == outputName)
            continue;
        const qsizetype stemEnd = name.lastIndexOf(QLatin1Char('.'));
        const QString stem = stemEnd < 0 ? name : name.left(stemEnd);
        const QString target = outputDir.filePath(
            base + QStringLiteral("%1").arg(LeadingNumber(stem), 4, 10, QLatin1Char('0')) + extension);
        // QFile::rename refuses a name that is taken: a file this run wrote is never overwritten.
        if (QFileInfo(file).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
            QFile::rename(file, target);
    }
}

} // namespace jornix
