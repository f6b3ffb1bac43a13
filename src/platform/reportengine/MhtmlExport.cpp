#include "platform/reportengine/MhtmlExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/HtmlExport.h"
#include "platform/reportengine/PageSpool.h"

#include <QDateTime>
#include <QUuid>

namespace jornix {

namespace {

QString PictureName(int page, int k)
{
    return QStringLiteral("page%1-picture%2.png").arg(page).arg(k);
}

// Base64 in lines of 76 characters, as MIME asks.
QByteArray Base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    lines.reserve(encoded.size() + encoded.size() / 76 * 2 + 2);
    for (qsizetype at = 0; at < encoded.size(); at += 76)
        lines += encoded.mid(at, 76) + "\r\n";
    return lines;
}

// A header value in plain ASCII: other characters and line breaks would end or break the header.
QByteArray HeaderText(const QString& text)
{
    QByteArray ascii;
    for (const QChar c : text)
        ascii += (c.unicode() >= 0x20 && c.unicode() < 0x7F) ? char(c.unicode()) : '_';
    return ascii;
}

} // namespace

bool WriteMhtml(const ExportSource& source, ExportFiles& files, QString& error)
{
    const int lastPage = source.spool.PageCount();
    const QByteArray boundary = "----=_Jornix_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    const auto write = [&](QIODevice& out) {
        const auto put = [&out](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
        const QByteArray header =
            "From: <Saved by Jornix>\r\nSubject: " + HeaderText(source.title) +
            "\r\nDate: " + QDateTime::currentDateTimeUtc().toString(Qt::RFC2822Date).toLatin1() +
            "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/related; type=\"text/html\"; "
            "boundary=\"" +
            boundary + "\"\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n";
        if (!put(header) || !put("--" + boundary +
                                 "\r\nContent-Type: text/html; charset=\"utf-8\"\r\n"
                                 "Content-Transfer-Encoding: base64\r\n"
                                 "Content-Location: report.html\r\n\r\n"))
            return false;
        // The HTML part goes out page by page, in base64 so that every line stays short and 8-bit safe;
        // whole lines of 57 bytes are encoded as they come.
        QByteArray pending = html::Head(source.title).toUtf8();
        const auto flush = [&](bool all) {
            const qsizetype whole = all ? pending.size() : pending.size() / 57 * 57;
            const bool written = put(Base64Lines(pending.left(whole)));
            pending.remove(0, whole);
            return written;
        };
        const bool pages = ForEachPage(
            source,
            [&](const Page& page, int) {
                pending += html::PageBody(page, lastPage, [&page](const PagePrimitive&, int k) {
                               return PictureName(page.number, k);
                           }).toUtf8();
                return flush(false);
            },
            error);
        pending += html::Tail().toUtf8();
        if (!pages || !flush(true) || !put("\r\n"))
            return false;
        // The pictures, read again page by page in the same order.
        ExportSource again = source;
        again.progress = nullptr;
        const bool pictures = ForEachPage(
            again,
            [&](const Page& page, int) {
                int k = 0;
                for (const PagePrimitive& primitive : page.primitives) {
                    if (primitive.kind != PrimitiveKind::Image && primitive.kind != PrimitiveKind::Drawing &&
                        primitive.kind != PrimitiveKind::Barcode)
                        continue;
                    const QByteArray part =
                        "--" + boundary +
                        "\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n"
                        "Content-Location: " +
                        PictureName(page.number, ++k).toLatin1() + "\r\n\r\n" +
                        Base64Lines(ExportPngBytes(PrimitiveImage(primitive, ExportPictureDpi))) + "\r\n";
                    if (!put(part))
                        return false;
                }
                return true;
            },
            error);
        return pictures && put("--" + boundary + "--\r\n");
    };
    if (!WriteSavedFile(files.Path(), write, error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
