#pragma once

#include <QString>

#include <functional>

// One running copy per user. The first copy holds a per-user lock named after the mutex name and listens on a
// local server of that name; a later copy finds the lock held and asks the first copy, through the server, to
// bring its frame forward. A lock left by a copy that was killed is taken over.
namespace jornix {

// 1 when another copy runs (after asking it to come forward), 0 when this is the only copy.
int CheckSingleInstance(const QString& title, const QString& mutexName);

// 1 when no other copy runs; takes and keeps the lock.
int IsFirstInstance();

// Asks the running copy to bring its window with this title forward and restore it; 1 when it did.
int ActivatePreviousInstance(const QString& title);

// Releases the lock and the server when this copy holds them; runs at the end of the program.
void ReleaseInstanceMutex();

// The first copy's frame registers how it comes forward: given the title asked for, it raises and restores
// its window when the title is its own and answers whether it did. Until one is registered (during the
// sign-in, say), nothing is brought forward. An empty handler unregisters.
using ActivateInstanceHandler = std::function<bool(const QString& title)>;
void SetActivateInstanceHandler(ActivateInstanceHandler handler);

} // namespace jornix
