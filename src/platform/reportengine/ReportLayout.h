#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// A report layout as the engine keeps it in memory: the paper, the objects of each page layer and, for label
// projects, the grid of labels on the sheet. Lengths are millimetres; positions are from the top left corner
// of the printable area (of the label, for label projects). Formulas are kept as the designer wrote them and
// evaluated at print time over the job's items.
namespace jornix {

// The engine's project types.
enum class ProjectType
{
    Label = 1,
    List = 2,
    Card = 3
};

// Pages an object prints on. Every page holds what all pages share (a frame, a page number); the cover page
// is the page before the records; first and following pages tell the first record page from the others.
enum class LayoutLayer
{
    EveryPage,
    CoverPage,
    FirstPage,
    FollowingPages
};
constexpr int LayoutLayerCount = 4;

enum class TextAlignment
{
    Left,
    Centre,
    Right,
    Justify
};

struct TextStyle
{
    QString fontFamily = QStringLiteral("Sans Serif");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour = Qt::black;
    TextAlignment alignment = TextAlignment::Left;
    bool operator==(const TextStyle&) const = default;
};

struct PaperSetup
{
    double width = 210; // A4 portrait
    double height = 297;
    double leftMargin = 10;
    double topMargin = 10;
    double rightMargin = 10;
    double bottomMargin = 10;
    bool operator==(const PaperSetup&) const = default;
};

// Labels on a sheet: `columns` across and `rows` down, the first at the margins, each next one a pitch
// further on; each label is `labelWidth` by `labelHeight`.
struct LabelGrid
{
    int rows = 1;
    int columns = 1;
    double horizontalPitch = 0;
    double verticalPitch = 0;
    double leftMargin = 0;
    double topMargin = 0;
    double labelWidth = 0;
    double labelHeight = 0;
    bool operator==(const LabelGrid&) const = default;
};

// One line of a table: a cell per column, each a formula.
struct TableCell
{
    QString formula;
    TextStyle style;
    bool operator==(const TableCell&) const = default;
};

struct TableLine
{
    QString condition; // the line prints when this is true; empty: always
    std::vector<TableCell> cells;
    bool operator==(const TableLine&) const = default;
};

// The body of a list project: a header line on every page, a group header whenever the group formula
// changes value, the data lines per record and the footer lines after the last record.
struct TableColumn
{
    QString title;
    double width = 20;
    bool operator==(const TableColumn&) const = default;
};

struct TableContent
{
    std::vector<TableColumn> columns;
    std::vector<TableLine> headerLines;
    QString groupFormula; // empty: no groups
    std::vector<TableLine> groupHeaderLines;
    std::vector<TableLine> dataLines;
    std::vector<TableLine> footerLines;
    bool operator==(const TableContent&) const = default;
};

enum class ObjectKind
{
    Text,
    Line,
    Rectangle,
    Picture,
    Barcode,
    Table
};

struct LayoutObject
{
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF frame;      // a line runs from the top left to the bottom right corner
    QString condition; // the object prints when this is true; empty: always

    // Text: one formula per line.
    QStringList lines;
    TextStyle style;
    bool wrap = true;
    bool continuesOnNextPage = false; // what does not fit goes on the next page instead of being cut

    // Line and rectangle.
    QColor penColour = Qt::black;
    double penWidth = 0.25;
    QColor fillColour; // invalid: not filled

    // Picture: a file, or the item whose value names the file.
    QString pictureFile;
    QString pictureItem;
    bool keepAspectRatio = true;

    // Barcode: its content is a formula.
    QString barcodeFormula;
    QString symbology = QStringLiteral("Code128");
    bool showBarcodeText = true;

    TableContent table;

    bool operator==(const LayoutObject&) const = default;
};

struct ReportLayout
{
    static constexpr int CurrentVersion = 1;

    ProjectType projectType = ProjectType::List;
    QString description;
    PaperSetup paper;
    LabelGrid labels; // label projects only
    std::array<std::vector<LayoutObject>, LayoutLayerCount> layers;

    std::vector<LayoutObject>& Layer(LayoutLayer layer) { return layers[std::size_t(layer)]; }
    const std::vector<LayoutObject>& Layer(LayoutLayer layer) const { return layers[std::size_t(layer)]; }
    bool operator==(const ReportLayout&) const = default;
};

} // namespace jornix
