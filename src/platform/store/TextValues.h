#pragma once

#include "platform/runtime/TrailingBlanks.h"

#include <QString>

// How the store keeps texts: cut to the field's width in characters and without trailing blanks, so that
// trailing blanks never count in comparisons. Keys that compare without regard to case use a folded copy.
namespace jornix {

QString CutToWidth(const QString& text, int width); // never splits a surrogate pair
QString FoldedKeyText(const QString& text);         // case-folded, without trailing blanks

} // namespace jornix
