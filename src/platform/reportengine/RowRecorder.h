#pragma once

#include "platform/reportengine/Formula.h"
#include "platform/reportengine/ReportLayout.h"
#include "platform/reportengine/RowSpool.h"

#include <QStringList>

#include <vector>

// Takes the record in hand as table rows for the table exports. List projects: each data line of the
// layout's table whose condition holds, a cell per column, under the column titles. Card and label projects:
// one row with a cell per text object of the record pages (the cover page left out; an object on the first
// and the following pages alike once), titled by the object's
// name. A cell whose formula is an item name alone takes the item's type (number, date or text); any other
// formula is a number or a text as it evaluates. Texts are kept without their trailing blanks.
namespace jornix {

struct ReportJob;

class RowRecorder
{
public:
    explicit RowRecorder(const ReportLayout& layout);

    const QStringList& Columns() const { return columns_; }
    // Appends the rows of the record in hand; false when the spool cannot keep them.
    bool Record(const ReportJob& job, int page, RowSpool& spool) const;

private:
    struct Line
    {
        Formula condition;
        std::vector<Formula> cells; // a text object's lines make its one cell, joined
    };

    ExportCell Cell(const ReportJob& job, const FormulaContext& context, const Formula& formula) const;

    QStringList columns_;
    std::vector<Line> lines_; // list: a row each; card and label: a cell each
    bool list_ = true;
};

} // namespace jornix
