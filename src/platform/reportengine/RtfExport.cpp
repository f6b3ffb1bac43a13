#include "platform/reportengine/RtfExport.h"

#include "platform/reportengine/ExportPages.h"
#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/ReportJob.h"
#include "platform/reportengine/TextLines.h"
#include "platform/richtext/Rtf.h"

#include <QList>

#include <cmath>

namespace jornix {

namespace {

int Twips(double millimetres)
{
    return int(std::lround(millimetres * 1440 / 25.4));
}

QByteArray Number(qint64 value)
{
    return QByteArray::number(value);
}

// The fonts and text colours of the layout, for the tables at the head of the document; a text in a font or
// colour the layout does not name takes the first.
struct Tables
{
    QStringList fonts;
    QList<QColor> colours;

    explicit Tables(const ReportLayout& layout)
    {
        Add(TextStyle{});
        for (const std::vector<LayoutObject>& layer : layout.layers)
            for (const LayoutObject& object : layer) {
                Add(object.style);
                const auto lines = {&object.table.headerLines, &object.table.groupHeaderLines,
                                    &object.table.dataLines, &object.table.footerLines};
                for (const std::vector<TableLine>* group : lines)
                    for (const TableLine& line : *group)
                        for (const TableCell& cell : line.cells)
                            Add(cell.style);
            }
    }
    void Add(const TextStyle& style)
    {
        if (!fonts.contains(style.fontFamily))
            fonts << style.fontFamily;
        if (!colours.contains(style.colour))
            colours << style.colour;
    }
    int Font(const QString& family) const { return std::max<int>(int(fonts.indexOf(family)), 0); }
    int Colour(const QColor& colour) const { return std::max<int>(int(colours.indexOf(colour)), 0) + 1; }

    QByteArray Header() const
    {
        QByteArray rtf = "{\\fonttbl";
        for (qsizetype at = 0; at < fonts.size(); ++at)
            rtf += "{\\f" + Number(at) + "\\fswiss\\fcharset0 " + RtfText(fonts.at(at)) + ";}";
        rtf += "}\n{\\colortbl;";
        for (const QColor& colour : colours)
            rtf += "\\red" + Number(colour.red()) + "\\green" + Number(colour.green()) + "\\blue" +
                   Number(colour.blue()) + ';';
        return rtf + "}\n";
    }
};

QByteArray CharacterFormat(const Tables& tables, const TextStyle& style)
{
    QByteArray format = "\\f" + Number(tables.Font(style.fontFamily)) + "\\fs" +
                        Number(std::lround((style.pointSize > 0 ? style.pointSize : 10) * 2)) + "\\cf" +
                        Number(tables.Colour(style.colour));
    if (style.bold)
        format += "\\b";
    if (style.italic)
        format += "\\i";
    if (style.underline)
        format += "\\ul";
    return format + ' ';
}

// A paragraph in a frame at the frame's place on the page.
QByteArray Frame(const QRectF& frame, const QByteArray& content)
{
    return "\\pard\\plain\\pvpg\\phpg\\posx" + Number(Twips(frame.left())) + "\\posy" +
           Number(Twips(frame.top())) + "\\absw" + Number(std::max(Twips(frame.width()), 1)) + ' ' + content +
           "\\par\n";
}

QByteArray Picture(const PagePrimitive& primitive)
{
    const QImage image = PrimitiveImage(primitive, ExportPictureDpi);
    return "{\\pict\\pngblip\\picw" + Number(image.width()) + "\\pich" + Number(image.height()) +
           "\\picwgoal" + Number(Twips(primitive.frame.width())) + "\\pichgoal" +
           Number(Twips(primitive.frame.height())) + ' ' + ExportPngBytes(image).toHex() + '}';
}

// The text runs of a list's table rows on the page, by the top of their row: the runs that lie in the table's
// columns and share a top with another run there or stand at a column's left edge.
struct TableRows
{
    std::vector<double> edges; // the columns' left edges on the page, and the right edge of the last
    double tolerance = 0.5;

