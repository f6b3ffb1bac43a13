#pragma once

#include "platform/reportengine/ExportOutput.h"
#include "platform/reportengine/PageModel.h"

#include <QString>

#include <functional>

// The HTML export: one self-contained UTF-8 file, each page a box of the paper's size in millimetres that
// holds its texts at their places, its lines and rectangles as SVG and its pictures and barcodes as PNG
// data URIs. Every text is written as data, never as markup.
namespace jornix {

bool WriteHtml(const ExportSource& source, ExportFiles& files, QString& error);

// The parts of the HTML document, shared with the MHTML export, which names its pictures differently.
namespace html {
QString Head(const QString& title);
// `picture` gives the address of the page's picture number `k` (from 1, in the order of the page).
QString PageBody(const Page& page, int lastPage,
                 const std::function<QString(const PagePrimitive&, int k)>& picture);
QString Tail();
} // namespace html

} // namespace jornix
