#include "reports/BuildPrintSelection.h"

#include "platform/runtime/DayNumbers.h"

namespace jornix {
namespace {

class SelectionBuilder
{
public:
    explicit SelectionBuilder(PrintSelection& selection) : selection_(selection) {}

    void AddCriteria(const QString& part)
    {
        if (!selection_.criteria.trimmed().isEmpty())
            selection_.criteria += QStringLiteral(", ");
        selection_.criteria += part;
    }

    void AddFilter(const QString& part)
    {
        if (!selection_.filter.trimmed().isEmpty())
            selection_.filter += QStringLiteral(" AND ");
        selection_.filter += part;
    }

    void Add(const QString& criteria, const QString& filter)
    {
        AddCriteria(criteria);
        AddFilter(filter);
    }

    // A date range adds one criteria item and one filter item per date that is set.
    void AddRange(qint32 range, qint32 first, qint32 last, const QString& name, const QString& field)
    {
        if (range != 2 || (first <= 0 && last <= 0))
            return;
        QString criteria = name + QStringLiteral(" =");
        if (first > 0)
            criteria += QStringLiteral(" >= ") + CriteriaDate(first);
        if (last > 0)
            criteria += QStringLiteral(" <= ") + CriteriaDate(last);
        AddCriteria(criteria);
        if (first > 0)
            AddFilter(field + QStringLiteral(" >= ") + QString::number(first));
        if (last > 0)
            AddFilter(field + QStringLiteral(" <= ") + QString::number(last));
    }

    // A Yes/No option: 1 prints all, 2 Yes, anything above No.
    void AddYesNo(qint32 value, const QString& name, const QString& field)
    {
        if (value <= 1)
            return;
        const bool yes = value == 2;
        Add(name + QStringLiteral(" = ") + (yes ? QStringLiteral("Yes") : QStringLiteral("No")),
            field + QStringLiteral(" = ") + (yes ? QStringLiteral("1") : QStringLiteral("0")));
    }

    // An option with 1 for all and then the named codes from 2 on; a value past the last takes the last.
    void AddChoice(qint32 value, const QString& name, const QString& field, const QStringList& texts,
                   const QList<int>& codes)
    {
        if (value <= 1)
            return;
        const qsizetype index = qMin<qsizetype>(value - 2, texts.size() - 1);
        Add(name + QStringLiteral(" = ") + texts[index],
            field + QStringLiteral(" = ") + QString::number(codes[index]));
    }

private:
    static QString CriteriaDate(qint32 day)
    {
        return DateFromDayNumber(day).toString(QStringLiteral("MM/dd/yyyy"));
    }

    PrintSelection& selection_;
};

} // namespace

PrintSelection BuildPrintSelection(int area, const PrintSelectionValues& v)
{
    PrintSelection selection;
    SelectionBuilder add(selection);
    switch (area) {
    case 1:
        selection.sortOrder = v.logEventSortOrder;
        if (v.logEventReportType > 0)
            add.Add(QStringLiteral("Type = ") + QString::number(v.logEventReportType),
                    QStringLiteral("LOG:LogType = ") + QString::number(v.logEventReportType));
        add.AddRange(v.logEventDateRange, v.logEventSDate, v.logEventEDate, QStringLiteral("Date Range"),
                     QStringLiteral("LOG:LogDate"));
        break;
    case 2:
        selection.sortOrder = v.taskSortOrder;
        add.AddRange(v.taskDueDateRange, v.taskDueDateSDate, v.taskDueDateEDate,
                     QStringLiteral("Due Date Range"), QStringLiteral("TSK:DueDate"));
        add.AddRange(v.taskCloseDateRange, v.taskCloseDateSDate, v.taskCloseDateEDate,
                     QStringLiteral("Close Date Range"), QStringLiteral("TSK:CloseDate"));
        add.AddRange(v.taskStartDateRange, v.taskStartDateSDate, v.taskStartDateEDate,
                     QStringLiteral("Start Date Range"), QStringLiteral("TSK:StartDate"));
        add.AddYesNo(v.taskCompleted, QStringLiteral("Completed"), QStringLiteral("TSK:Completed"));
        add.AddChoice(v.taskPriority, QStringLiteral("Priority"), QStringLiteral("TSK:Priority"),
                      {QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")}, {1, 2, 3});
        break;
    case 3:
        selection.sortOrder = v.contactsSortOrder;
        break;
    case 4:
        selection.sortOrder = v.reminderSortOrder;
        add.AddYesNo(v.reminderShowReminder, QStringLiteral("Show Reminder"),
                     QStringLiteral("REM:ShowReminder"));
        add.AddYesNo(v.reminderDismiss, QStringLiteral("Dismiss"), QStringLiteral("REM:Dismiss"));
        add.AddChoice(v.reminderLinkType, QStringLiteral("Link Type"), QStringLiteral("REM:LinkType"),
                      {QStringLiteral("No Link"), QStringLiteral("Log Event"), QStringLiteral("Contact"),
                       QStringLiteral("Task")},
                      {0, 1, 2, 3});
        add.AddRange(v.reminderDateRange, v.reminderSDate, v.reminderEDate,
                     QStringLiteral("Reminder Date Range"), QStringLiteral("REM:ReminderDate"));
        break;
    case 5:
        selection.sortOrder = v.stickySortOrder;
        break;
    case 6:
        selection.sortOrder = v.scrapSortOrder;
        break;
    default:
        break;
    }
    return selection;
}

} // namespace jornix
