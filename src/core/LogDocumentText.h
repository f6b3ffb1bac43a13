#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace jornix {

class Catalogue;
class Table;

// The plain-text copy of every log event's document that the search reads: the table "LogText" in the log
// events' record file, one row per event (its number and the text; a blank text where the event's
// document field holds no stored document). The log-event table writes the copy in the same transaction as the
// record, on every write of any writer, and fills in the copies that a file made before lacks when it is
// opened.
inline constexpr auto LogTextPrefix = "LOGTXT:";

// Declares the table of the copies beside the log events and joins it to their writes.
void AddLogDocumentText(Catalogue& catalogue, Table& logEvents);

// The plain text of a stored document as the document component converts it; nothing for bytes that are
// no stored document.
std::optional<QString> PlainTextOfDocument(const QByteArray& blob);

} // namespace jornix
