#pragma once

#include "platform/reportengine/ExportOutput.h"
#include "platform/reportengine/PageModel.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

// What the exports of pages share: the pages read back one at a time, their texts complete, pictures and
// barcodes as raster images, and texts made safe for markup.
namespace jornix {

// Calls `each` with every page of the source in turn (n from 1), then the source's progress; false when a
// page cannot be read back (with the reason), when `each` fails or when the progress stops the export.
bool ForEachPage(const ExportSource& source, const std::function<bool(const Page& page, int n)>& each,
                 QString& error);

// Calls `each` with every row of the source's records (n from 1) that was printed on one of its pages, then
// the progress; false when a row cannot be read back, when `each` fails or the progress stops the export.
struct ExportRow;
bool ForEachRow(const ExportSource& source, const std::function<bool(const ExportRow& row, int n)>& each,
                QString& error);

// The page's primitives with the texts that name the last page made into text runs.
std::vector<PagePrimitive> ResolvedPrimitives(const Page& page, int lastPage);

// The resolution of pictures the exports draw.
constexpr double ExportPictureDpi = 150;

// A picture, drawing or barcode drawn in its frame at `dpi`, on white.
QImage PrimitiveImage(const PagePrimitive& primitive, double dpi);
// The whole page at `dpi` as a 24-bit picture on white.
QImage PageImage(const Page& page, int lastPage, double dpi);
QByteArray ExportPngBytes(const QImage& image);

// A text as markup data (HTML, XML): "&", "<", ">", quotes and apostrophes as entities, control characters
// that XML cannot hold as U+FFFD. Line breaks stay.
QString MarkupText(const QString& text);
// A colour as CSS writes it: "#rrggbb".
QString CssColour(const QColor& colour);

} // namespace jornix
