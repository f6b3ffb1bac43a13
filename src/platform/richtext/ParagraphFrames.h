#pragma once

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QTextFormat>

class QPainter;
class QTextCursor;
class QTextDocument;

// Frames round paragraphs: lines on any of the four sides, lines at the tab stops, single or double lines,
// each paragraph in a frame of its own or a run of equally framed paragraphs in one. Qt draws no paragraph
// borders, so the frame is a set of properties of the paragraph's block format that PaintParagraphFrames
// draws over the laid-out text: on the screen, in print, into PDF and page pictures alike.
//
// The frame takes room: the paragraph's indents and spacing grow by the text distance and the lines' width
// on each framed side (and shrink by as much when the frame goes), so that the frame never runs into the
// text next to it.
namespace jornix {

namespace FrameStyle {
enum : int
{
    Left = 1,
    Right = 2,
    Top = 4,
    Bottom = 8,
    TabLines = 16,
    DoubleLines = 64,
    ConnectedFrames = 128,
    Sides = Left | Right | Top | Bottom | TabLines
};
}

namespace FrameProperty {
enum : int
{
    Style = QTextFormat::UserProperty + 0x4A20, // "FrameStyle", the bits above
    Distance,                                   // "FrameDistance", twips between text and line
    LineWidth,                                  // "FrameLineWidth", twips
    RoomLeft,                                   // the room the frame added to each side, twips
    RoomTop,
    RoomRight,
    RoomBottom
};
}

// A paragraph without a frame of its own answers these.
constexpr int DefaultFrameDistance = 60;  // 3 points
constexpr int DefaultFrameLineWidth = 20; // 1 point

// The value the paragraphs of the selection (the caret's paragraph without one) share, -1 when they differ:
// FrameProperty::Style, Distance or LineWidth.
int FrameValue(const QTextCursor& selection, int property);
// Frames the paragraphs of the selection with the style; a distance or line width of -1 keeps each
// paragraph's own. One step to undo.
void SetParagraphFrames(QTextCursor& selection, int style, int distance, int lineWidth);

// Draws the frames of the document's paragraphs that meet the area (all without one) on a painter in the
// document's layout coordinates, where a layout unit is scale / 96 inch (1 when the layout measures 96 dots
// per inch).
void PaintParagraphFrames(QPainter& painter, const QTextDocument& document, qreal scale, const QRectF& area = {});

// The frames of the document's paragraphs by paragraph number, for the own format; nothing when no
// paragraph has a frame. storedNumbers gives, by a paragraph's number, the number it is stored under (that of
// the paragraph it becomes when the document is read back; -1 or none: its own). Applying them to a document
// read from the same bytes restores them; damaged bytes are refused (false) and change nothing.
QByteArray ParagraphFramesPayload(const QTextDocument& document, const QList<int>& storedNumbers = {});
bool ApplyParagraphFramesPayload(QByteArrayView payload, QTextDocument& document);

} // namespace jornix
