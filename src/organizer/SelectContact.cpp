#include "organizer/SelectContact.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/OrganizerSelectList.h"
#include "organizer/ContactLists.h"

namespace jornix {
namespace {

class SelectContactWindow : public OrganizerSelectList
{
public:
    ContactRows brw;

    SelectContactWindow()
        : OrganizerSelectList({.procedure = QStringLiteral("SelectContact"),
                               .caption = QStringLiteral("Select Contact"),
                               .area = AccessArea::Contacts,
                               .areaWords = QStringLiteral("Contacts"),
                               .relations = RelationsCON,
                               .helpTopic = QStringLiteral("contacts.htm")})
    {
        SetUpList(brw, DescribeContactTabsAndList(window, false));
    }

protected:
    void SetUpListOrders() override
    {
        orders_.AddTo(brw);
        brw.SetUpColumns(false);
    }

private:
    ContactOrders orders_;
};

} // namespace

void SelectContact()
{
    RunProcedure<SelectContactWindow>();
}

} // namespace jornix
