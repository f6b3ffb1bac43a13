#include "organizer/SelectTask.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/KeyedList.h"
#include "organizer/OrganizerSelectList.h"
#include "organizer/TaskLists.h"

namespace jornix {
namespace {

class SelectTaskWindow : public KeyedList<OrganizerSelectList, TaskRows, TaskOrders>
{
public:
    SelectTaskWindow()
        : KeyedList({.procedure = QStringLiteral("SelectTask"),
                     .caption = QStringLiteral("Select Task"),
                     .area = AccessArea::Tasks,
                     .areaWords = QStringLiteral("Tasks"),
                     .relations = RelationsTSK,
                     .helpTopic = QStringLiteral("tasks.htm")},
                    DescribeTaskTabsAndList)
    {
    }
};

} // namespace

void SelectTask()
{
    RunProcedure<SelectTaskWindow>();
}

} // namespace jornix
