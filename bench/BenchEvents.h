#pragma once

// Log events with notes for the benchmarks, written through the log table's own write path: each event
// with the plain copy of its notes and the word indexes, in transactions of many events (none stays open
// across a yield). BuildEvents makes a million in minutes.

#include "core/DataLayer.h"
#include "core/LogDocumentText.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include "documents/StoredDocument.h"

#include <QDate>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace jornix::bench {

// `documents` different notes of ordinary words in lines of twelve, `words` words each; the first holds the
// word "pelican" as well.
inline std::vector<QByteArray> NoteDocuments(int documents, int words)
{
    static const char* common[] = {"the",     "meeting", "went",   "well",     "and",     "we",     "agreed",
                                   "on",      "budget",  "for",    "next",     "quarter", "garden", "needs",
                                   "water",   "call",    "mother", "about",    "weekend", "plans",  "train",
                                   "delayed", "again",   "report", "finished", "lunch",   "with",   "team"};
    QRandomGenerator random(7);
    std::vector<QByteArray> notes;
    for (int n = 0; n < documents; ++n) {
        QString text;
        for (int w = 0; w < words; ++w) {
            text += QString::fromLatin1(common[random.bounded(int(std::size(common)))]);
            text += w % 12 == 11 ? QLatin1Char('\n') : QLatin1Char(' ');
        }
        if (n == 0)
            text += QStringLiteral("pelican");
        notes.push_back(test::StoredDocument(text));
    }
    return notes;
}

// The values of event i (numbered from 1) over ten years of days from 2017, of a few types, with one of
// the notes; one event in twenty private to `other`, the rest `owner`'s.
inline void EventValues(Record& record, int i, int count, const std::vector<QByteArray>& notes, qint32 owner,
                        qint32 other)
{
    static const int first = DayNumberFromDate(QDate(2017, 1, 1));
    constexpr int Days = 3650;
    record.SetValue(QStringLiteral("LOG:LogNum"), i + 1);
    record.SetValue(QStringLiteral("LOG:LogDate"), first + int(qint64(i) * Days / count));
    record.SetValue(QStringLiteral("LOG:LogType"), i % 4);
    record.SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Log event %1").arg(i));
    record.SetValue(QStringLiteral("LOG:LogLocation"), QStringLiteral("Office"));
    record.SetValue(QStringLiteral("LOG:LogMiniNotes"), QStringLiteral("short notes of the day"));
    if (!notes.empty())
        record.SetValue(QStringLiteral("LOG:LogDoc"),
                        notes[std::size_t(i % 50 == 0 ? 0 : 1 + i % (int(notes.size()) - 1))]);
    const bool hidden = i % 20 == 1;
    record.SetValue(QStringLiteral("LOG:LogPrivate"), hidden ? 1 : 0);
    record.SetValue(QStringLiteral("LOG:LogUniqueID"), hidden ? other : owner);
}

// Writes `count` log events (EventValues) into the open log table, `perTransaction` in each transaction,
// telling the progress on stderr when asked; false on a failure.
inline bool WriteEvents(int count, const std::vector<QByteArray>& notes, qint32 owner = 11, qint32 other = 12,
                        int perTransaction = 10000, bool progress = false)
{
    Table& log = AccessLOG->GetTable();
    for (int start = 0; start < count; start += perTransaction) {
        Transaction transaction(log);
        if (!transaction.Begin())
            return false;
        for (int i = start; i < std::min(count, start + perTransaction); ++i) {
            log.ClearBuffer();
            EventValues(log.Buffer(), i, count, notes, owner, other);
            if (!log.Insert())
                return false;
        }
        if (!transaction.Commit())
            return false;
        if (progress)
            std::fprintf(stderr, "\r%d of %d events written", std::min(count, start + perTransaction), count);
    }
    if (progress)
        std::fprintf(stderr, "\n");
    return true;
}

// The same events as WriteEvents, for data folders of a million events: written through the log table's own
// write path (keys, folded copies, the word indexes and every trigger of the file), only each note's plain
// copy is made once per different note rather than once per event, and written as the log table writes it.
inline bool BuildEvents(int count, const std::vector<QByteArray>& notes, qint32 owner = 11, qint32 other = 12,
                        bool progress = false)
{
    Table& log = AccessLOG->GetTable();
    std::vector<std::pair<QByteArray, QString>> copies;
    for (const QByteArray& document : notes)
        copies.emplace_back(document, PlainTextOfDocument(document).value_or(QString()));
    const Table::DerivedWrite own = log.GetDerivedWrite();
    const int document = log.FieldIndex(QStringLiteral("LOG:LogDoc"));
    const int number = log.FieldIndex(QStringLiteral("LOG:LogNum"));
    log.SetDerivedWrite([&](Table& table, qint64 rowId, const Record* record) {
        const QByteArray notes = record ? record->Blob(document) : QByteArray();
        const auto copy =
            std::find_if(copies.begin(), copies.end(), [&](const auto& made) { return made.first == notes; });
        if (!record || notes.isEmpty() || copy == copies.end())
            return own(table, rowId, record);
        Status status;
        Statement insert = table.File()->Prepare(
            QStringLiteral("INSERT INTO \"LogText\" (\"LogNum\", \"PlainText\") VALUES (?, ?)"), status);
        if (!insert)
            return status;
        insert.Bind(1, record->Long(number));
        insert.Bind(2, copy->second);
        return insert.Step() == SQLITE_DONE
                   ? Status()
                   : table.File()->Error(StoreError::Failed, QStringLiteral("No copy"));
    });
    const bool written = WriteEvents(count, notes, owner, other, 10000, progress);
    log.SetDerivedWrite(own);
    return written;
}

} // namespace jornix::bench
