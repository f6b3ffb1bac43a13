#include "platform/runtime/SafeFileWriter.h"
#include "platform/reportengine/LayoutSketch.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/Pager.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportJob.h"

#include <QImage>
#include <QPainter>

namespace jornix {

namespace {

// Enough sample lines to fill a page; the pager stops earlier when the page is full.
constexpr int MaxSampleLines = 500;

} // namespace

bool WriteLayoutSketch(const ReportJob& job, const ReportLayout& layout, const QString& layoutFolder,
                       const QString& path, QString& error)
{
    PageSpool spool;
    if (!spool.IsOpen()) {
        error = spool.Error();
        return false;
    }
    {
        // The first page, filled with the sample record: the lines of a list, every cell of a label sheet.
        Pager pager(job, layout, layoutFolder, spool);
        switch (layout.projectType) {
        case ProjectType::List:
            for (int line = 0; line < MaxSampleLines && pager.PrintFields() == ReportResult::Ok; ++line) {
            }
            break;
        case ProjectType::Card:
            pager.Print();
            break;
        case ProjectType::Label:
            for (int cell = 0; cell < std::max(layout.labels.rows, 1) * std::max(layout.labels.columns, 1); ++cell)
                pager.Print();
            break;
        }
        if (!pager.Finish()) {
            error = pager.Error();
            return false;
        }
    }
    Page page;
    if (!spool.Read(0, page)) {
        error = QStringLiteral("the sketch's page cannot be read back");
        return false;
    }
    QImage image(qRound(page.paper.width() * SketchDpi / 25.4), qRound(page.paper.height() * SketchDpi / 25.4),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(SketchDpi / 0.0254));
    image.setDotsPerMeterY(qRound(SketchDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, page, 1);
    painter.end();

    SafeFileWriter file(path);
    if (!file.Open() || !image.save(&file.Device(), "BMP") || !file.Commit()) {
        error = QStringLiteral("the sketch \"%1\" cannot be written: %2").arg(path, file.Error());
        return false;
    }
    return true;
}

} // namespace jornix
