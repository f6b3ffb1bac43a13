#pragma once

#include "platform/reportengine/ExportOutput.h"

#include <QByteArray>
#include <QString>

// The RTF export: the pages in order, a page break between them, each text line a frame at its place on the
// page (its font, size, style and colour), each picture and barcode a PNG picture in a frame, and a list's
// table lines as table rows, one cell per column. "\", "{" and "}" in texts are escaped, other characters
// beyond ASCII written as "\uN?", so that a text is always data.
namespace jornix {

bool WriteRtf(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
