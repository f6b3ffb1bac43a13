#pragma once

#include "platform/reportengine/Formula.h"
#include "platform/reportengine/PageModel.h"
#include "platform/reportengine/ReportLayout.h"

#include <QPointF>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

// Lays out the records of a print run on pages of the page model and hands each finished page to the spool.
// The layout's formulas are parsed once; they are evaluated over the job's items when a record is printed.
//
// List projects: every page shows its layers' objects and the table's header lines; a record's data lines
// follow, with the group header lines before them whenever the group formula's value changes; the footer
// lines come after the last record. A record that does not fit the rest of a page that holds data lines
// answers RecordDidNotFit and is printed on the next page; one that does not fit an empty page is split, so
// RecordDidNotFit never comes on an empty page and every call advances.
// Card projects: one card (page) per print; a text that continues on the next page prints what fits and the
// rest goes on at the next print, answered with RecordDidNotFit until it is all printed.
// Label projects: the next cell of the sheet's grid, row by row; a new sheet when it is full. The grid's
// margins are measured from the sheet's edges; a pitch of 0 is the label's own size.
// Layers: every page, the cover page (before the records, when the run prints a cover page and the layer
// holds objects; with the every-page objects that show no record), the first page of records and the pages
// after it. Texts that name the last page are completed when the page count is known.
namespace jornix {

struct ReportJob;
class PageSpool;

class Pager
{
public:
    // `layoutFolder` resolves picture files named without a folder. Without `printCoverPage` the cover layer
    // is left out, whatever it holds.
    Pager(const ReportJob& job, const ReportLayout& layout, const QString& layoutFolder, PageSpool& spool,
          bool printCoverPage = true);
    ~Pager();

    int Print();        // list: a new page is wanted; card and label: prints the record
    int PrintFields();  // list: the record's data lines
    int PrintFieldsEnd(); // list: the footer lines
    // Closes the page in hand. False when a page could not be kept.
    bool Finish();

    int PagesMade() const { return pageNumber_; }
    const QString& Error() const { return error_; }

    static constexpr double CellPadding = 0.6; // millimetres around a table cell's text

private:
    struct PreparedLine
    {
        Formula condition;
        std::vector<Formula> cells;
        std::vector<TextStyle> styles;
    };
    struct PreparedObject
    {
        const LayoutObject* object = nullptr;
        int key = 0; // unique in the layout: keeps a continuing text's rest
        Formula condition;
        std::vector<Formula> lines;
        Formula barcode;
        bool late = false; // names the last page
        std::vector<PreparedLine> header, groupHeader, data, footer;
        Formula group;
    };
    struct Cell
    {
        QStringList lines;
        qsizetype done = 0;
        double left = 0; // from the table's left edge
        double width = 0;
        TextStyle style;
    };
    struct Row
    {
        std::vector<Cell> cells;
        bool Done() const;     // every line of every cell printed
        double Height() const; // of the lines not yet printed
    };

    PreparedObject Prepare(const LayoutObject& object, int key) const;
    std::vector<PreparedLine> PrepareLines(const std::vector<TableLine>& lines) const;
    bool Holds(const Formula& condition) const;
    QString Text(const Formula& formula) const;

    std::vector<const PreparedObject*> PageObjects(bool cover) const;
    bool ReadsTheRecord(const LayoutObject& object) const;
    const PreparedObject* PageTable() const;
    void BeginPage(bool cover = false);
    void EnsureListPage();
    void PlaceObject(const PreparedObject& prepared, QPointF origin, bool allowContinuation);
    void PlacePicture(const LayoutObject& object, const QRectF& frame);
    std::vector<Row> Rows(const std::vector<PreparedLine>& lines) const;
    double PlaceRow(Row& row, double room);
    // Places rows from the cursor, new pages as needed (the footer lines).
    void PlaceRowsOnPages(std::vector<Row> rows);
    double Room() const { return tableBottom_ - cursor_; }

    const ReportJob& job_;
    const ReportLayout layout_;
    QString layoutFolder_;
    PageSpool& spool_;
    FormulaContext context_;
    std::array<std::vector<PreparedObject>, LayoutLayerCount> layers_;

    std::optional<Page> page_;
    int pageNumber_ = 0;
    int recordPage_ = 0; // pages of records, the cover page not counted
    bool coverDone_ = false; // the cover page is printed or left out
    bool printCoverPage_ = true;
    bool pageHasLines_ = false;
    bool awaitingPage_ = false; // RecordDidNotFit was answered: the next print begins a new page
    double tableLeft_ = 0;
    double cursor_ = 0;
    double tableBottom_ = 0;
    std::optional<std::vector<Row>> pending_; // the record in hand, as far as it is not yet printed
    std::optional<QString> group_;            // the group formula's last value
    std::map<int, QStringList> continuing_;   // card texts still to print, by object key
    int labelCell_ = 0;
    QString error_;
};

} // namespace jornix
