#pragma once

#include <QString>

// The sketch of a layout: its first page printed with the items the job declares (the designer's sample
// values), as a picture beside the layout for the designer's and the layout lists' previews.
namespace jornix {

struct ReportJob;
struct ReportLayout;

constexpr double SketchDpi = 72;

// Writes the sketch of `layout` (read from a file in `layoutFolder`) to `path` as a BMP picture, through a
// save file. False with the reason in `error`.
bool WriteLayoutSketch(const ReportJob& job, const ReportLayout& layout, const QString& layoutFolder,
                       const QString& path, QString& error);

} // namespace jornix
