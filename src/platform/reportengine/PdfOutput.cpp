#include "platform/reportengine/PdfOutput.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/runtime/SafeFileWriter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <malloc.h>

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
        // The writer compresses each finished page through two buffers of 10 MiB that it makes and frees
        // again for every page; kept in the heap instead of going back to the system each time, a page
        // costs its drawing and no longer the system's mapping and clearing of 20 MiB.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
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
