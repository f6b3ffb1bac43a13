#include "platform/reportengine/TxtExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/TextLines.h"

#include <algorithm>
#include <cmath>

namespace jornix {

namespace {

// The page as lines of text. Runs whose tops lie within half a millimetre make one line; a gap of more than
// two lines' height leaves one empty line. A run that would overlap the text before it on its line starts
// one blank after it instead.
QString PageText(const Page& page, int lastPage)
{
    std::vector<PagePrimitive> runs;
    for (PagePrimitive& primitive : ResolvedPrimitives(page, lastPage))
        if (primitive.kind == PrimitiveKind::TextRun && !primitive.text.trimmed().isEmpty())
            runs.push_back(std::move(primitive));
    std::stable_sort(runs.begin(), runs.end(), [](const PagePrimitive& a, const PagePrimitive& b) {
        return a.frame.top() < b.frame.top();
    });
    QStringList lines;
    double lineTop = -1000, lastHeight = 0;
    std::vector<const PagePrimitive*> line;
    const auto flush = [&] {
        if (line.empty())
            return;
        std::stable_sort(line.begin(), line.end(), [](const PagePrimitive* a, const PagePrimitive* b) {
            return a->frame.left() < b->frame.left();
        });
        QString text;
        for (const PagePrimitive* run : line) {
            const qsizetype column = qsizetype(std::lround(run->frame.left() / TxtCharacterWidth));
            if (text.size() < column)
                text += QString(column - text.size(), QLatin1Char(' '));
            else if (!text.isEmpty())
                text += QLatin1Char(' ');
            text += run->text;
        }
        // Tabs and other control characters would move the columns.
        for (QChar& c : text)
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        lines << text;
        line.clear();
    };
    for (const PagePrimitive& run : runs) {
        if (std::abs(run.frame.top() - lineTop) > 0.5) {
            flush();
            if (!lines.isEmpty() && run.frame.top() - lineTop > 2 * lastHeight)
                lines << QString();
            lineTop = run.frame.top();
            lastHeight = LineHeight(run.style);
        }
        line.push_back(&run);
    }
    flush();
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

bool WriteTxt(const ExportSource& source, ExportFiles& files, QString& error)
{
    const int lastPage = source.spool.PageCount();
    const auto write = [&](QIODevice& out) {
        return ForEachPage(
            source,
            [&](const Page& page, int n) {
                const QByteArray bytes =
                    ((n > 1 ? QStringLiteral("\f") : QString()) + PageText(page, lastPage)).toUtf8();
                return out.write(bytes) == bytes.size();
            },
            error);
    };
    if (!WriteSavedFile(files.Path(), write, error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
