#include "platform/reportengine/Barcode.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPolygonF>

#include <zint.h>

#include <cmath>
#include <memory>

namespace jornix {

namespace {

QString Folded(const QString& name)
{
    QString folded;
    for (const QChar c : name)
        if (c.isLetterOrNumber())
            folded += c.toLower();
    return folded;
}

struct SymbolDeleter
{
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

int BarcodeSymbology(const QString& name)
{
    static const QHash<QString, int> names{
        {"code128", BARCODE_CODE128},   {"code39", BARCODE_CODE39},       {"code39extended", BARCODE_EXCODE39},
        {"code93", BARCODE_CODE93},     {"code11", BARCODE_CODE11},       {"codabar", BARCODE_CODABAR},
        {"ean13", BARCODE_EANX},        {"ean8", BARCODE_EANX},           {"ean", BARCODE_EANX},
        {"ean128", BARCODE_GS1_128},    {"gs1128", BARCODE_GS1_128},      {"ean14", BARCODE_EAN14},
        {"upca", BARCODE_UPCA},         {"upce", BARCODE_UPCE},           {"isbn", BARCODE_ISBNX},
        {"interleaved2of5", BARCODE_C25INTER}, {"2of5", BARCODE_C25STANDARD}, {"itf14", BARCODE_ITF14},
        {"postnet", BARCODE_POSTNET},   {"msi", BARCODE_MSI_PLESSEY},     {"pharmacode", BARCODE_PHARMA},
        {"qr", BARCODE_QRCODE},         {"qrcode", BARCODE_QRCODE},       {"microqr", BARCODE_MICROQR},
        {"datamatrix", BARCODE_DATAMATRIX}, {"pdf417", BARCODE_PDF417},   {"micropdf417", BARCODE_MICROPDF417},
        {"aztec", BARCODE_AZTEC},       {"maxicode", BARCODE_MAXICODE},   {"telepen", BARCODE_TELEPEN},
    };
    return names.value(Folded(name), 0);
}

bool DrawBarcode(QPainter& painter, const QRectF& frame, const QString& value, const QString& symbology,
                 bool showText, const QColor& colour, QString* error)
{
    const int id = BarcodeSymbology(symbology);
    if (id == 0) {
        if (error)
            *error = QStringLiteral("the barcode type \"%1\" is not known").arg(symbology);
        return false;
    }
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        return false;
    symbol->symbology = id;
    symbol->show_hrt = showText ? 1 : 0;
    symbol->input_mode = UNICODE_MODE;
    const QByteArray data = value.toUtf8();
    const int result = ZBarcode_Encode_and_Buffer_Vector(
        symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()), int(data.size()), 0);
    const zint_vector* vector = symbol->vector;
    if (result >= ZINT_ERROR || !vector || vector->width <= 0 || vector->height <= 0) {
        if (error)
            *error = QString::fromUtf8(symbol->errtxt);
        return false;
    }

    double sx = frame.width() / vector->width;
    double sy = frame.height() / vector->height;
    QPointF origin = frame.topLeft();
    if (ZBarcode_Cap(id, ZINT_CAP_FIXED_RATIO) & ZINT_CAP_FIXED_RATIO) {
        sx = sy = std::min(sx, sy);
        origin += QPointF((frame.width() - vector->width * sx) / 2, (frame.height() - vector->height * sy) / 2);
    }
    const auto at = [&](double x, double y) { return QPointF(origin.x() + x * sx, origin.y() + y * sy); };

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (const zint_vector_rect* rect = vector->rectangles; rect; rect = rect->next) {
        if (rect->colour == 8) // white: the background shows through
            continue;
        painter.drawRect(QRectF(at(rect->x, rect->y), QSizeF(rect->width * sx, rect->height * sy)));
    }
    for (const zint_vector_hexagon* hexagon = vector->hexagons; hexagon; hexagon = hexagon->next) {
        QPolygonF corners;
        for (int corner = 0; corner < 6; ++corner) {
            const double angle = (60.0 * corner + 30 + hexagon->rotation) * M_PI / 180;
            const double radius = hexagon->diameter / 2;
            corners << at(hexagon->x + radius * std::cos(angle), hexagon->y + radius * std::sin(angle));
        }
        painter.drawPolygon(corners);
    }
    for (const zint_vector_circle* circle = vector->circles; circle; circle = circle->next) {
        painter.setBrush(circle->colour ? QColor(Qt::white) : colour);
        const double radius = circle->diameter / 2;
        painter.drawEllipse(at(circle->x, circle->y), radius * sx, radius * sy);
    }
    painter.setPen(colour);
    for (const zint_vector_string* string = vector->strings; string; string = string->next) {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(std::max(1, int(std::lround(string->fsize * sy))));
        painter.setFont(font);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(string->text), string->length);
        const double width = painter.fontMetrics().horizontalAdvance(text);
        const QPointF base = at(string->x, string->y);
        const double x = string->halign == 1 ? base.x() : string->halign == 2 ? base.x() - width
                                                                               : base.x() - width / 2;
        painter.drawText(QPointF(x, base.y()), text);
    }
    painter.restore();
    return true;
}

} // namespace jornix
