#include "organizer/Tasks.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerList.h"
#include "organizer/RoomFor.h"
#include "organizer/TaskLists.h"

namespace jornix {
namespace {

class TasksWindow : public OrganizerListWindow
{
public:
    TaskRows brw;

    TasksWindow()
        : OrganizerListWindow({.procedure = QStringLiteral("Tasks"),
                               .caption = QStringLiteral("Tasks"),
                               .area = AccessArea::Tasks,
                               .areaWords = QStringLiteral("Tasks"),
                               .kind = WindowKind::Tasks,
                               .relations = RelationsTSK,
                               .form = QStringLiteral("UpdateTask"),
                               .printArea = 2,
                               .helpTopic = QStringLiteral("tasks.htm")})
    {
        const TabsAndList described = DescribeTaskTabsAndList(window, true);
        SetRoomFor(window.Widget(described.list), 120, 14); // every tab and column shows
        SetUpList(brw, described);
    }

protected:
    void SetUpListOrders() override
    {
        orders_.AddTo(brw);
        brw.SetUpColumns(true);
    }

private:
    TaskOrders orders_;
};

} // namespace

void Tasks()
{
    RunProcedure<TasksWindow>();
}

} // namespace jornix
