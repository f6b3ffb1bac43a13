#include "journal/LogEventSearch.h"

#include "core/DataLayer.h"
#include "core/LogDocumentText.h"
#include "core/Tables.h"
#include "platform/runtime/WildcardPattern.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Expression.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <array>
#include <vector>

namespace jornix {
namespace {

// The texts of an event that the pattern is matched against, in this order.
constexpr std::array TextFields{"LOG:LogDescription", "LOG:LogLocation", "LOG:LogDuration", "LOG:LogDocLink",
                                "LOG:LogMisc1",       "LOG:LogMisc2",    "LOG:LogMisc3",    "LOG:LogMisc4",
                                "LOG:LogMisc5",       "LOG:LogMisc6",    "LOG:LogMiniNotes"};

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
    for (const char* field : TextFields)
        texts.push_back(log.RequireField(QString::fromLatin1(field)));
    const WildcardPattern pattern(criteria.pattern, criteria.mode);

    SqlExpression filter;
    if (Status status = CompileFilter(LogSearchFilter(criteria), log, ExpressionNames(), filter); !status)
        return status;
    // The events that passed the dates, type and private rule but matched in no text field: their notes
    // are searched in a second read, of the copies' table.
    QSet<qint32> notesToSearch;
    WorkerRead events(log);
    events.SetFilter(filter);
    Status status = events.Run(
        [&](const Record& event, qint64) {
            if (event.Long(flag) != 0 && event.Long(owner) != criteria.user)
                return true;
            for (const int field : texts)
                if (pattern.Matches(event.Text(field))) {
                    found_.insert(event.Long(number));
                    return true;
                }
            if (criteria.includeNotes)
                notesToSearch.insert(event.Long(number));
            return true;
        },
        progress);
    cancelled_ = events.Cancelled();
    if (!status || cancelled_ || notesToSearch.isEmpty())
        return status;

    Table& copies = *JornixCatalogue().FindTable(QString::fromLatin1(LogTextPrefix));
    const int copyNumber = copies.RequireField(QStringLiteral("LOGTXT:LogNum"));
    const int copyText = copies.RequireField(QStringLiteral("LOGTXT:PlainText"));
    WorkerRead notes(copies);
    status = notes.Run(
        [&](const Record& copy, qint64) {
            const qint32 event = copy.Long(copyNumber);
            if (notesToSearch.contains(event) && pattern.Matches(copy.Text(copyText)))
                found_.insert(event);
            return true;
        },
        progress);
    cancelled_ = notes.Cancelled();
    return status;
}

} // namespace jornix
