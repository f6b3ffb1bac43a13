#pragma once

#include "platform/richtext/PageSettings.h"

#include <QImage>
#include <QObject>
#include <QRectF>

#include <array>
#include <memory>

class QPainter;
class QTextDocument;

// The headers and footers of a document's pages. There are four: the first header and the first footer of
// page 1, and the header and footer of the other pages, which page 1 also shows while it has no first one of
// its own. Each is a rich text of its own, switched on or off; they belong to the document they head (a
// child object of it), so that whatever holds the document (saving, printing, page pictures) has them too.
namespace jornix {

namespace HeaderFooter {
enum : int
{
    None = 0, // the text of the pages
    FirstHeader = 1,
    Header = 2,
    FirstFooter = 3,
    Footer = 4
};
constexpr bool IsKind(int kind)
{
    return kind >= FirstHeader && kind <= Footer;
}
constexpr bool IsHeader(int kind)
{
    return kind == FirstHeader || kind == Header;
}
} // namespace HeaderFooter

class HeadersFooters : public QObject
{
    Q_OBJECT

public:
    // The document's headers and footers, nullptr while it never had one.
    static HeadersFooters* Find(const QTextDocument& document);
    // Made on first use.
    static HeadersFooters& Ensure(QTextDocument& document);
    // Switches all four off.
    static void Remove(QTextDocument& document);
    // The four of from as copies in to, in place of those it had.
    static void Copy(const QTextDocument& from, QTextDocument& to);

    // The text of the part, nullptr while it is off.
    QTextDocument* Part(int kind) const;
    // An empty part in the document's default font when it was off; the part as it is when it was on.
    QTextDocument& SwitchOn(int kind);
    // Deletes the part, after Removing.
    void SwitchOff(int kind);
    bool AnyOn() const;

signals:
    // A part was switched on or off, or its text changed.
    void Changed();
    // The part is about to go: whatever shows it lets go of it.
    void Removing(int kind);

private:
    explicit HeadersFooters(QTextDocument& document);

    QTextDocument& document_;
    std::array<QTextDocument*, 4> parts_{}; // children of this object, by kind - 1
};

// The headers and footers of a document laid out on a page at 96 dots per inch, as the page painter lays out
// the text (layout units of 1/96 inch): where each one sits, how far the text of the pages keeps from the
// top and bottom edges so that none of them covers it, and their drawing. Headers hang from the upper half
// of the top margin (at most half an inch below the edge), footers stand on the lower half of the bottom
// margin; one taller than its half pushes the text of every page away by the same amount, so that every page
// keeps the same height of text. It lays out copies: the document may change or go away afterwards.
class HeaderFooterLayout
{
public:
    HeaderFooterLayout(const QTextDocument& document, const PageSettings& page);
    ~HeaderFooterLayout();
    HeaderFooterLayout(const HeaderFooterLayout&) = delete;
    HeaderFooterLayout& operator=(const HeaderFooterLayout&) = delete;

    const PageSettings& Page() const { return page_; }
    // The page's margins with the room the headers and footers take: the text area of every page.
    const PageSettings& TextPage() const { return textPage_; }
    // The header and footer that page index (from 0) shows, HeaderFooter::None for none.
    int HeaderOf(int index) const;
    int FooterOf(int index) const;
    // The first page (from 0) that shows the part, -1 when no page of the count does.
    int FirstPageOf(int kind, int pageCount) const;
    // The part's place on its page, in layout units from the page's top left corner; its height is the
    // part's text height, at least the line it starts with.
    QRectF Area(int kind) const;
    // Draws the header and footer of page index, in black like the page's text; the painter's coordinates
    // are those of the page in layout units; all but the part left out. The painter's state is as it was
    // afterwards.
    void Paint(QPainter& painter, int index, int leftOut = HeaderFooter::None) const;

private:
    PageSettings page_;
    PageSettings textPage_;
    QImage layoutDevice_; // fixes the resolution of the copies; declared before them
    std::array<std::unique_ptr<QTextDocument>, 4> parts_;
    std::array<QRectF, 4> areas_;
};

} // namespace jornix
