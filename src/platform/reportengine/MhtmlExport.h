#pragma once

#include "platform/reportengine/ExportOutput.h"

// The MHTML export: a MIME multipart/related message whose first part is the HTML document of the HTML
// export and whose further parts are its pictures as PNG in base64, each named by its Content-Location.
namespace jornix {

bool WriteMhtml(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
