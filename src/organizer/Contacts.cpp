#include "organizer/Contacts.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/ContactLists.h"
#include "organizer/OrganizerList.h"
#include "organizer/RoomFor.h"

namespace jornix {
namespace {

class ContactsWindow : public OrganizerListWindow
{
public:
    ContactRows brw;

    ContactsWindow()
        : OrganizerListWindow({.procedure = QStringLiteral("Contacts"),
                               .caption = QStringLiteral("Contacts"),
                               .area = AccessArea::Contacts,
                               .areaWords = QStringLiteral("Contacts"),
                               .kind = WindowKind::Contacts,
                               .relations = RelationsCON,
                               .form = QStringLiteral("UpdateContact"),
                               .printArea = 3,
                               .helpTopic = QStringLiteral("contacts.htm")})
    {
        const TabsAndList described = DescribeContactTabsAndList(window, true);
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
    ContactOrders orders_;
};

} // namespace

void Contacts()
{
    RunProcedure<ContactsWindow>();
}

} // namespace jornix
