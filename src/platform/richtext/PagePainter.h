#pragma once

#include "platform/richtext/PageSettings.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>

#include <memory>

class QIODevice;
class QPainter;
class QRect;
class QTextDocument;

namespace jornix {

class HeaderFooterLayout;

// A device of 1 by 1 pixel at the layout's 96 dots per inch: a document laid out on it breaks its lines alike
// on every screen and printer.
QImage LayoutDevice();

// A document laid out on its page and drawn one page at a time: for PDF, printing, page pictures and the
// page view. It lays out a copy, so the document may change or go away afterwards. The text runs in the
// page's text area (the page less its margins and the room of its headers and footers, HeadersFooters.h); a
// paragraph that asks for a page break starts a new page. Each page shows its header and footer.
class PagePainter
{
public:
    PagePainter(const QTextDocument& document, const PageSettings& page);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    // At least 1.
    int PageCount() const;
    const PageSettings& Page() const { return page_; }
    // The page in points (1/72 inch), margins included.
    QSizeF PageSizePoints() const;
    // Draws page number index (from 0) so that the whole page, margins included, fills target (in the
    // painter's coordinates). The painter's state is as it was afterwards.
    void PaintPage(QPainter& painter, int index, const QRectF& target) const;

private:
    QSizeF textSize() const; // in layout units

    PageSettings page_;
    QImage layoutDevice_; // fixes the layout's resolution; declared before the layout, which uses it
    std::unique_ptr<QTextDocument> layout_;
    std::unique_ptr<HeaderFooterLayout> headersFooters_;
};

// The document as a PDF with one PDF page per page, the text as text.
QByteArray WritePdf(const QTextDocument& document, const PageSettings& page);

// Page number index (from 0) as a picture of the area of the page given in twips (the page's top left corner
// is 0, 0): a QPicture of the page's drawing commands in twips, its bounding rectangle the area from 0, 0.
// False when the device cannot be written.
bool WritePagePicture(QIODevice& device, const PagePainter& pages, int index, const QRect& area);

} // namespace jornix
