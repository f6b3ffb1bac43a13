#pragma once

#include "platform/store/Expression.h"
#include "platform/store/Record.h"
#include "platform/store/StoreStatus.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

namespace jornix {

class Table;

// How far a worker's read has come: the row ids run from 1 to about `end` (or, in a read that a word index
// narrowed, the rows to read number `end`), and the read has passed `at`.
struct ReadProgress
{
    qint64 at = 0;
    qint64 end = 0;
    qint64 rowsTaken = 0; // rows handed to the worker's function so far
    int Percent() const { return end > 0 ? int(std::min<qint64>(100, at * 100 / end)) : 0; }
};

// A long read of one table (a search through every note, a report's pass over its records) on a worker
// thread with a connection of its own, so that the windows of every program thread stay usable: the calling
// program thread gives way while it waits, hears of the progress a few times a second and may cancel.
//
//     WorkerRead read(notesTable);
//     read.SetFilter(filter); // from CompileFilter; its values are taken when Run starts
//     read.Run([&](const Record& note, qint64) { if (Matches(note)) hits.push_back(note); return true; },
//              [&](const ReadProgress& progress) { bar.setValue(progress.Percent()); return !cancelled; });
//
// The rows come in record order, read in chunks of row ids, so that no lock on the file stays held for long
// (however few rows the filter passes), the progress and a cancel are heard within a chunk, and other
// users' writes go through meanwhile.
class WorkerRead
{
public:
    explicit WorkerRead(const Table& table);

    void SetFilter(const SqlExpression& filter) { filter_ = filter; }
    void SetReadBlobs(bool read) { readBlobs_ = read; }
    // Workers that read the table in as many parts of its row ids at once, each on a connection of its own
    // (1 unless set). With more than one, take is called on several threads at once, and the rows come in
    // record order within each part only.
    void SetWorkers(int workers) { workers_ = std::max(1, workers); }
    // Reads only the rows that the table's word index (Table::AddWordIndex) says may hold every one of these
    // fragments of text (WildcardPattern::Fragments), in record order; the take still decides. Without a
    // word index, or when it cannot narrow the read, every row is read.
    void SetTextFragments(const QStringList& fragments) { fragments_ = fragments; }
    // When the fragments narrow the read: the rows whose field holds one of these numbers are read besides
    // (a key over the field finds them).
    void AlsoReadRowsWith(int field, std::vector<qint64> values)
    {
        alsoField_ = field;
        alsoValues_ = std::move(values);
    }
    // When the fragments narrow the read, the rows come out of this key's index alone (a key over numbers
    // or texts that compare with case, whose index holds the fields themselves): the take gets the key's
    // fields, the others blank, and the filter is left to the caller, so that no row is read, however large
    // its texts and BLOBs. For a caller whose match the word index decides alone (WordIndex::Decides); the
    // rows come in key order, and as many are read whatever their number.
    void ReadKeyWhenNarrowed(int key) { key_ = key; }
    // Whether the word index narrowed the read: known after Run, and to the take while it runs.
    bool Narrowed() const { return narrowed_; }

    // Called on the worker thread for each row; false ends the read there. It must touch nothing of the
    // program threads (widgets, record buffers, thread contexts) while the read runs.
    using Take = std::function<bool(const Record& record, qint64 rowId)>;
    // Called on the calling thread as the read goes on and once at its end; false cancels the read.
    using Progress = std::function<bool(const ReadProgress& progress)>;

    // Returns once the worker has ended: at the last row, when take or progress ended it, or with the
    // store's error. Refused while the calling thread holds a write transaction (it may not give way).
    Status Run(const Take& take, const Progress& progress = {});
    bool Cancelled() const { return cancelled_; }

    static constexpr int ChunkRows = 2000; // row ids (rows, past the first highest id) read under one lock

private:
    const Table& table_;
    SqlExpression filter_;
    bool readBlobs_ = false;
    int workers_ = 1;
    QStringList fragments_;
    int alsoField_ = -1;
    std::vector<qint64> alsoValues_;
    int key_ = -1;
    bool cancelled_ = false;
    bool narrowed_ = false;
};

} // namespace jornix
