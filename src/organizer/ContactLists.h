#pragma once

#include "organizer/OrganizerLists.h"

// What the list of contacts and the contact select list share: the five order tabs and the columns.
namespace jornix {

// The contact rows: the private icon, last and first name, company, city, state, e-mail address, and who
// created the contact where the list shows it.
class ContactRows : public PrivateIconRows
{
public:
    void SetUpColumns(bool createdBy);
};

// The orders 1 to 5 of the tabs "by Last Name" (then first name), "by Company", "by City", "by State" (then
// zip) and "by E-Mail"; any other tab by last name.
struct ContactOrders
{
    void AddTo(StandardBrowseList& list);

    KeyOrders orders;
};

TabsAndList DescribeContactTabsAndList(WindowDescription& window, bool createdBy);

} // namespace jornix
