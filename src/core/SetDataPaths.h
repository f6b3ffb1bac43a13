#pragma once

namespace jornix {

// Fixes the data folder and the file names of the tables, at every start and after the first-run setup has
// chosen a folder: a blank GLO.DataPath becomes ProgramFolder + "Data/", a final "/" is added, the folder is
// created with its parent folders, and a changed folder is written to the settings once it exists (a folder
// that is refused is never written). Returns whether the data folder exists.
bool SetDataPaths();

} // namespace jornix
