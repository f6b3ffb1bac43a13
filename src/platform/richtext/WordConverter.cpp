#include "platform/richtext/WordConverter.h"

#include "platform/runtime/RunProgram.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace jornix {
namespace {

constexpr int TimeLimitMs = 120000;

WordConverter converter;

QString convertWithLibreOffice(const QString& rtfFile, const QString& outputFolder)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return QStringLiteral("Word documents are made by LibreOffice, which is not installed.");
    // A profile of its own, so that a LibreOffice the user has open neither takes the job nor is disturbed.
    const QString profile = QUrl::fromLocalFile(outputFolder + QStringLiteral("/profile")).toString();
    const ProgramRun run =
        RunProgram(soffice,
                   {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                    QStringLiteral("--convert-to"), QStringLiteral("doc"), QStringLiteral("--outdir"),
                    outputFolder, rtfFile},
                   TimeLimitMs);
    if (!run.started)
        return QStringLiteral("LibreOffice could not be started to make the Word document.");
    if (run.timedOut)
        return QStringLiteral("LibreOffice took too long to make the Word document and was stopped.");
    if (run.exitCode != 0)
        return QStringLiteral("LibreOffice could not make the Word document.");
    return {};
}

} // namespace

QString ConvertRtfToWord(const QByteArray& rtf, QByteArray& word)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return QStringLiteral("No temporary folder for the Word document: %1").arg(folder.errorString());
    const QString rtfFile = folder.filePath(QStringLiteral("document.rtf"));
    QFile input(rtfFile);
    if (!input.open(QIODevice::WriteOnly) || input.write(rtf) != rtf.size() || !input.flush())
        return QStringLiteral("No temporary file for the Word document: %1").arg(input.errorString());
    input.close();
    const QString error =
        converter ? converter(rtfFile, folder.path()) : convertWithLibreOffice(rtfFile, folder.path());
    if (!error.isEmpty())
        return error;
    QFile output(folder.filePath(QStringLiteral("document.doc")));
    if (!output.open(QIODevice::ReadOnly))
        return QStringLiteral("The converter made no Word document.");
    word = output.readAll();
    if (word.isEmpty() || word.startsWith("{\\rtf"))
        return QStringLiteral("The converter made no Word document.");
    return {};
}

void SetWordConverter(WordConverter newConverter)
{
    converter = std::move(newConverter);
}

} // namespace jornix
