#pragma once

#include <QtGlobal>

// The selection of the print options for many records: per area its sort order and the conditions the user
// may set (range options are 1 All or 2 Range; dates are day numbers, 0 none). The initial values are the
// window's; report type 0 prints every type.
namespace jornix {

struct PrintSelectionValues
{
    qint32 logEventSortOrder = 1;
    qint32 logEventReportType = 0;
    qint32 logEventDateRange = 1;
    qint32 logEventSDate = 0;
    qint32 logEventEDate = 0;

    qint32 taskSortOrder = 1;
    qint32 taskDueDateRange = 1;
    qint32 taskDueDateSDate = 0;
    qint32 taskDueDateEDate = 0;
    qint32 taskCloseDateRange = 1;
    qint32 taskCloseDateSDate = 0;
    qint32 taskCloseDateEDate = 0;
    qint32 taskStartDateRange = 1;
    qint32 taskStartDateSDate = 0;
    qint32 taskStartDateEDate = 0;
    qint32 taskCompleted = 1;
    qint32 taskPriority = 1;

    qint32 contactsSortOrder = 1;

    qint32 reminderSortOrder = 1;
    qint32 reminderShowReminder = 1;
    qint32 reminderDismiss = 1;
    qint32 reminderLinkType = 1;
    qint32 reminderDateRange = 1;
    qint32 reminderSDate = 0;
    qint32 reminderEDate = 0;

    qint32 stickySortOrder = 1;
    qint32 scrapSortOrder = 1;
};

} // namespace jornix
