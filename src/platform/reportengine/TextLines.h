#pragma once

#include "platform/reportengine/PageModel.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

// Text measured in millimetres, the same for every output device: the pager breaks texts into lines with it
// and places each line as a text run, so that the preview, the PDF and the printer show the same lines.
namespace jornix {

const QFont& FontOf(const TextStyle& style);
double LineHeight(const TextStyle& style);
double TextWidth(const TextStyle& style, const QString& text);
double Ascent(const TextStyle& style);

// The lines of `text` in a column `width` wide: its own line breaks, and, with `wrap`, breaks between words
// (a word wider than the column is broken between characters). Without `wrap` lines are kept whole.
QStringList BreakLines(const QString& text, const TextStyle& style, double width, bool wrap);

// Adds lines [first, first + count) as text runs from `top` down, aligned in the column from `left`,
// `width` wide. Returns the height they take.
double AddTextRuns(std::vector<PagePrimitive>& primitives, const QStringList& lines, qsizetype first,
                   qsizetype count, const TextStyle& style, double left, double top, double width);

} // namespace jornix
