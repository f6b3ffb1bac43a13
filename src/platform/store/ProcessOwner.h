#pragma once

#include <QString>

// Who holds a row that a running program has added for a record still being edited: this copy of the
// program, named by its machine, its process id and the time the process started (so that a later process
// that happens to get the same id is not taken for it).
namespace jornix {

class ProcessOwner
{
public:
    // This process's name, the same for every call.
    static QString ThisProcess();
    // Whether the owner named may still be running: true for this process, for a running process of this
    // machine that started at the time named, and for every owner on another machine (which cannot be
    // checked from here); false for a process of this machine that has ended.
    static bool MayBeRunning(const QString& owner);
};

} // namespace jornix
