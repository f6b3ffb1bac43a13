#include "organizer/SelectContact.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "organizer/ContactLists.h"
#include "organizer/KeyedList.h"
#include "organizer/OrganizerSelectList.h"

namespace jornix {
namespace {

class SelectContactWindow : public KeyedList<OrganizerSelectList, ContactRows, ContactOrders>
{
public:
    SelectContactWindow()
        : KeyedList({.procedure = QStringLiteral("SelectContact"),
                     .caption = QStringLiteral("Select Contact"),
                     .area = AccessArea::Contacts,
                     .areaWords = QStringLiteral("Contacts"),
                     .relations = RelationsCON,
                     .helpTopic = QStringLiteral("contacts.htm")},
                    DescribeContactTabsAndList)
    {
    }
};

} // namespace

void SelectContact()
{
    RunProcedure<SelectContactWindow>();
}

} // namespace jornix
