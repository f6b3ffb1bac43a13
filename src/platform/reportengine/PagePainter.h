#pragma once

#include "platform/reportengine/PageModel.h"

#include <QList>

#include <functional>

class QPagedPaintDevice;
class QPainter;

// Draws pages of the page model on a device (PDF writer, printer, preview picture). Positions are converted
// from millimetres with the device's resolution; fonts are in points, which every device scales itself.
namespace jornix {

class PageSpool;

// The text runs of a text that names the last page: its formulas over the items kept with it.
std::vector<PagePrimitive> LateTextRuns(const PagePrimitive& late, int page, int lastPage);

// Draws one page; `lastPage` completes the texts that name the last page.
void PaintPage(QPainter& painter, const Page& page, int lastPage);

// Draws the spool's pages with these indexes (from 0) on a paged device, one device page each, and calls
// `progress` with the count done after each; a false answer stops the output and gives false. A page that
// cannot be read back gives false with the reason in `error`.
bool PaintPages(QPagedPaintDevice& device, QPainter& painter, PageSpool& spool, const QList<int>& pages,
                const std::function<bool(int done)>& progress, QString& error);

} // namespace jornix
