#include "organizer/Tasks.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/KeyedList.h"
#include "organizer/OrganizerList.h"
#include "organizer/TaskLists.h"

namespace jornix {
namespace {

class TasksWindow : public KeyedList<OrganizerListWindow, TaskRows, TaskOrders>
{
public:
    TasksWindow()
        : KeyedList({.procedure = QStringLiteral("Tasks"),
                     .caption = QStringLiteral("Tasks"),
                     .area = AccessArea::Tasks,
                     .areaWords = QStringLiteral("Tasks"),
                     .kind = WindowKind::Tasks,
                     .relations = RelationsTSK,
                     .form = QStringLiteral("UpdateTask"),
                     .printArea = 2,
                     .helpTopic = QStringLiteral("tasks.htm")},
                    DescribeTaskTabsAndList)
    {
    }
};

} // namespace

void Tasks()
{
    RunProcedure<TasksWindow>();
}

} // namespace jornix
