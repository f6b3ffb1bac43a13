#include "platform/richtext/HeadersFooters.h"

#include "platform/richtext/DocumentImages.h"
#include "platform/richtext/PagePainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>

#include <cmath>

namespace jornix {
namespace {

// A part runs from the corner of its place: no margins of its own.
void withoutMargins(QTextDocument& part)
{
    QTextFrameFormat root = part.rootFrame()->frameFormat();
    root.setMargin(0);
    part.rootFrame()->setFrameFormat(root);
}

// The gap kept between a header or footer taller than its half of the margin and the text, in twips.
constexpr int TextGap = 120;
// How far a header stands from the top edge and a footer from the bottom edge, in twips: half the margin, at
// most half an inch.
int edgeDistance(int margin)
{
    return qBound(0, margin / 2, 720);
}

} // namespace

HeadersFooters::HeadersFooters(QTextDocument& document) : QObject(&document), document_(document)
{
    setObjectName(QStringLiteral("HeadersFooters"));
}

HeadersFooters* HeadersFooters::Find(const QTextDocument& document)
{
    return document.findChild<HeadersFooters*>(QStringLiteral("HeadersFooters"), Qt::FindDirectChildrenOnly);
}

HeadersFooters& HeadersFooters::Ensure(QTextDocument& document)
{
    if (HeadersFooters* found = Find(document))
        return *found;
    return *new HeadersFooters(document);
}

void HeadersFooters::Remove(QTextDocument& document)
{
    if (HeadersFooters* found = Find(document))
        for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
            found->SwitchOff(kind);
}

void HeadersFooters::Copy(const QTextDocument& from, QTextDocument& to)
{
    Remove(to);
    const HeadersFooters* source = Find(from);
    if (!source)
        return;
    HeadersFooters& target = Ensure(to);
    for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind)
        if (const QTextDocument* part = source->Part(kind)) {
            QTextDocument& copy = target.SwitchOn(kind);
            CopyImages(*part, copy);
            QTextCursor(&copy).insertFragment(QTextDocumentFragment(part));
        }
}

QTextDocument* HeadersFooters::Part(int kind) const
{
    return HeaderFooter::IsKind(kind) ? parts_[kind - 1] : nullptr;
}

QTextDocument& HeadersFooters::SwitchOn(int kind)
{
    Q_ASSERT(HeaderFooter::IsKind(kind));
    QTextDocument*& part = parts_[kind - 1];
    if (!part) {
        part = new QTextDocument(this);
        part->setDefaultFont(document_.defaultFont());
        part->setDocumentMargin(0);
        withoutMargins(*part);
        connect(part, &QTextDocument::contentsChanged, this, &HeadersFooters::Changed);
        emit Changed();
    }
    return *part;
}

void HeadersFooters::SwitchOff(int kind)
{
    if (!HeaderFooter::IsKind(kind) || !parts_[kind - 1])
        return;
    emit Removing(kind);
    delete std::exchange(parts_[kind - 1], nullptr);
    emit Changed();
}

bool HeadersFooters::AnyOn() const
{
    return std::any_of(parts_.begin(), parts_.end(), [](QTextDocument* part) { return part != nullptr; });
}

HeaderFooterLayout::HeaderFooterLayout(const QTextDocument& document, const PageSettings& page)
    : page_(page), textPage_(page), layoutDevice_(LayoutDevice())
{
    const HeadersFooters* headers = HeadersFooters::Find(document);
    if (!headers || !headers->AnyOn())
        return;
    const double width =
        qMax(1.0, double(page.width - page.marginLeft - page.marginRight) / TwipsPerLayoutUnit);
    const double left = double(page.marginLeft) / TwipsPerLayoutUnit;
    const double top = double(edgeDistance(page.marginTop)) / TwipsPerLayoutUnit;
    const double bottom = double(page.height - edgeDistance(page.marginBottom)) / TwipsPerLayoutUnit;
    double headerHeight = 0, footerHeight = 0;
    for (int kind = HeaderFooter::FirstHeader; kind <= HeaderFooter::Footer; ++kind) {
        const QTextDocument* part = headers->Part(kind);
        if (!part)
            continue;
        auto& copy = parts_[kind - 1];
        copy.reset(part->clone());
        CopyImages(*part, *copy);
        copy->documentLayout()->setPaintDevice(&layoutDevice_);
        withoutMargins(*copy);
        copy->setTextWidth(width);
        const double height = copy->size().height();
        if (HeaderFooter::IsHeader(kind)) {
            areas_[kind - 1] = QRectF(left, top, width, height);
            headerHeight = qMax(headerHeight, height);
        } else {
            areas_[kind - 1] = QRectF(left, bottom - height, width, height);
            footerHeight = qMax(footerHeight, height);
        }
    }
    const auto room = [](int margin, double height) {
        return height > 0 ? edgeDistance(margin) + int(std::ceil(height * TwipsPerLayoutUnit)) + TextGap : 0;
    };
    textPage_.marginTop = qMax(page.marginTop, room(page.marginTop, headerHeight));
    textPage_.marginBottom = qMax(page.marginBottom, room(page.marginBottom, footerHeight));
}

HeaderFooterLayout::~HeaderFooterLayout() = default;

int HeaderFooterLayout::HeaderOf(int index) const
{
    if (index == 0 && parts_[HeaderFooter::FirstHeader - 1])
        return HeaderFooter::FirstHeader;
    return parts_[HeaderFooter::Header - 1] ? HeaderFooter::Header : HeaderFooter::None;
}

int HeaderFooterLayout::FooterOf(int index) const
{
    if (index == 0 && parts_[HeaderFooter::FirstFooter - 1])
        return HeaderFooter::FirstFooter;
    return parts_[HeaderFooter::Footer - 1] ? HeaderFooter::Footer : HeaderFooter::None;
}

int HeaderFooterLayout::FirstPageOf(int kind, int pageCount) const
{
    for (int index = 0; index < qMin(pageCount, 2); ++index)
        if (HeaderOf(index) == kind || FooterOf(index) == kind)
            return index;
    return -1;
}

QRectF HeaderFooterLayout::Area(int kind) const
{
    return HeaderFooter::IsKind(kind) ? areas_[kind - 1] : QRectF();
}

void HeaderFooterLayout::Paint(QPainter& painter, int index, int leftOut) const
{
    for (const int kind : {HeaderOf(index), FooterOf(index)}) {
        if (kind == HeaderFooter::None || kind == leftOut)
            continue;
        painter.save();
        painter.translate(areas_[kind - 1].topLeft());
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, Qt::black);
        parts_[kind - 1]->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

} // namespace jornix
