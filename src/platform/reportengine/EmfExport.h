#pragma once

#include "platform/reportengine/ExportOutput.h"

// The EMF export: one enhanced metafile per page, made with libEMF, named as the picture exports name their
// pages; texts as text records in their fonts, lines and rectangles as drawings, pictures and barcodes as
// 24-bit device-independent bitmaps. The frame of each file is the paper.
namespace jornix {

bool WriteEmf(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
