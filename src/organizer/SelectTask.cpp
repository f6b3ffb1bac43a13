#include "organizer/SelectTask.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerSelectList.h"
#include "organizer/TaskLists.h"

namespace jornix {
namespace {

class SelectTaskWindow : public OrganizerSelectList
{
public:
    TaskRows brw;

    SelectTaskWindow()
        : OrganizerSelectList({.procedure = QStringLiteral("SelectTask"),
                               .caption = QStringLiteral("Select Task"),
                               .area = AccessArea::Tasks,
                               .areaWords = QStringLiteral("Tasks"),
                               .relations = RelationsTSK,
                               .helpTopic = QStringLiteral("tasks.htm")})
    {
        SetUpList(brw, DescribeTaskTabsAndList(window, false));
    }

protected:
    void SetUpListOrders() override
    {
        orders_.AddTo(brw);
        brw.SetUpColumns(false);
    }

private:
    TaskOrders orders_;
};

} // namespace

void SelectTask()
{
    RunProcedure<SelectTaskWindow>();
}

} // namespace jornix
