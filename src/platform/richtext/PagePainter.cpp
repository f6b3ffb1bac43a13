#include "platform/richtext/PagePainter.h"

#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/ParagraphFrames.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTextDocument>
#include <QTextFrame>

namespace jornix {
namespace {

// A page without a size (never set) is laid out on US Letter with one-inch margins.
PageSettings usablePage(PageSettings page)
{
    if (page.width <= 0 || page.height <= 0)
        page = {12240, 15840, 1440, 1440, 1440, 1440};
    return page;
}

} // namespace

QImage LayoutDevice()
{
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(1440.0 / TwipsPerLayoutUnit / 0.0254));
    device.setDotsPerMeterY(qRound(1440.0 / TwipsPerLayoutUnit / 0.0254));
    return device;
}

PagePainter::PagePainter(const QTextDocument& document, const PageSettings& page)
    : page_(usablePage(page)), layoutDevice_(LayoutDevice()), layout_(document.clone()),
      headersFooters_(std::make_unique<HeaderFooterLayout>(document, page_))
{
    // The copy holds the pictures the document shows, also those it read from files.
    CopyImages(document, *layout_);
    // Laid out at 96 dots per inch whatever the screen, so that a page breaks its lines alike everywhere.
    layout_->documentLayout()->setPaintDevice(&layoutDevice_);
    // The copy's text runs from the corner of the text area: no margins of its own (the editor's page view
    // gives the document's frame the page margins).
    QTextFrameFormat root = layout_->rootFrame()->frameFormat();
    root.setMargin(0);
    layout_->rootFrame()->setFrameFormat(root);
    layout_->setPageSize(textSize());
}

PagePainter::~PagePainter() = default;

QSizeF PagePainter::textSize() const
{
    const PageSettings& text = headersFooters_->TextPage();
    const double width = double(text.width - text.marginLeft - text.marginRight) / TwipsPerLayoutUnit;
    const double height = double(text.height - text.marginTop - text.marginBottom) / TwipsPerLayoutUnit;
    return {qMax(1.0, width), qMax(1.0, height)};
}

int PagePainter::PageCount() const
{
    return qMax(1, layout_->pageCount());
}

QSizeF PagePainter::PageSizePoints() const
{
    return {page_.width / 20.0, page_.height / 20.0};
}

void PagePainter::PaintPage(QPainter& painter, int index, const QRectF& target) const
{
    const QSizeF text = textSize();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() * TwipsPerLayoutUnit / page_.width,
                  target.height() * TwipsPerLayoutUnit / page_.height);
    headersFooters_->Paint(painter, index);
    const PageSettings& textPage = headersFooters_->TextPage();
    painter.translate(double(textPage.marginLeft) / TwipsPerLayoutUnit,
                      double(textPage.marginTop) / TwipsPerLayoutUnit);
    painter.setClipRect(QRectF(QPointF(0, 0), text), Qt::IntersectClip);
    painter.translate(0, -index * text.height());
    QAbstractTextDocumentLayout::PaintContext context;
    // Lines that only touch the page's edges belong to the page next to it: the layout draws whatever meets
    // the clip, and text drawn outside the page would still be text of this page in a PDF.
    context.clip = QRectF(0, index * text.height() + 0.5, text.width(), text.height() - 1);
    context.palette.setColor(QPalette::Text, Qt::black);
    layout_->documentLayout()->draw(&painter, context);
    PaintParagraphFrames(painter, *layout_, 1.0, context.clip);
    painter.restore();
}

QByteArray WritePdf(const QTextDocument& document, const PageSettings& page)
{
    const PagePainter pages(document, page);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Jornix"));
        writer.setPageSize(
            QPageSize(pages.PageSizePoints(), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        const QRectF target(0, 0, writer.width(), writer.height());
        for (int index = 0; index < pages.PageCount(); ++index) {
            if (index > 0)
                writer.newPage();
            pages.PaintPage(painter, index, target);
        }
    }
    return pdf;
}

bool WritePagePicture(QIODevice& device, const PagePainter& pages, int index, const QRect& area)
{
    // The picture records the page painter's commands in twips: text stays text with its font, so that a
    // PDF that replays the picture holds the words and embeds the fonts once, and a picture is one command
    // with its pixels rather than a copy inside every drawing that shows it.
    QPicture picture;
    // Given before the painting, the rectangle is the one the file's header carries.
    picture.setBoundingRect(QRect(QPoint(0, 0), area.size()));
    QPainter painter;
    if (!painter.begin(&picture))
        return false;
    const PageSettings& page = pages.Page();
    pages.PaintPage(painter, index, QRectF(-area.x(), -area.y(), page.width, page.height));
    if (!painter.end())
        return false;
    return picture.save(&device);
}

} // namespace jornix
