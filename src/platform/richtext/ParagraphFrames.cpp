#include "platform/richtext/ParagraphFrames.h"

#include "platform/richtext/PageSettings.h"
#include "platform/richtext/RecordPayload.h"

#include <QAbstractTextDocumentLayout>
#include <QDataStream>
#include <QIODevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace jornix {
namespace {

struct Frame
{
    int style = 0;
    int distance = DefaultFrameDistance;
    int lineWidth = DefaultFrameLineWidth;
    bool operator==(const Frame&) const = default;
};

Frame frameOf(const QTextBlockFormat& format)
{
    Frame frame;
    if (format.hasProperty(FrameProperty::Style))
        frame.style = format.intProperty(FrameProperty::Style);
    if (format.hasProperty(FrameProperty::Distance))
        frame.distance = format.intProperty(FrameProperty::Distance);
    if (format.hasProperty(FrameProperty::LineWidth))
        frame.lineWidth = format.intProperty(FrameProperty::LineWidth);
    return frame;
}

bool isFramed(const Frame& frame)
{
    return (frame.style & FrameStyle::Sides) != 0;
}

// How far the lines reach out from the text distance: one line, or two with a line's width between them.
int thickness(const Frame& frame)
{
    return frame.style & FrameStyle::DoubleLines ? 3 * frame.lineWidth : frame.lineWidth;
}

// The blocks the selection touches, the caret's block without one.
QList<QTextBlock> selectedBlocks(const QTextCursor& selection)
{
    QList<QTextBlock> blocks;
    const QTextDocument* document = selection.document();
    QTextBlock block = document->findBlock(selection.selectionStart());
    const QTextBlock last = document->findBlock(selection.selectionEnd());
    for (; block.isValid(); block = block.next()) {
        blocks.append(block);
        if (block == last)
            break;
    }
    return blocks;
}

// The lines of the block in the document's coordinates, across the paragraph's width between its indents.
QRectF textArea(const QAbstractTextDocumentLayout& layout, const QTextBlock& block)
{
    const QTextLayout* lines = block.layout();
    if (!lines || lines->lineCount() == 0)
        return {};
    return lines->boundingRect().translated(layout.blockBoundingRect(block).topLeft());
}

struct Run
{
    Frame frame;
    QRectF text;
    qreal tabOrigin; // the first block's left text edge, from which its tab stops count
    QList<QTextOption::Tab> tabs;
    QTextBlock last;
};

void paintRun(QPainter& painter, const Run& run, qreal scale, const QRectF& area)
{
    const Frame& frame = run.frame;
    const qreal unit = scale / TwipsPerLayoutUnit; // per twip
    // A line is never thinner than a dot of the device, so that a thin one still shows on the screen.
    const qreal dot = 1.0 / qMax<qreal>(1e-6, qAbs(painter.deviceTransform().m11()));
    const qreal width = qMax<qreal>(frame.lineWidth * unit, dot);
    const qreal distance = qMax(0, frame.distance) * unit;
    const bool left = frame.style & FrameStyle::Left, right = frame.style & FrameStyle::Right;
    const bool top = frame.style & FrameStyle::Top, bottom = frame.style & FrameStyle::Bottom;
    const QRectF box = run.text.adjusted(left ? -distance : 0, top ? -distance : 0, right ? distance : 0,
                                         bottom ? distance : 0);
    const qreal outermost = 3 * width;
    if (!area.isNull() && !area.intersects(box.adjusted(-outermost, -outermost, outermost, outermost)))
        return;
    const int lineCount = frame.style & FrameStyle::DoubleLines ? 2 : 1;
    for (int line = 0; line < lineCount; ++line) {
        const qreal off = line * 2 * width; // the outer of two lines stands a line's width off the inner
        const qreal reach = off + width;
        const qreal x0 = box.left() - (left ? reach : 0), x1 = box.right() + (right ? reach : 0);
        const qreal y0 = box.top() - (top ? reach : 0), y1 = box.bottom() + (bottom ? reach : 0);
        if (left)
            painter.fillRect(QRectF(box.left() - reach, y0, width, y1 - y0), Qt::black);
        if (right)
            painter.fillRect(QRectF(box.right() + off, y0, width, y1 - y0), Qt::black);
        if (top)
            painter.fillRect(QRectF(x0, box.top() - reach, x1 - x0, width), Qt::black);
        if (bottom)
            painter.fillRect(QRectF(x0, box.bottom() + off, x1 - x0, width), Qt::black);
    }
    if (frame.style & FrameStyle::TabLines)
        for (const QTextOption::Tab& tab : run.tabs) {
            // The text after the stop keeps the text distance from the line.
            const qreal x = run.tabOrigin + tab.position * scale - distance;
            if (x > box.left() && x < box.right())
                painter.fillRect(QRectF(x - width, box.top(), width, box.height()), Qt::black);
        }
}

} // namespace

int FrameValue(const QTextCursor& selection, int property)
{
    int value = -1;
    bool first = true;
    for (const QTextBlock& block : selectedBlocks(selection)) {
        const Frame frame = frameOf(block.blockFormat());
        const int own = property == FrameProperty::Style      ? frame.style
                        : property == FrameProperty::Distance ? frame.distance
                                                              : frame.lineWidth;
        if (first)
            value = own;
        else if (own != value)
            return -1;
        first = false;
    }
    return value;
}

