#pragma once

#include <QString>

// Import Layout of the layout form: replaces the layout file `target` (".rpt" in the data folder) with a
// layout file the user picks, after asking when the target exists. Only a file that reads as one of our
// layouts, and is not the target itself, is taken; it is written through a temporary file and a rename, so a
// refused or failed import leaves the target as it was.
namespace jornix {

void ImportLayout(const QString& target);

} // namespace jornix
