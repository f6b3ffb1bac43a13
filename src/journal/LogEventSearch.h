#pragma once

#include "platform/store/StoreStatus.h"
#include "platform/store/WorkerRead.h"

#include <QSet>
#include <QString>

namespace jornix {

// What a search looks for, taken when Begin Search is pressed.
struct LogSearchCriteria
{
    QString pattern;                   // "*" + the search string without trailing blanks + "*"
    int mode = 1;                      // 1 wildcard, plus 16 when case is ignored
    qint32 startDate = 0, endDate = 0; // 0: no bound; both included
    int logType = 0;                   // 0 every type
    bool includeNotes = false;
    bool privateOnly = false;
    qint32 user = 0; // the signed-in user's unique id: others' private events are never found
};

// The filter text of the criteria's dates, type and private flag (blank: every event).
QString LogSearchFilter(const LogSearchCriteria& criteria);

// Reads the log events through the criteria on worker threads (WorkerRead), the calling program thread
// giving way meanwhile: an event is found when it passes the dates, the type and the private rule and the
// pattern matches one of its text fields or, when asked, the plain-text copy of its document. Word indexes
// over the texts and the copies leave out the events that cannot match, so that a search reads only the
// rest; a pattern they cannot narrow reads every event. A case-ignoring search for a run of word characters
// is answered by the indexes alone, whatever the number of events found, and reads no event or copy. The
// numbers of the events found are the result: those the indexes answered are not checked against the
// dates, the type and the private rule, which the list of results applies to every event it shows.
class LogEventSearch
{
public:
    Status Run(const LogSearchCriteria& criteria, const WorkerRead::Progress& progress = {});
    const QSet<qint32>& Found() const { return found_; }
    bool Cancelled() const { return cancelled_; }

private:
    QSet<qint32> found_;
    bool cancelled_ = false;
};

} // namespace jornix
