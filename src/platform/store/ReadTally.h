#pragma once

#include <QString>

#include <map>

namespace jornix {

// What the long reads (WorkerRead) and the word indexes have read, by table, since it was last taken: the
// plan of a search or a report, for tests and benchmarks to look at. Counting costs a lock per chunk read.
namespace ReadTally {

struct Counts
{
    qint64 rows = 0;       // rows read from the table itself (or, for a word index's list of words, words)
    qint64 keyEntries = 0; // entries read from a key's index alone, without the rows
};

void Add(const QString& table, qint64 rows, qint64 keyEntries = 0);
// The counts so far, by table name; the tally starts again from nothing.
std::map<QString, Counts> Take();

} // namespace ReadTally

} // namespace jornix
