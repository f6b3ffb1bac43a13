#pragma once

#include "platform/reportengine/ReportLayout.h"

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

// A printed page as positioned primitives, in millimetres from the paper's top left corner. The pager makes
// them, the spool keeps them on disk, and the painter draws them on any device (PDF, printer, preview).
namespace jornix {

enum class PrimitiveKind : quint8
{
    TextRun,      // one line of text: `text` with its top left at frame.topLeft()
    LateText,     // a text that names the last page: its formulas, evaluated once the page count is known
    Line,         // from frame.topLeft() to frame.bottomRight()
    Rectangle,
    Image,        // `data` is a raster picture that QImageReader has read once
    Drawing,      // `data` is a recorded picture (QPicture) or an SVG drawing that QSvgRenderer has read once
    Barcode       // `text` in the symbology `symbology`; a value it refuses draws an empty frame
};

struct PagePrimitive
{
    PrimitiveKind kind = PrimitiveKind::TextRun;
    QRectF frame;
    QString text;
    TextStyle style;
    bool wrap = true;         // LateText
    QColor pen = Qt::black;   // Line, Rectangle
    double penWidth = 0.25;   // millimetres
    QColor fill;              // Rectangle; invalid: not filled
    QByteArray data;          // Image, Drawing
    bool keepAspectRatio = true;
    QString symbology;        // Barcode
    bool showText = true;     // Barcode

    // LateText: the formulas of its lines and the items they read, as they were when the page was made.
    QStringList formulas;
    QStringList itemNames;
    QStringList itemValues;
    QList<quint32> itemTypes;
};

struct Page
{
    int number = 1;
    QSizeF paper{210, 297};
    std::vector<PagePrimitive> primitives;
};

// A picture file of recorded drawing commands (QPicture), as page pictures of documents are.
bool IsRecordedPicture(const QByteArray& data);

QDataStream& operator<<(QDataStream& stream, const Page& page);
QDataStream& operator>>(QDataStream& stream, Page& page);

} // namespace jornix
