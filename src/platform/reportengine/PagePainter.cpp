#include "platform/reportengine/PagePainter.h"

#include "platform/reportengine/Barcode.h"
#include "platform/reportengine/Formula.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/TextLines.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QSvgRenderer>

namespace jornix {

namespace {

QRectF Fitted(const QRectF& frame, QSizeF size, bool keepAspectRatio)
{
    if (!keepAspectRatio || size.isEmpty())
        return frame;
    size.scale(frame.size(), Qt::KeepAspectRatio);
    return QRectF(frame.topLeft(), size);
}

// The picture's commands replayed into the frame: text as text, at the device's own resolution.
void PaintRecordedPicture(QPainter& painter, const PagePrimitive& primitive, const QRectF& frame)
{
    QPicture picture;
    picture.setData(primitive.data.constData(), uint(primitive.data.size()));
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty())
        return;
    const QRectF target = Fitted(frame, bounds.size(), primitive.keepAspectRatio);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / bounds.width(), target.height() / bounds.height());
    painter.translate(-bounds.topLeft());
    // Replay scales by the device's resolution over the picture's own; the scaling above already fits it.
    painter.scale(double(picture.logicalDpiX()) / painter.device()->logicalDpiX(),
                  double(picture.logicalDpiY()) / painter.device()->logicalDpiY());
    picture.play(&painter);
    painter.restore();
}

void PaintPrimitive(QPainter& painter, const PagePrimitive& primitive, double scale, int page, int lastPage)
{
    const QRectF frame(primitive.frame.left() * scale, primitive.frame.top() * scale,
                       primitive.frame.width() * scale, primitive.frame.height() * scale);
    switch (primitive.kind) {
    case PrimitiveKind::TextRun:
        painter.setFont(FontOf(primitive.style));
        painter.setPen(primitive.style.colour);
        painter.drawText(QPointF(frame.left(), (primitive.frame.top() + Ascent(primitive.style)) * scale),
                         primitive.text);
        break;
    case PrimitiveKind::LateText:
        for (const PagePrimitive& run : LateTextRuns(primitive, page, lastPage))
            PaintPrimitive(painter, run, scale, page, lastPage);
        break;
    case PrimitiveKind::Line:
        painter.setPen(QPen(primitive.pen, std::max(primitive.penWidth * scale, 1.0)));
        painter.drawLine(frame.topLeft(), frame.bottomRight());
        break;
    case PrimitiveKind::Rectangle:
        painter.setPen(primitive.penWidth > 0 ? QPen(primitive.pen, std::max(primitive.penWidth * scale, 1.0))
                                              : QPen(Qt::NoPen));
        painter.setBrush(primitive.fill.isValid() ? QBrush(primitive.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(frame);
        painter.setBrush(Qt::NoBrush);
        break;
    case PrimitiveKind::Image: {
        QImage image;
        if (image.loadFromData(primitive.data))
            painter.drawImage(Fitted(frame, image.size(), primitive.keepAspectRatio), image);
        break;
    }
    case PrimitiveKind::Drawing: {
        if (IsRecordedPicture(primitive.data)) {
            PaintRecordedPicture(painter, primitive, frame);
            break;
        }
        QSvgRenderer drawing(primitive.data);
        if (drawing.isValid())
            drawing.render(&painter, Fitted(frame, drawing.defaultSize(), primitive.keepAspectRatio));
        break;
    }
    case PrimitiveKind::Barcode:
        if (!DrawBarcode(painter, frame, primitive.text, primitive.symbology, primitive.showText,
                         primitive.style.colour)) {
            // A value the symbology refuses: the empty frame shows where the barcode belongs.
            painter.setPen(QPen(primitive.style.colour, std::max(0.25 * scale, 1.0)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(frame);
        }
        break;
    }
}

} // namespace

std::vector<PagePrimitive> LateTextRuns(const PagePrimitive& late, int page, int lastPage)
{
    FormulaContext context;
    context.items = [&late](const QString& name) -> std::optional<FormulaItem> {
        for (qsizetype at = 0; at < late.itemNames.size(); ++at)
            if (late.itemNames.at(at).compare(name, Qt::CaseInsensitive) == 0)
                return FormulaItem{late.itemValues.value(at), late.itemTypes.value(at)};
        return std::nullopt;
    };
    context.page = page;
    context.lastPage = lastPage;
    QStringList texts;
    for (const QString& formula : late.formulas)
        texts << Formula(formula).EvaluateForPrinting(context);
    const QStringList lines = BreakLines(texts.join(QLatin1Char('\n')), late.style, late.frame.width(), late.wrap);
    qsizetype count = lines.size();
    if (late.frame.height() > 0)
        count = std::max<qsizetype>(1, qsizetype(late.frame.height() / LineHeight(late.style)));
    std::vector<PagePrimitive> runs;
    AddTextRuns(runs, lines, 0, count, late.style, late.frame.left(), late.frame.top(), late.frame.width());
    return runs;
}

void PaintPage(QPainter& painter, const Page& page, int lastPage)
{
    const double scale = painter.device()->logicalDpiX() / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PagePrimitive& primitive : page.primitives)
        PaintPrimitive(painter, primitive, scale, page.number, lastPage);
    painter.restore();
}

bool PaintPages(QPagedPaintDevice& device, QPainter& painter, PageSpool& spool, const QList<int>& pages,
                const std::function<bool(int done)>& progress, QString& error)
{
    const int lastPage = spool.PageCount();
    int done = 0;
    for (const int index : pages) {
        Page page;
        if (!spool.Read(index, page)) {
            error = QStringLiteral("page %1 cannot be read back from the page file").arg(index + 1);
            return false;
        }
        if (done > 0 && !device.newPage()) {
            error = QStringLiteral("the output takes no further page");
            return false;
        }
        PaintPage(painter, page, lastPage);
        ++done;
        if (progress && !progress(done))
            return false;
    }
    return true;
}

} // namespace jornix
