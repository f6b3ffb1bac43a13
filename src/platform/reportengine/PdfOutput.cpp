#include "platform/reportengine/PdfOutput.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/runtime/SafeFileWriter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace jornix {

bool WritePdf(PageSpool& spool, const QList<int>& pages, const QString& path, const QString& title,
              const std::function<bool(int done)>& progress, QString& error)
{
    Page first;
    if (pages.isEmpty() || !spool.Read(pages.first(), first)) {
        error = QStringLiteral("there are no pages to write");
        return false;
    }
    SafeFileWriter file(path);
    if (!file.Open()) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    bool written = false;
    {
        QPdfWriter writer(&file.Device());
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Jornix"));
        writer.setPageSize(QPageSize(first.paper, QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = QStringLiteral("\"%1\" cannot be written").arg(path);
        } else {
            written = PaintPages(writer, painter, spool, pages, progress, error);
            painter.end();
        }
    }
    if (!written) {
        file.Cancel();
        return false;
    }
    if (!file.Commit()) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    return true;
}

} // namespace jornix