void SetParagraphFrames(QTextCursor& selection, int style, int distance, int lineWidth)
{
    const QList<QTextBlock> blocks = selectedBlocks(selection);
    QTextCursor edit(selection);
    edit.beginEditBlock();
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        QTextBlockFormat format = blocks.at(i).blockFormat();
        Frame frame = frameOf(format);
        frame.style = style;
        if (distance >= 0)
            frame.distance = distance;
        if (lineWidth >= 0)
            frame.lineWidth = lineWidth;
        // A run of connected frames needs room above its first and below its last paragraph only.
        const bool connected = style & FrameStyle::ConnectedFrames;
        // Whole layout units, as the own format's HTML keeps indents and spacing.
        const int room = qRound(double(frame.distance + thickness(frame)) / TwipsPerLayoutUnit) * TwipsPerLayoutUnit;
        const int rooms[4] = {style & FrameStyle::Left ? room : 0,
                              style & FrameStyle::Top && (!connected || i == 0) ? room : 0,
                              style & FrameStyle::Right ? room : 0,
                              style & FrameStyle::Bottom && (!connected || i == blocks.size() - 1) ? room : 0};
        auto grow = [&](int side, qreal margin) {
            const int property = FrameProperty::RoomLeft + side;
            const int old = format.hasProperty(property) ? format.intProperty(property) : 0;
            format.setProperty(property, rooms[side]);
            return qMax<qreal>(0, margin + qreal(rooms[side] - old) / TwipsPerLayoutUnit);
        };
        format.setLeftMargin(grow(0, format.leftMargin()));
        format.setTopMargin(grow(1, format.topMargin()));
        format.setRightMargin(grow(2, format.rightMargin()));
        format.setBottomMargin(grow(3, format.bottomMargin()));
        if (style == 0) {
            // No frame at all: the paragraph is as one that never had one.
            for (int property = FrameProperty::Style; property <= FrameProperty::RoomBottom; ++property)
                format.clearProperty(property);
        } else {
            format.setProperty(FrameProperty::Style, frame.style);
            format.setProperty(FrameProperty::Distance, frame.distance);
            format.setProperty(FrameProperty::LineWidth, frame.lineWidth);
        }
        edit.setPosition(blocks.at(i).position());
        edit.setBlockFormat(format);
    }
    edit.endEditBlock();
}

void PaintParagraphFrames(QPainter& painter, const QTextDocument& document, qreal scale, const QRectF& area)
{
    const QAbstractTextDocumentLayout* layout = document.documentLayout();
    std::optional<Run> run;
    auto flush = [&] {
        if (run)
            paintRun(painter, *run, scale, area);
        run.reset();
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(FrameProperty::Style))
            continue;
        const Frame frame = frameOf(format);
        const QRectF text = isFramed(frame) ? textArea(*layout, block) : QRectF();
        if (text.isEmpty())
            continue;
        if (run && frame.style & FrameStyle::ConnectedFrames && run->frame == frame && run->last.next() == block) {
            run->text |= text;
            run->last = block;
            continue;
        }
        flush();
        run = Run{frame, text, text.left(), format.tabPositions(), block};
    }
    flush();
}

// The payload: the number of records, then per record the paragraph's number, its style (16 bits), text
// distance and line width and the room on its four sides (16 bits each, twips); all little-endian.
QByteArray ParagraphFramesPayload(const QTextDocument& document, const QList<int>& storedNumbers)
{
    QList<QTextBlock> framed;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().hasProperty(FrameProperty::Style))
            framed.append(block);
    if (framed.isEmpty())
        return {};
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(framed.size());
    for (const QTextBlock& block : framed) {
        const QTextBlockFormat format = block.blockFormat();
        const Frame frame = frameOf(format);
        const int number = block.blockNumber();
        const int stored = storedNumbers.value(number, -1);
        out << quint32(stored >= 0 ? stored : number) << quint16(frame.style) << qint16(frame.distance)
            << qint16(frame.lineWidth);
        for (int side = 0; side < 4; ++side)
            out << qint16(format.intProperty(FrameProperty::RoomLeft + side));
    }
    return payload;
}

bool ApplyParagraphFramesPayload(QByteArrayView payload, QTextDocument& document)
{
    const QByteArray bytes = payload.toByteArray();
    QDataStream in(bytes);
    const std::optional<quint32> count = ReadRecordCount(in, bytes, 4 + 2 + 2 + 2 + 8);
    if (!count)
        return false;
    QList<std::pair<QTextBlock, QTextBlockFormat>> changes;
    for (quint32 record = 0; record < *count; ++record) {
        quint32 number = 0;
        quint16 style = 0;
        qint16 distance = 0, lineWidth = 0;
        in >> number >> style >> distance >> lineWidth;
        const QTextBlock block = document.findBlockByNumber(int(qMin<quint32>(number, INT_MAX)));
        if (!block.isValid())
            return false;
        QTextBlockFormat format;
        format.setProperty(FrameProperty::Style, int(style));
        format.setProperty(FrameProperty::Distance, int(distance));
        format.setProperty(FrameProperty::LineWidth, int(lineWidth));
        for (int side = 0; side < 4; ++side) {
            qint16 room = 0;
            in >> room;
            format.setProperty(FrameProperty::RoomLeft + side, int(room));
        }
        changes.append({block, format});
    }
    for (const auto& [block, format] : changes) {
        QTextCursor at(block);
        at.mergeBlockFormat(format);
    }
    return true;
}

} // namespace jornix
