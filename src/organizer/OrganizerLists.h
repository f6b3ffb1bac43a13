#pragma once

#include "core/StandardBrowseList.h"
#include "platform/framework/ListLocator.h"

#include <QString>

// What the lists of the scrap book and of the sticky notes share.
namespace jornix {

// A list of three columns: the private icon on every record whose private flag is not 0, the description,
// which takes the room to spare, and a third that the window maps.
class PrivateIconRows : public StandardBrowseList
{
public:
    // The table's prefix ("SCR:"): its private flag and creator's unique id are "Private" and "UniqueID".
    void SetUpColumns(const QString& prefix);
    void FillRow(ListRow& row) override;

private:
    int flagField_ = -1;
};

// The orders of the tabs "by Description" and "by Enter Date": 1 by description, 2 by creation date and
// then description, each with a locator on its first field that ignores case; any other tab by description.
struct DescriptionAndDateOrders
{
    void AddTo(StandardBrowseList& list, const QString& prefix);

    ListLocator byDescription, byEnterDate, otherwise;
};

// Describes the tabs "by Description" and "by Enter Date" and, right under them, the list of three columns:
// the private icon, "Description" and the third column's title.
struct TabsAndList
{
    int sheet = 0;
    int list = 0;
};
TabsAndList DescribeTabsAndList(WindowDescription& window, const QString& thirdColumn);

// Puts the scrap text of the running thread's scrap buffer on the clipboard as plain text, without its
// trailing blanks; an empty scrap puts an empty text there.
void CopyScrapToClipboard();

} // namespace jornix
