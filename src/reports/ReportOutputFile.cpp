#include "reports/ReportOutputFile.h"

#include "platform/runtime/CommonDialogs.h"

namespace jornix {
namespace {

const OutputFileKind Kinds[] = {
    {9, QStringLiteral("Adobe PDF (*.pdf)|*.PDF"), QStringLiteral("report.pdf"), QStringLiteral(".pdf")},
    {4, QStringLiteral("Rich Text Format (*.rtf)|*.RTF"), QStringLiteral("report.rtf"),
     QStringLiteral(".rtf")},
    {5, QStringLiteral("Web Page (*.html)|*.HTML"), QStringLiteral("report.html"), QStringLiteral(".html")},
    {10, QStringLiteral("Multi-mime Web Page (*.mhtml)|*.MHTML"), QStringLiteral("report.mhtml"),
     QStringLiteral(".mhtml")},
    {8, QStringLiteral("Bitmap Image (*.bmp)|*.BMP"), QStringLiteral("report.bmp"), QStringLiteral(".bmp")},
    {6, QStringLiteral("JPG Image (*.jpg)|*.JPG"), QStringLiteral("report.jpg"), QStringLiteral(".jpg")},
    {7, QStringLiteral("Metafile (*.emf)|*.EMF"), QStringLiteral("report.emf"), QStringLiteral(".emf")},
    {11, QStringLiteral("XML (*.xml)|*.XML"), QStringLiteral("report.xml"), QStringLiteral(".xml")},
    {12, QStringLiteral("Excel (*.xls)|*.XLS"), QStringLiteral("report.xls"), QStringLiteral(".xls")},
    {13, QStringLiteral("Text (*.txt)|*.TXT"), QStringLiteral("report.txt"), QStringLiteral(".txt")},
};

} // namespace

const OutputFileKind* FindOutputFileKind(int format)
{
    for (const OutputFileKind& kind : Kinds)
        if (kind.format == format)
            return &kind;
    return nullptr;
}

bool WritesFile(int format)
{
    return FindOutputFileKind(format) != nullptr;
}

QString GiveExtension(const QString& name, const QString& extension)
{
    const QString trimmed = name.trimmed();
    const qsizetype dot = trimmed.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && trimmed.mid(dot).trimmed().toLower() == extension)
        return trimmed;
    return trimmed + extension;
}

OutputFileChoice AskReportOutputFile(int format)
{
    const OutputFileKind* kind = FindOutputFileKind(format);
    if (!kind)
        return {};
    const QString file =
        AskSaveFileName(QStringLiteral("Select Report OutPut File"),
                        kind->mask + QStringLiteral("|All Files (*.*)|*.*"), kind->defaultName,
                        FileKind::Documents);
    if (file.trimmed().isEmpty())
        return {false, {}};
    return {true, GiveExtension(file, kind->extension)};
}

} // namespace jornix
