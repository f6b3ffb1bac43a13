#include "organizer/Contacts.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/ContactLists.h"
#include "organizer/KeyedList.h"
#include "organizer/OrganizerList.h"

namespace jornix {
namespace {

class ContactsWindow : public KeyedList<OrganizerListWindow, ContactRows, ContactOrders>
{
public:
    ContactsWindow()
        : KeyedList({.procedure = QStringLiteral("Contacts"),
                     .caption = QStringLiteral("Contacts"),
                     .area = AccessArea::Contacts,
                     .areaWords = QStringLiteral("Contacts"),
                     .kind = WindowKind::Contacts,
                     .relations = RelationsCON,
                     .form = QStringLiteral("UpdateContact"),
                     .printArea = 3,
                     .helpTopic = QStringLiteral("contacts.htm")},
                    DescribeContactTabsAndList)
    {
    }
};

} // namespace

void Contacts()
{
    RunProcedure<ContactsWindow>();
}

} // namespace jornix
