#pragma once

#include "platform/reportengine/ExportOutput.h"

// The picture exports: one 24-bit picture per page, BMP or JPG ("BMP", "JPG").
namespace jornix {

bool WriteImages(const ExportSource& source, ExportFiles& files, const QString& format, QString& error);

} // namespace jornix
