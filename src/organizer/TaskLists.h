#pragma once

#include "organizer/OrganizerLists.h"

#include <QString>

// What the list of tasks and the task select list share: the six order tabs, the columns and the row with
// its priority in colour.
namespace jornix {

// The text of a task's priority: "High", "Medium", "Low" for 1 to 3, blank for any other code.
QString PriorityText(int priority);

// The task rows: the private icon, the description, start, due and close dates (blank while 0), the
// priority as text, and who created the task where the list shows it. A High priority is white on red,
// also in the selected row; the other priorities keep the list's colours.
class TaskRows : public PrivateIconRows
{
public:
    static constexpr int PriorityColumn = 4;

    void SetUpColumns(bool createdBy);
    void FillRow(ListRow& row) override;

private:
    int priorityField_ = -1;
};

// The orders 1 to 6 of the tabs "by Description" ... "by Close Date"; any other tab by description. Every
// order but the first ends with the description.
struct TaskOrders
{
    void AddTo(StandardBrowseList& list);

    KeyOrders orders;
};

TabsAndList DescribeTaskTabsAndList(WindowDescription& window, bool createdBy);

} // namespace jornix