    static TableRows Of(const ReportLayout& layout)
    {
        TableRows rows;
        if (layout.projectType != ProjectType::List)
            return rows;
        for (const std::vector<LayoutObject>& layer : layout.layers)
            for (const LayoutObject& object : layer)
                if (object.kind == ObjectKind::Table && rows.edges.empty()) {
                    double left = layout.paper.leftMargin + object.frame.left();
                    for (const TableColumn& column : object.table.columns) {
                        if (column.width <= 0)
                            continue;
                        rows.edges.push_back(left);
                        left += column.width;
                    }
                    if (!rows.edges.empty())
                        rows.edges.push_back(left);
                }
        return rows;
    }
    // The column of a run placed in a cell (a cell's text starts one padding in), or -1.
    int Column(const PagePrimitive& run) const
    {
        for (std::size_t at = 0; at + 1 < edges.size(); ++at)
            if (run.frame.left() >= edges[at] - tolerance && run.frame.right() <= edges[at + 1] + tolerance)
                return int(at);
        return -1;
    }
};

QByteArray PageRtf(const Page& page, int lastPage, double topMargin, const Tables& tables,
                   const TableRows& table)
{
    QByteArray rtf;
    // Table runs grouped into rows by their tops, in order down the page.
    std::vector<std::pair<double, std::vector<const PagePrimitive*>>> rows;
    const std::vector<PagePrimitive> primitives = ResolvedPrimitives(page, lastPage);
    for (const PagePrimitive& primitive : primitives) {
        switch (primitive.kind) {
        case PrimitiveKind::TextRun:
            if (table.Column(primitive) >= 0) {
                auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& entry) {
                    return std::abs(entry.first - primitive.frame.top()) < table.tolerance;
                });
                if (row == rows.end())
                    row = rows.insert(rows.end(), {primitive.frame.top(), {}});
                row->second.push_back(&primitive);
            } else {
                rtf += Frame(primitive.frame,
                             "{" + CharacterFormat(tables, primitive.style) + RtfText(primitive.text) + "}");
            }
            break;
        case PrimitiveKind::Image:
        case PrimitiveKind::Drawing:
        case PrimitiveKind::Barcode:
            rtf += Frame(primitive.frame, Picture(primitive));
            break;
        case PrimitiveKind::Line:
        case PrimitiveKind::Rectangle:
        case PrimitiveKind::LateText:
            break; // RTF frames carry no drawings that every reader shows
        }
    }
    if (rows.empty())
        return rtf;
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The table follows in the flow, which starts at the top margin; its first row where its first line is.
    rtf += "\\pard\\plain\\sb" + Number(std::max(Twips(rows.front().first - topMargin), 0)) + "\\par\n";
    const int columns = int(table.edges.size()) - 1;
    for (const auto& [top, runs] : rows) {
        QByteArray row = "\\trowd\\trleft" + Number(Twips(table.edges.front()));
        for (int column = 1; column <= columns; ++column)
            row += "\\cellx" + Number(Twips(table.edges[std::size_t(column)]));
        row += '\n';
        for (int column = 0; column < columns; ++column) {
            row += "\\pard\\intbl ";
            for (const PagePrimitive* run : runs)
                if (table.Column(*run) == column)
                    row += '{' + CharacterFormat(tables, run->style) + RtfText(run->text) + "} ";
            row += "\\cell\n";
        }
        rtf += row + "\\row\n";
    }
    return rtf + "\\pard\\plain\n";
}

} // namespace

bool WriteRtf(const ExportSource& source, ExportFiles& files, QString& error)
{
    const int lastPage = source.spool.PageCount();
    const Tables tables(source.job.layout);
    const TableRows table = TableRows::Of(source.job.layout);
    const auto write = [&](QIODevice& out) {
        const auto put = [&out](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
        const PaperSetup& paper = source.job.layout.paper;
        QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n" + tables.Header() + "{\\info{\\title " +
                          RtfText(source.title) + "}}\n\\paperw" + Number(Twips(paper.width)) + "\\paperh" +
                          Number(Twips(paper.height)) + "\\margl" + Number(Twips(paper.leftMargin)) +
                          "\\margr" + Number(Twips(paper.rightMargin)) + "\\margt" +
                          Number(Twips(paper.topMargin)) + "\\margb" + Number(Twips(paper.bottomMargin)) +
                          '\n';
        return put(head) &&
               ForEachPage(
                   source,
                   [&](const Page& page, int n) {
                       return put((n > 1 ? QByteArray("\\page\n") : QByteArray()) +
                                  PageRtf(page, lastPage, paper.topMargin, tables, table));
                   },
                   error) &&
               put("}\n");
    };
    if (!WriteSavedFile(files.Path(), write, error))
        return false;
    files.Written(files.Path());
    return true;
}

} // namespace jornix
