#include "platform/reportengine/PdfOutput.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    bool written = false;
    {
        // The writer compresses each finished page through two buffers of 10 MiB that it makes and frees
        // again for every page; kept in the heap instead of going back to the system each time, a page
        // costs its drawing and no longer the system's mapping and clearing of 20 MiB.
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
        QPdfWriter writer(&file);
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
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace jornix
