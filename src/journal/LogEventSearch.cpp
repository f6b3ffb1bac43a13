#include "journal/LogEventSearch.h"

#include "core/DataLayer.h"
#include "core/LogDocumentText.h"
#include "core/Tables.h"
#include "platform/runtime/WildcardPattern.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Expression.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/WordIndex.h"

#include <QThread>

#include <algorithm>
#include <mutex>
#include <vector>

namespace jornix {
namespace {

// The notes are read by several workers at once, each over a part of the table.
int Workers()
{
    return std::clamp(QThread::idealThreadCount() / 2, 1, 4);
}

} // namespace

QString LogSearchFilter(const LogSearchCriteria& criteria)
{
    QStringList terms;
    if (criteria.startDate != 0)
        terms << QStringLiteral("LOG:LogDate >= %1").arg(criteria.startDate);
    if (criteria.endDate != 0)
        terms << QStringLiteral("LOG:LogDate <= %1").arg(criteria.endDate);
    if (criteria.logType > 0)
        terms << QStringLiteral("LOG:LogType = %1").arg(criteria.logType);
    if (criteria.privateOnly)
        terms << QStringLiteral("LOG:LogPrivate <> 0");
    return terms.join(QStringLiteral(" AND "));
}

Status LogEventSearch::Run(const LogSearchCriteria& criteria, const WorkerRead::Progress& progress)
{
    found_.clear();
    cancelled_ = false;
    Table& log = AccessLOG->GetTable();
    const int number = log.RequireField(QStringLiteral("LOG:LogNum"));
    const int flag = log.RequireField(QStringLiteral("LOG:LogPrivate"));
    const int owner = log.RequireField(QStringLiteral("LOG:LogUniqueID"));
    std::vector<int> texts;
    for (const char* field : LogSearchFields)
        texts.push_back(log.RequireField(QString::fromLatin1(field)));
    const WildcardPattern pattern(criteria.pattern, criteria.mode);
    // Both reads take only the rows that their word index leaves, when it can narrow them.
    const QStringList fragments = pattern.Fragments();
    // A case-ignoring search for a run of word characters is answered by the word indexes alone: the rows
    // they give are the events that match, read out of the event numbers' key without their texts.
    const bool indexDecides =
        pattern.IgnoresCase() && pattern.AsksOnlyForFragment() && WordIndex::Decides(fragments);
    std::mutex taking; // the workers' takes run at once

    // The notes first: the events whose notes match are read besides those the texts' index leaves.
    std::vector<qint64> notesMatch;
    if (criteria.includeNotes) {
        Table& copies = *JornixCatalogue().FindTable(QString::fromLatin1(LogTextPrefix));
        const int copyNumber = copies.RequireField(QStringLiteral("LOGTXT:LogNum"));
        const int copyText = copies.RequireField(QStringLiteral("LOGTXT:PlainText"));
        WorkerRead notes(copies);
        notes.SetWorkers(Workers());
        notes.SetTextFragments(fragments);
        if (indexDecides)
            notes.ReadKeyWhenNarrowed(copies.KeyIndex(QStringLiteral("LOGTXT:LogNumK")));
        const Status status = notes.Run(
            [&](const Record& copy, qint64) {
                if ((indexDecides && notes.Narrowed()) || pattern.Matches(copy.Text(copyText))) {
                    std::lock_guard lock(taking);
                    notesMatch.push_back(copy.Long(copyNumber));
                }
                return true;
            },
            progress);
        cancelled_ = notes.Cancelled();
        if (!status || cancelled_)
            return status;
    }
    const QSet<qint64> byNotes(notesMatch.begin(), notesMatch.end());

    SqlExpression filter;
    if (Status status = CompileFilter(LogSearchFilter(criteria), log, ExpressionNames(), filter); !status)
        return status;
    WorkerRead events(log);
    events.SetFilter(filter);
    events.SetWorkers(Workers());
    events.SetTextFragments(fragments);
    if (indexDecides) {
        // The events found by their notes need no read: the list's own check applies the dates, the type
        // and the private rule to every event it shows.
        for (const qint64 eventNumber : notesMatch)
            found_.insert(qint32(eventNumber));
        events.ReadKeyWhenNarrowed(log.KeyIndex(QStringLiteral("LOG:LogNumK")));
    } else {
        events.AlsoReadRowsWith(number, std::move(notesMatch));
    }
    const Status status = events.Run(
        [&](const Record& event, qint64) {
            const qint32 eventNumber = event.Long(number);
            if (indexDecides && events.Narrowed()) {
                std::lock_guard lock(taking);
                found_.insert(eventNumber);
                return true;
            }
            if (event.Long(flag) != 0 && event.Long(owner) != criteria.user)
                return true;
            const bool matches = byNotes.contains(eventNumber) ||
                                 std::any_of(texts.begin(), texts.end(),
                                             [&](int field) { return pattern.Matches(event.Text(field)); });
            if (matches) {
                std::lock_guard lock(taking);
                found_.insert(eventNumber);
            }
            return true;
        },
        progress);
    cancelled_ = events.Cancelled();
    return status;
}

} // namespace jornix
