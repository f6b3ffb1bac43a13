#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace jornix {

class Catalogue;
class Table;

// The plain-text copy of every log event's document that the search reads: the table "LogText" in the log
// events' record file, one row per event (its number and the text; a blank text where the event's
// document field holds no stored document). The log-event table writes the copy in the same transaction as
// the record, on every write of any writer. The file lists the events whose copy may be missing (written by
// an older version or another program, or in a file made before the copies): their copies are written when
// the table is next opened, a long list on a program thread of its own with its progress shown.
inline constexpr auto LogTextPrefix = "LOGTXT:";

// The texts of a log event that Search matches, in the order it matches them.
inline constexpr std::array LogSearchFields{"LOG:LogDescription", "LOG:LogLocation", "LOG:LogDuration",
                                            "LOG:LogDocLink",     "LOG:LogMisc1",    "LOG:LogMisc2",
                                            "LOG:LogMisc3",       "LOG:LogMisc4",    "LOG:LogMisc5",
                                            "LOG:LogMisc6",       "LOG:LogMiniNotes"};

// Declares the table of the copies beside the log events and joins it to their writes; gives the copies
// and the log events' searched texts the word indexes that keep a search from reading every event.
void AddLogDocumentText(Catalogue& catalogue, Table& logEvents);

// The plain text of a stored document as the document component converts it; nothing for bytes that are
// no stored document.
std::optional<QString> PlainTextOfDocument(const QByteArray& blob);

} // namespace jornix
