#include "organizer/TaskLists.h"

#include "platform/runtime/DayNumbers.h"
#include "platform/store/Table.h"

namespace jornix {

QString PriorityText(int priority)
{
    switch (priority) {
    case 1:
        return QStringLiteral("High");
    case 2:
        return QStringLiteral("Medium");
    case 3:
        return QStringLiteral("Low");
    default:
        return {};
    }
}

void TaskRows::SetUpColumns(bool createdBy)
{
    SetUpPrivateIcon(QStringLiteral("TSK:"));
    priorityField_ = ListView().ViewTable().RequireField(QStringLiteral("TSK:Priority"));
    MapField(QStringLiteral("TSK:Description"), 1);
    MapField(QStringLiteral("TSK:StartDate"), 2, QStringLiteral("@D17B"));
    MapField(QStringLiteral("TSK:DueDate"), 3, QStringLiteral("@D17B"));
    MapField(QStringLiteral("TSK:Priority"), PriorityColumn);
    MapField(QStringLiteral("TSK:CloseDate"), 5, QStringLiteral("@D17B"));
    if (createdBy)
        MapField(QStringLiteral("TSK:CreateLoginID"), 6);
}

void TaskRows::FillRow(ListRow& row)
{
    PrivateIconRows::FillRow(row);
    const int priority = int(row.record.Long(priorityField_));
    row.texts[PriorityColumn] = PriorityText(priority);
    row.style.ClearColours(PriorityColumn);
    if (priority == 1)
        row.style.SetColours(PriorityColumn, QColorFromColour(16777215), QColorFromColour(255));
}

void TaskOrders::AddTo(StandardBrowseList& list)
{
    const QString description = QStringLiteral("TSK:Description");
    orders.AddTo(list, {{QStringLiteral("TSK:DescriptionK"), description},
                        {QStringLiteral("TSK:StartDateK"), QStringLiteral("TSK:StartDate")},
                        {QStringLiteral("TSK:DueDateK"), QStringLiteral("TSK:DueDate")},
                        {QStringLiteral("TSK:EnterDateK"), QStringLiteral("TSK:CreateDate")},
                        {QStringLiteral("TSK:PriorityK"), QStringLiteral("TSK:Priority")},
                        {QStringLiteral("TSK:CloseDateK"), QStringLiteral("TSK:CloseDate")},
                        {QStringLiteral("TSK:DescriptionK"), description}});
}

TabsAndList DescribeTaskTabsAndList(WindowDescription& window, bool createdBy)
{
    QStringList columns{QStringLiteral("Description"), QStringLiteral("Start Date"),
                        QStringLiteral("Due Date"), QStringLiteral("Priority"), QStringLiteral("Close Date")};
    if (createdBy)
        columns << QStringLiteral("Created By");
    return DescribeOrderTabsAndList(window, QStringLiteral("TaskSortOrder"),
                                    {QStringLiteral("by Description"), QStringLiteral("by Start Date"),
                                     QStringLiteral("by Due Date"), QStringLiteral("by Enter Date"),
                                     QStringLiteral("by Priority"), QStringLiteral("by Close Date")},
                                    columns);
}

} // namespace jornix
