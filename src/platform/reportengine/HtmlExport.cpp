#include "platform/reportengine/HtmlExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/TextLines.h"

namespace jornix {

namespace {

QString Mm(double value)
{
    return QString::number(value, 'f', 2) + QLatin1String("mm");
}

// A font family as a CSS name: only letters, digits, blanks and hyphens, so that nothing ends the string.
QString FontFamily(const QString& family)
{
    QString name;
    for (const QChar c : family)
        if (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-'))
            name += c;
    return name.isEmpty() ? QStringLiteral("sans-serif")
                          : QLatin1Char('\'') + name + QStringLiteral("', sans-serif");
}

QString TextStyleCss(const TextStyle& style)
{
    QString css =
        QStringLiteral("font-family:%1;font-size:%2pt;color:%3;")
            .arg(FontFamily(style.fontFamily), QString::number(style.pointSize > 0 ? style.pointSize : 10),
                 CssColour(style.colour));
    if (style.bold)
        css += QLatin1String("font-weight:bold;");
    if (style.italic)
        css += QLatin1String("font-style:italic;");
    if (style.underline)
        css += QLatin1String("text-decoration:underline;");
    return css;
}

QString Shape(const PagePrimitive& primitive)
{
    const QRectF& f = primitive.frame;
    const QString stroke = QStringLiteral("stroke=\"%1\" stroke-width=\"%2\"")
                               .arg(CssColour(primitive.pen), QString::number(primitive.penWidth));
    if (primitive.kind == PrimitiveKind::Line)
        return QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>")
            .arg(f.left())
            .arg(f.top())
            .arg(f.right())
            .arg(f.bottom())
            .arg(stroke);
    return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\" %6/>")
        .arg(f.left())
        .arg(f.top())
        .arg(f.width())
        .arg(f.height())
        .arg(primitive.fill.isValid() ? CssColour(primitive.fill) : QStringLiteral("none"),
             primitive.penWidth > 0 ? stroke : QStringLiteral("stroke=\"none\""));
}

} // namespace

namespace html {

QString Head(const QString& title)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
               "<style>\nbody { background: #808080; margin: 0; padding: 8mm 0; }\n"
               ".page { position: relative; margin: 0 auto 8mm auto; background: white; overflow: hidden; }\n"
               ".page div { position: absolute; white-space: pre; line-height: 1; }\n"
               ".page img, .page svg { position: absolute; }\n"
               "@media print { body { background: none; padding: 0; } "
               ".page { margin: 0; page-break-after: always; } }\n"
               "</style>\n</head>\n<body>\n")
        .arg(MarkupText(title));
}

QString PageBody(const Page& page, int lastPage,
                 const std::function<QString(const PagePrimitive&, int k)>& picture)
{
    QString body = QStringLiteral("<div class=\"page\" id=\"page%1\" style=\"width:%2;height:%3\">\n")
                       .arg(page.number)
                       .arg(Mm(page.paper.width()), Mm(page.paper.height()));
    QString shapes;
    int k = 0;
    for (const PagePrimitive& primitive : ResolvedPrimitives(page, lastPage)) {
        const QRectF& f = primitive.frame;
        switch (primitive.kind) {
        case PrimitiveKind::TextRun:
            body += QStringLiteral("<div style=\"left:%1;top:%2;%3\">%4</div>\n")
                        .arg(Mm(f.left()), Mm(f.top()), TextStyleCss(primitive.style),
                             MarkupText(primitive.text));
            break;
        case PrimitiveKind::Line:
        case PrimitiveKind::Rectangle:
            shapes += Shape(primitive) + QLatin1Char('\n');
            break;
        case PrimitiveKind::Image:
        case PrimitiveKind::Drawing:
        case PrimitiveKind::Barcode:
            body += QStringLiteral("<img style=\"left:%1;top:%2;width:%3;height:%4\" src=\"%5\" alt=\"\">\n")
                        .arg(Mm(f.left()), Mm(f.top()), Mm(f.width()), Mm(f.height()),
                             MarkupText(picture(primitive, ++k)));
            break;
        case PrimitiveKind::LateText:
            break;
        }
    }
    if (!shapes.isEmpty())
        body +=
            QStringLiteral("<svg style=\"left:0;top:0\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %3 %4\">\n")
                .arg(Mm(page.paper.width()), Mm(page.paper.height()))
                .arg(page.paper.width())
                .arg(page.paper.height()) +
            shapes + QStringLiteral("</svg>\n");
    return body + QStringLiteral("</div>\n");
}

QString Tail()
{
    return QStringLiteral("</body>\n</html>\n");
}

} // namespace html

bool WriteHtml(const ExportSource& source, ExportFiles& files, QString& error)
{
    const int lastPage = source.spool.PageCount();
    const auto dataUri = [](const PagePrimitive& primitive, int) {
        return QStringLiteral("data:image/png;base64,") +
               QString::fromLatin1(ExportPngBytes(PrimitiveImage(primitive, ExportPictureDpi)).toBase64());
    };
    const auto write = [&](QIODevice& out) {
        const auto put = [&out](const QString& text) {
            const QByteArray bytes = text.toUtf8();
            return out.write(bytes) == bytes.size();
        };
        return put(html::Head(source.title)) &&
               ForEachPage(
                   source,
                   [&](const Page& page, int) { return put(html::PageBody(page, lastPage, dataUri)); },
                   error) &&
               put(html::Tail());
    };
    if (!WriteSavedFile(files.Path(), write, error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
