#pragma once

#include "platform/framework/FuzzyMatcher.h"
#include "platform/framework/IniSettings.h"

#include <QString>

// Process-wide values of the program start, shared by every thread.
namespace jornix {

// The program's own folder, ending in "/": parent of the settings file, of "DefaultData/" and of the default
// data folder. The program start sets it from the executable's path; tests set their own folder.
extern QString ProgramFolder;
// ProgramFolder followed by "Jornix.ini": the file INIMgr works on.
extern QString IniFileName;
// A copy of GLO.DataPath that the reports hand to the report engine.
extern QString DataPathText;

extern IniSettings INIMgr;
extern FuzzyMatcher GlobalFuzzyMatcher;

} // namespace jornix
