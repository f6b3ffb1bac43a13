#include "platform/runtime/CommonDialogs.h"

#include "platform/runtime/ProgramWindow.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QPrintDialog>
#include <QVBoxLayout>

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

// Qt's font dialog has no text colour: it is embedded without its buttons, over a colour list of the usual
// sixteen colours (and the start colour when it is none of them) and the dialog's own OK and Cancel.
CommonDialogAnswer ShowFontAndColourDialog(const CommonDialogRequest& request)
{
    QDialog dialog;
    dialog.setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* fonts = new QFontDialog(request.font, &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    fonts->setSizeGripEnabled(false);
    layout->addWidget(fonts);
    auto* colours = new QComboBox(&dialog);
    colours->setObjectName(QStringLiteral("TextColour"));
    static const std::pair<const char*, QRgb> named[] = {
        {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
        {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
        {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
        {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF}};
    for (const auto& [name, rgb] : named) {
        QPixmap swatch(16, 16);
        swatch.fill(QColor(rgb));
        colours->addItem(QIcon(swatch), QString::fromLatin1(name), QColor(rgb));
    }
    int start = colours->findData(QColor(request.colour.rgb()));
    if (start < 0 && request.colour.isValid()) {
        QPixmap swatch(16, 16);
        swatch.fill(request.colour);
        colours->addItem(QIcon(swatch), QStringLiteral("Custom"), request.colour);
        start = colours->count() - 1;
    }
    colours->setCurrentIndex(qMax(start, 0));
    auto* colourRow = new QFormLayout;
    colourRow->addRow(QStringLiteral("&Color:"), colours);
    layout->addLayout(colourRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    CommonDialogAnswer answer;
    answer.accepted = RunThreadModal(dialog) == QDialog::Accepted;
    answer.font = fonts->currentFont();
    answer.colour = colours->currentData().value<QColor>();
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
        if (request.withColour)
            return ShowFontAndColourDialog(request);
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

QString AskFile(Kind kind, const QString& title, const QString& filters, const QString& path,
                FileKind fileKind = FileKind::Any)
{
    CommonDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filters = filters;
    request.path = FileFolders::StartPath(fileKind, path);
    const CommonDialogAnswer answer = Ask(request);
    if (!answer.accepted)
        return {};
    FileFolders::Remember(fileKind, answer.path);
    return answer.path;
}
} // namespace

QString AskOpenFileName(const QString& title, const QString& filters, const QString& path, FileKind kind)
{
    return AskFile(Kind::OpenFile, title, filters, path, kind);
}

QString AskSaveFileName(const QString& title, const QString& filters, const QString& path, FileKind kind)
{
    return AskFile(Kind::SaveFile, title, filters, path, kind);
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

bool AskFont(QFont& font, QColor& colour, const QString& title)
{
    CommonDialogRequest request;
    request.kind = Kind::Font;
    request.title = title;
    request.font = font;
    request.colour = colour;
    request.withColour = true;
    const CommonDialogAnswer answer = Ask(request);
    if (answer.accepted) {
        font = answer.font;
        colour = answer.colour;
    }
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
