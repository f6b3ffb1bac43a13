#include "platform/reportengine/TextLines.h"

#include <QFontMetricsF>
#include <QImage>

#include <map>
#include <memory>

namespace jornix {

namespace {

// Metrics are taken at a fine resolution so that rounding to device pixels does not show.
constexpr double ReferenceDpi = 720;
constexpr double MillimetresPerPixel = 25.4 / ReferenceDpi;

QFont MakeFont(const TextStyle& style)
{
    QFont font(style.fontFamily);
    font.setPointSizeF(style.pointSize > 0 ? style.pointSize : 10);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

struct MeasuredFont
{
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
};

const MeasuredFont& Measured(const TextStyle& style)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(ReferenceDpi / 0.0254));
        image.setDotsPerMeterY(qRound(ReferenceDpi / 0.0254));
        return image;
    }();
    // Runs of text in one style follow each other: the last style answers most look-ups.
    static TextStyle lastStyle;
    static const MeasuredFont* last = nullptr;
    if (last && style == lastStyle)
        return *last;
    static std::map<QString, MeasuredFont> fonts;
    const QString key = QStringLiteral("%1/%2/%3%4%5")
                            .arg(style.fontFamily)
                            .arg(style.pointSize)
                            .arg(int(style.bold))
                            .arg(int(style.italic))
                            .arg(int(style.underline));
    auto found = fonts.find(key);
    if (found == fonts.end()) {
        MeasuredFont measured;
        measured.font = MakeFont(style);
        measured.metrics = std::make_unique<QFontMetricsF>(measured.font, &device);
        found = fonts.emplace(key, std::move(measured)).first;
    }
    lastStyle = style;
    last = &found->second;
    return found->second;
}

} // namespace


const QFont& FontOf(const TextStyle& style)
{
    return Measured(style).font;
}

double LineHeight(const TextStyle& style)
{
    return Measured(style).metrics->lineSpacing() * MillimetresPerPixel;
}

double Ascent(const TextStyle& style)
{
    return Measured(style).metrics->ascent() * MillimetresPerPixel;
}

double TextWidth(const TextStyle& style, const QString& text)
{
    return Measured(style).metrics->horizontalAdvance(text) * MillimetresPerPixel;
}

QStringList BreakLines(const QString& text, const TextStyle& style, double width, bool wrap)
{
    QStringList lines;
    const QFontMetricsF& metrics = *Measured(style).metrics;
    const double room = width / MillimetresPerPixel;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line = paragraph;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!wrap || room <= 0 || metrics.horizontalAdvance(line) <= room) {
            lines << line;
            continue;
        }
        // Greedy: as many words as fit; a word that fits on no line is broken between characters. Each
        // step takes at least one character, so the loop always ends.
        while (!line.isEmpty()) {
            qsizetype fits = 0;
            qsizetype lastBreak = -1;
            double used = 0;
            for (qsizetype at = 0; at < line.size(); ++at) {
                used += metrics.horizontalAdvance(line.at(at));
                if (used > room)
                    break;
                fits = at + 1;
                if (line.at(at).isSpace())
                    lastBreak = at;
            }
            if (fits >= line.size()) {
                lines << line;
                break;
            }
            qsizetype cut = lastBreak > 0 ? lastBreak : std::max<qsizetype>(fits, 1);
            lines << line.left(cut).trimmed();
            while (cut < line.size() && line.at(cut).isSpace())
                ++cut;
            line = line.mid(cut);
        }
    }
    return lines;
}

double AddTextRuns(std::vector<PagePrimitive>& primitives, const QStringList& lines, qsizetype first,
                   qsizetype count, const TextStyle& style, double left, double top, double width)
{
    const double height = LineHeight(style);
    double y = top;
    for (qsizetype at = first; at < first + count && at < lines.size(); ++at, y += height) {
        const QString& text = lines.at(at);
        if (text.isEmpty())
            continue;
        double x = left;
        if (style.alignment == TextAlignment::Centre || style.alignment == TextAlignment::Right) {
            const double spare = width - TextWidth(style, text);
            if (spare > 0)
                x += style.alignment == TextAlignment::Centre ? spare / 2 : spare;
        }
        PagePrimitive run;
        run.kind = PrimitiveKind::TextRun;
        run.frame = QRectF(x, y, std::max(width - (x - left), 0.0), height);
        run.text = text;
        run.style = style;
        primitives.push_back(std::move(run));
    }
    return y - top;
}

} // namespace jornix
