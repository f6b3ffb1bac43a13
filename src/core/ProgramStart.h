#pragma once

#include <QString>

namespace jornix {

// Where a start takes its program folder and instance name from. The program passes nothing: the folder is
// the executable's and the instance is "JornixMUTEX". Tests give a folder and an instance name of their own.
struct ProgramStartOptions
{
    QString programFolder; // ending in "/"; blank: the folder of the executable
    QString instanceName = QStringLiteral("JornixMUTEX");
};

// The program's start procedure: runs as program thread 1 and returns the exit code, 0 on every path.
int ProgramStart(const ProgramStartOptions& options = {});

} // namespace jornix
