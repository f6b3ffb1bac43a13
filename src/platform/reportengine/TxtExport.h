#pragma once

#include "platform/reportengine/ExportOutput.h"

// The text export: UTF-8, each page's texts on a grid of characters CharacterWidth millimetres wide, so that
// a table's columns start at fixed offsets; a text line per line of the page, a form feed between pages.
namespace jornix {

constexpr double TxtCharacterWidth = 2.0;

bool WriteTxt(const ExportSource& source, ExportFiles& files, QString& error);

} // namespace jornix
