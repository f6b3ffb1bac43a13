#include "platform/reportengine/PrinterOutput.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/PrinterSettings.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace jornix {

namespace {

QPageSize NamedPaper(const QString& name)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const QPageSize size{QPageSize::PageSizeId(id)};
        if (size.key().compare(name, Qt::CaseInsensitive) == 0 || size.name().compare(name, Qt::CaseInsensitive) == 0)
            return size;
    }
    return {};
}

} // namespace

void ConfigurePrinter(QPrinter& printer, const PrinterSettings& settings, const QSizeF& layoutPaper)
{
    const QString file = settings.Value(PrinterKey::File);
    if (!file.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    } else {
        const QString name = settings.Value(PrinterKey::Printer);
        const bool installed = !name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name);
        printer.setPrinterName(installed ? name : QPrinterInfo::defaultPrinterName());
    }
    QPageSize paper = NamedPaper(settings.Value(PrinterKey::Paper));
    if (!paper.isValid())
        paper = QPageSize(layoutPaper, QPageSize::Millimeter);
    printer.setFullPage(true);
    printer.setPageSize(paper);
    printer.setPageOrientation(settings.Value(PrinterKey::Orientation).compare(QLatin1String("Landscape"),
                                                                               Qt::CaseInsensitive) == 0
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setCopyCount(std::clamp(settings.Value(PrinterKey::Copies).toInt(), 1, 999));
}

bool PrintPages(QPrinter& printer, PageSpool& spool, const QList<int>& pages,
                const std::function<bool(int done)>& progress, QString& error)
{
    // Without a print system Qt falls back to writing PDF, which needs a file: no file and no printer name
    // means there is no printer to print on.
    if (printer.outputFileName().isEmpty() && printer.printerName().isEmpty()) {
        error = QStringLiteral("no printer is installed");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("the printer \"%1\" cannot be used").arg(printer.printerName());
        return false;
    }
    const bool printed = PaintPages(printer, painter, spool, pages, progress, error);
    if (!printed)
        printer.abort();
    painter.end();
    return printed;
}

} // namespace jornix
