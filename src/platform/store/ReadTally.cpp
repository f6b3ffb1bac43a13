#include "platform/store/ReadTally.h"

#include <mutex>

namespace jornix::ReadTally {
namespace {

std::mutex& Guard()
{
    static std::mutex mutex;
    return mutex;
}

std::map<QString, Counts>& Tally()
{
    static std::map<QString, Counts> tally;
    return tally;
}

} // namespace

void Add(const QString& table, qint64 rows, qint64 keyEntries)
{
    if (rows == 0 && keyEntries == 0)
        return;
    std::lock_guard lock(Guard());
    Counts& counts = Tally()[table];
    counts.rows += rows;
    counts.keyEntries += keyEntries;
}

std::map<QString, Counts> Take()
{
    std::lock_guard lock(Guard());
    std::map<QString, Counts> taken;
    taken.swap(Tally());
    return taken;
}

} // namespace jornix::ReadTally
