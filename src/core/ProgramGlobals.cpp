#include "core/ProgramGlobals.h"

namespace jornix {

QString ProgramFolder;
QString IniFileName;
QString DataPathText;
IniSettings INIMgr;
FuzzyMatcher GlobalFuzzyMatcher;

} // namespace jornix
