#include "platform/reportengine/ExportPages.h"

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/RowSpool.h"

#include <QBuffer>
#include <QPainter>
#include <QSet>

namespace jornix {

bool ForEachPage(const ExportSource& source, const std::function<bool(const Page& page, int n)>& each,
                 QString& error)
{
    int n = 0;
    for (const int index : source.pages) {
        Page page;
        if (!source.spool.Read(index, page)) {
            error = QStringLiteral("page %1 cannot be read back from the page file").arg(index + 1);
            return false;
        }
        if (!each(page, ++n))
            return false;
        if (source.progress && !source.progress(n))
            return false;
    }
    return true;
}

bool ForEachRow(const ExportSource& source, const std::function<bool(const ExportRow& row, int n)>& each,
                QString& error)
{
    QSet<int> pages;
    for (const int index : source.pages)
        pages.insert(index + 1);
    const int rows = std::max(source.rows->RowCount(), 1);
    int n = 0;
    bool going = true;
    const bool read = source.rows->ForEach([&](const ExportRow& row) {
        if (!pages.contains(row.page))
            return true;
        ++n;
        going = each(row, n) &&
                (!source.progress || source.progress(int(qint64(n) * source.pages.size() / rows)));
        return going;
    });
    if (!read)
        error = QStringLiteral("the records cannot be read back from the row file");
    return read && going;
}

std::vector<PagePrimitive> ResolvedPrimitives(const Page& page, int lastPage)
{
    std::vector<PagePrimitive> primitives;
    primitives.reserve(page.primitives.size());
    for (const PagePrimitive& primitive : page.primitives) {
        if (primitive.kind != PrimitiveKind::LateText) {
            primitives.push_back(primitive);
            continue;
        }
        for (PagePrimitive& run : LateTextRuns(primitive, page.number, lastPage))
            primitives.push_back(std::move(run));
    }
    return primitives;
}

namespace {

QImage WhiteImage(QSize size, double dpi)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB888);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

} // namespace

QImage PrimitiveImage(const PagePrimitive& primitive, double dpi)
{
    const double scale = dpi / 25.4;
    QImage image = WhiteImage(
        QSize(qCeil(primitive.frame.width() * scale), qCeil(primitive.frame.height() * scale)), dpi);
    Page alone;
    PagePrimitive moved = primitive;
    moved.frame.moveTopLeft(QPointF(0, 0));
    alone.primitives.push_back(std::move(moved));
    QPainter painter(&image);
    PaintPage(painter, alone, 1);
    return image;
}

QImage PageImage(const Page& page, int lastPage, double dpi)
{
    const double scale = dpi / 25.4;
    QImage image =
        WhiteImage(QSize(qRound(page.paper.width() * scale), qRound(page.paper.height() * scale)), dpi);
    QPainter painter(&image);
    PaintPage(painter, page, lastPage);
    return image;
}

QByteArray ExportPngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString MarkupText(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '\'':
            escaped += QLatin1String("&#39;");
            break;
        default:
            if ((c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t') &&
                 c != QLatin1Char('\r')) ||
                c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
                escaped += QChar(0xFFFD);
            else
                escaped += c;
        }
    }
    return escaped;
}

QString CssColour(const QColor& colour)
{
    return colour.name(QColor::HexRgb);
}

} // namespace jornix
