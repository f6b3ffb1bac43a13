#pragma once

#include <QString>

namespace jornix {

// Points the file name of each data-folder table into the data folder (which ends in "/").
void SetTableFileNames(const QString& dataFolder);

} // namespace jornix
