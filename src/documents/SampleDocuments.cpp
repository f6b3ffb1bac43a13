#include "documents/SampleDocuments.h"

#include "documents/TXEdit.h"

#include <QDir>
#include <QFile>

namespace jornix {

std::optional<QByteArray> LoadSampleDocument(const QString& programFolder, const QString& sampleName,
                                             QString* error)
{
    auto fail = [error](const QString& reason) -> std::optional<QByteArray> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (sampleName.isEmpty() || sampleName.contains(QLatin1Char('/')) ||
        sampleName.contains(QLatin1Char('\\')) || sampleName.startsWith(QLatin1Char('.')))
        return fail(QStringLiteral("\"%1\" is not the name of a sample document.").arg(sampleName));
    QFile file(QDir(programFolder).filePath(QStringLiteral("DefaultData/") + sampleName));
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
    const QByteArray bytes = file.readAll();
    QByteArray document = bytes;
    DocumentPageHeader header;
    if (!TXEdit::StripPageHeader(document, header) || !TXEdit::IsTXDocument(bytes))
        return fail(QStringLiteral("%1 is not a stored document.").arg(file.fileName()));
    return bytes;
}

} // namespace jornix
