#pragma once

#include "platform/store/StoreStatus.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct sqlite3;

namespace jornix {

class Table;

// A word index over some text fields of a table (Table::AddWordIndex), so that a search for fragments of
// text reads only the rows that may hold them rather than every row.
//
// A word is a run of ASCII letters and digits and characters beyond ASCII; a text field's words are kept
// in an FTS4 table "<table>_Words" over the table's own columns (it keeps no copy of the texts), every
// word once in "<table>_Terms" (words no row holds any more stay there: they only cost a look), and
// triggers on the table keep both in the same transaction as every write of any writer, the plain
// `sqlcipher` shell's too. A file made before the index gets it, with every row, when it is next opened
// for writing.
//
// The index only prunes: a fragment of a match lies, split at its characters that are no word's, in words
// of the text that hold its pieces (compared case-folded by FoldUnit, as the runtime's pattern match
// does), so the rows it gives are a superset of the rows that match, and the caller's own match decides.
namespace WordIndex {

// The statements that make what is missing of the index and fill it anew from the rows there are; they
// run when the object of SchemaName is missing, the last trigger they make, which goes also when the
// table is dropped and made again.
QString SchemaSql(const Table& table, const std::vector<int>& fields);
QString SchemaName(const Table& table);

// The rows (row ids, ascending) whose indexed texts may hold every fragment, on a connection to the
// table's file. Nothing when the index cannot narrow the rows: the file has no index, no fragment holds
// a word's character, every piece is part of too many words to be worth the look, or more than `most`
// rows would be read.
std::optional<std::vector<qint64>> Candidates(sqlite3* db, const Table& table, const QStringList& fragments,
                                              qint64 most, Status& status);

// Whether the rows that the index gives for these fragments are exactly the rows whose texts hold the
// fragment, compared case-folded: there is one fragment and it is a run of word characters, so that it lies
// within one word of every text that holds it.
bool Decides(const QStringList& fragments);

// A piece of a fragment is part of at most this many different words for the index to look it up.
inline constexpr int MostWordsPerPiece = 256;

} // namespace WordIndex

} // namespace jornix
