#include "reports/LoadLayoutSelection.h"

#include <QStringList>

#include <vector>

namespace jornix {
namespace {

// The options of each area in the order the layout keeps them.
std::vector<qint32*> AreaOptions(int area, PrintSelectionValues& v)
{
    switch (area) {
    case 1:
        return {&v.logEventSortOrder, &v.logEventReportType, &v.logEventDateRange, &v.logEventSDate,
                &v.logEventEDate};
    case 2:
        return {&v.taskSortOrder,      &v.taskDueDateRange,   &v.taskDueDateSDate,   &v.taskDueDateEDate,
                &v.taskCloseDateRange, &v.taskCloseDateSDate, &v.taskCloseDateEDate, &v.taskStartDateRange,
                &v.taskStartDateSDate, &v.taskStartDateEDate, &v.taskCompleted,      &v.taskPriority};
    case 3:
        return {&v.contactsSortOrder};
    case 4:
        return {&v.reminderSortOrder, &v.reminderShowReminder, &v.reminderDismiss, &v.reminderLinkType,
                &v.reminderDateRange, &v.reminderSDate,        &v.reminderEDate};
    case 5:
        return {&v.stickySortOrder};
    case 6:
        return {&v.scrapSortOrder};
    default:
        return {};
    }
}

} // namespace

void LoadLayoutSelection(int area, const QString& layoutFilter, PrintSelectionValues& values)
{
    const std::vector<qint32*> options = AreaOptions(area, values);
    QStringList parts = layoutFilter.split(QLatin1Char('|'));
    // The text before the first "|" is the count; the text after the last is no value.
    if (parts.size() < 2)
        return;
    parts.removeFirst();
    parts.removeLast();
    for (qsizetype position = 0; position < parts.size(); ++position) {
        if (std::size_t(position) >= options.size())
            break;
        // A value that is not a number reads as 0, as the layout form's numbers do.
        *options[std::size_t(position)] = parts[position].trimmed().toInt();
    }
}

} // namespace jornix
