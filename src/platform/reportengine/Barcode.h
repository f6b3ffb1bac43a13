#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// Barcodes drawn with libzint's vector output, scaled into a frame (symbols of a fixed aspect, such as QR
// codes, keep it and are centred). Symbologies are named as layouts name them ("Code128", "EAN13", "QR" ...;
// case, blanks and dashes do not count).
namespace jornix {

// libzint's number of the symbology; 0 for a name it does not know.
int BarcodeSymbology(const QString& name);

// Draws `value` in `frame` (device units). False, drawing nothing, when the symbology is unknown or refuses
// the value; `error` then says why.
bool DrawBarcode(QPainter& painter, const QRectF& frame, const QString& value, const QString& symbology,
                 bool showText, const QColor& colour, QString* error = nullptr);

} // namespace jornix
