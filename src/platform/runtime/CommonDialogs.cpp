#include "platform/runtime/CommonDialogs.h"

#include "platform/runtime/ProgramWindow.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>

namespace jornix {
namespace {
CommonDialogSink sink;

using Kind = CommonDialogRequest::Kind;

CommonDialogAnswer ShowFileDialog(const CommonDialogRequest& request)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    // Without QDir::CaseSensitive the patterns match names whatever their case.
    dialog.setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);
    if (request.kind == Kind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(request.kind == Kind::OpenFile ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setAcceptMode(request.kind == Kind::OpenFile ? QFileDialog::AcceptOpen
                                                            : QFileDialog::AcceptSave);
        const QStringList nameFilters = NameFiltersFromText(request.filters);
        if (!nameFilters.isEmpty())
            dialog.setNameFilters(nameFilters);
    }
    if (!request.path.isEmpty()) {
        if (QFileInfo(request.path).isDir())
            dialog.setDirectory(request.path);
        else
            dialog.selectFile(request.path);
    }
    CommonDialogAnswer answer;
    answer.accepted = RunThreadModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (answer.accepted)
        answer.path = dialog.selectedFiles().constFirst();
    return answer;
}

CommonDialogAnswer ShowRealDialog(const CommonDialogRequest& request)
{
    CommonDialogAnswer answer;
    switch (request.kind) {
    case Kind::OpenFile:
    case Kind::SaveFile:
    case Kind::Folder:
        return ShowFileDialog(request);
    case Kind::Colour: {
        QColorDialog dialog(request.colour);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        dialog.setWindowTitle(request.title);
        answer.accepted = RunThreadModal(dialog) == QDialog::Accepted;
        answer.colour = dialog.selectedColor();
        break;
    }
    case Kind::Font: {
        QFontDialog dialog(request.font);
        dialog.setOption(QFontDialog::DontUseNativeDialog);
        dialog.setWindowTitle(request.title);
        answer.accepted = RunThreadModal(dialog) == QDialog::Accepted;
        answer.font = dialog.selectedFont();
        break;
    }
    case Kind::Printer: {
        QPrintDialog dialog(request.printer);
        if (!request.title.isEmpty())
            dialog.setWindowTitle(request.title);
        if (request.pageCount > 0) {
            dialog.setMinMax(1, request.pageCount);
            dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        }
        answer.accepted = RunThreadModal(dialog) == QDialog::Accepted;
        break;
    }
    }
    return answer;
}

CommonDialogAnswer Ask(const CommonDialogRequest& request)
{
    return sink ? sink(request) : ShowRealDialog(request);
}

QString AskFile(Kind kind, const QString& title, const QString& filters, const QString& path)
{
    CommonDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filters = filters;
    request.path = path;
    const CommonDialogAnswer answer = Ask(request);
    return answer.accepted ? answer.path : QString();
}
} // namespace

QString AskOpenFileName(const QString& title, const QString& filters, const QString& path)
{
    return AskFile(Kind::OpenFile, title, filters, path);
}

QString AskSaveFileName(const QString& title, const QString& filters, const QString& path)
{
    return AskFile(Kind::SaveFile, title, filters, path);
}

QString AskFolder(const QString& title, const QString& path)
{
    return AskFile(Kind::Folder, title, QString(), path);
}

bool AskColour(QColor& colour, const QString& title)
{
    CommonDialogRequest request;
    request.kind = Kind::Colour;
    request.title = title;
    request.colour = colour;
    const CommonDialogAnswer answer = Ask(request);
    if (answer.accepted)
        colour = answer.colour;
    return answer.accepted;
}

bool AskFont(QFont& font, const QString& title)
{
    CommonDialogRequest request;
    request.kind = Kind::Font;
    request.title = title;
    request.font = font;
    const CommonDialogAnswer answer = Ask(request);
    if (answer.accepted)
        font = answer.font;
    return answer.accepted;
}

bool AskPrinter(QPrinter& printer, const QString& title, int pageCount)
{
    CommonDialogRequest request;
    request.kind = Kind::Printer;
    request.title = title;
    request.printer = &printer;
    request.pageCount = pageCount;
    return Ask(request).accepted;
}

void SetCommonDialogSink(CommonDialogSink newSink)
{
    sink = std::move(newSink);
}

QStringList NameFiltersFromText(const QString& filters)
{
    const QStringList parts = filters.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        nameFilters.append(parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                           QLatin1Char(')'));
    }
    return nameFilters;
}

} // namespace jornix
