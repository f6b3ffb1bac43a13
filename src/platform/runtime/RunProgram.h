#pragma once

#include <QString>
#include <QStringList>

namespace jornix {

// Runs a program without a shell (each argument is passed as it is), its output discarded, and waits for it
// to end: a program thread gives way meanwhile, so the other windows go on. A program that runs longer than
// the time limit is killed.
struct ProgramRun
{
    bool started = false;
    bool timedOut = false;
    int exitCode = -1; // -1 unless the program ended normally
};
ProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeLimitMs);

} // namespace jornix
