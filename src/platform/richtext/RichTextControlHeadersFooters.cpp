// The headers and footers of the rich-text control: switching them on and off, their texts, their drawing in
// page view and the editor that takes the caret into one.
#include "platform/richtext/HeaderFooterEditor.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/RichTextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace jornix {

bool RichTextControl::paged() const
{
    return viewMode_ == ViewMode::Page && page_.width > 0 && page_.height > 0;
}

const HeaderFooterLayout& RichTextControl::headerFooterLayout() const
{
    if (!headerFooterLayout_ || !(headerFooterLayout_->Page() == page_))
        headerFooterLayout_ = std::make_unique<HeaderFooterLayout>(*document(), page_);
    return *headerFooterLayout_;
}

bool RichTextControl::HeaderFooterOn(int kind) const
{
    return HeadersFooters::Ensure(*document()).Part(kind) != nullptr;
}

void RichTextControl::SetHeaderFooterOn(int kind, bool on)
{
    if (!HeaderFooter::IsKind(kind))
        return;
    HeadersFooters& headers = HeadersFooters::Ensure(*document());
    if (on)
        headers.SwitchOn(kind);
    else
        headers.SwitchOff(kind);
}

QString RichTextControl::HeaderFooterText(int kind) const
{
    const QTextDocument* part = HeadersFooters::Ensure(*document()).Part(kind);
    return part ? part->toPlainText() : QString();
}

void RichTextControl::SetHeaderFooterText(int kind, const QString& text)
{
    QTextDocument* part = HeadersFooters::Ensure(*document()).Part(kind);
    if (!part)
        return;
    QTextCursor cursor(part);
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

int RichTextControl::HeaderFooterActivate(int kind)
{
    if (kind == HeaderFooter::None) {
        const bool wasActive = activeHeaderFooter_ != HeaderFooter::None;
        closeHeaderFooterEditor();
        if (wasActive)
            setFocus();
        return 1;
    }
    QTextDocument* part = HeadersFooters::Ensure(*document()).Part(kind);
    if (!part || !paged() || headerFooterLayout().FirstPageOf(kind, document()->pageCount()) < 0)
        return 0;
    closeHeaderFooterEditor();
    auto* editor = new HeaderFooterEditor(viewport());
    editor->setDocument(part);
    editor->setReadOnly(editMode_ != 0);
    headerFooterEditor_ = editor;
    activeHeaderFooter_ = kind;
    connect(editor, &HeaderFooterEditor::Left, this, [this] { HeaderFooterActivate(HeaderFooter::None); });
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &RichTextControl::placeHeaderFooterEditor,
                Qt::UniqueConnection);
    placeHeaderFooterEditor();
    QTextCursor end(part);
    end.movePosition(QTextCursor::End);
    editor->setTextCursor(end);
    editor->show();
    editor->setFocus();
    viewport()->update();
    return 1;
}

HeaderFooterEditor* RichTextControl::ActiveHeaderFooterEditor() const
{
    return headerFooterEditor_;
}

void RichTextControl::closeHeaderFooterEditor()
{
    if (HeaderFooterEditor* editor = headerFooterEditor_) {
        // The part stays with the document; the editor, which may be the one asking, goes when it can.
        if (QTextDocument* part = HeadersFooters::Ensure(*document()).Part(activeHeaderFooter_))
            part->documentLayout()->setPaintDevice(nullptr);
        editor->disconnect(this);
        editor->setDocument(nullptr);
        editor->hide();
        editor->deleteLater();
        viewport()->update();
    }
    headerFooterEditor_ = nullptr;
    activeHeaderFooter_ = HeaderFooter::None;
}

void RichTextControl::placeHeaderFooterEditor()
{
    HeaderFooterEditor* editor = headerFooterEditor_;
    if (!editor)
        return;
    const int index =
        paged() ? headerFooterLayout().FirstPageOf(activeHeaderFooter_, document()->pageCount()) : -1;
    if (index < 0) { // the view or the pages no longer show it
        HeaderFooterActivate(HeaderFooter::None);
        return;
    }
    // The part is laid out as the pages are, at the zoom of the view.
    QAbstractTextDocumentLayout* layout = editor->document()->documentLayout();
    if (layout->paintDevice() != document()->documentLayout()->paintDevice())
        layout->setPaintDevice(document()->documentLayout()->paintDevice());
    // A layout unit of the page is scale pixels of the view, as the pages are drawn.
    const QSizeF page = document()->pageSize();
    const qreal scale = page.width() * TwipsPerLayoutUnit / page_.width;
    const QRectF area = headerFooterLayout().Area(activeHeaderFooter_);
    const QPointF origin(-horizontalScrollBar()->value(),
                         -verticalScrollBar()->value() + index * page.height());
    const int width = qMax(1, int(std::ceil(area.width() * scale)));
    editor->setLineWrapColumnOrWidth(width);
    editor->setGeometry(
        QRectF(origin + area.topLeft() * scale, QSizeF(width, area.height() * scale + 2)).toAlignedRect());
}

void RichTextControl::headerFooterRemoving(int kind)
{
    if (kind == activeHeaderFooter_)
        closeHeaderFooterEditor();
}

void RichTextControl::headersFootersChanged()
{
    headerFooterLayout_.reset();
    if (paged())
        applyPageLayout();
    placeHeaderFooterEditor();
    viewport()->update();
    if (!loading_)
        emit Changed();
}

void RichTextControl::paintHeadersFooters(QPainter& painter, QPointF origin, int index)
{
    if (!paged())
        return;
    const HeaderFooterLayout& layout = headerFooterLayout();
    const qreal scale = document()->pageSize().width() * TwipsPerLayoutUnit / page_.width;
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    const bool editing =
        headerFooterEditor_ && layout.FirstPageOf(activeHeaderFooter_, document()->pageCount()) == index;
    if (editing) {
        // The editor draws the part's text; its place is marked.
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 0, Qt::DashLine));
        painter.drawRect(layout.Area(activeHeaderFooter_).adjusted(-2, -2, 2, 2));
    }
    layout.Paint(painter, index, editing ? activeHeaderFooter_ : HeaderFooter::None);
    painter.restore();
}

} // namespace jornix
