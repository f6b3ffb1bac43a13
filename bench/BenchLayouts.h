#pragma once

// The list layout the report benchmarks print: a title line, a table of one data line and a page footer.

#include "platform/reportengine/ReportLayout.h"

#include <QList>
#include <QStringList>

namespace jornix::bench {

// A column for each field of `source` ("Task.Num", ...) with its width, under the title and above the footer,
// on every page.
inline ReportLayout ListLayout(const QString& source, const QStringList& names, const QList<double>& widths,
                               const QString& title, const QString& footer)
{
    ReportLayout layout;
    layout.projectType = ProjectType::List;
    LayoutObject table;
    table.kind = ObjectKind::Table;
    table.frame = QRectF(0, 10, 190, 250);
    TableLine data;
    for (int column = 0; column < names.size(); ++column) {
        table.table.columns.push_back({names[column], widths[column]});
        data.cells.push_back({source + QLatin1Char('.') + names[column], {}});
    }
    table.table.dataLines = {data};
    LayoutObject titleLine;
    titleLine.frame = QRectF(0, 0, 190, 8);
    titleLine.lines = {title};
    LayoutObject footerLine;
    footerLine.frame = QRectF(0, 268, 190, 6);
    footerLine.lines = {footer};
    layout.Layer(LayoutLayer::EveryPage) = {titleLine, table, footerLine};
    return layout;
}

} // namespace jornix::bench
