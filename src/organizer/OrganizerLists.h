#pragma once

#include "core/StandardBrowseList.h"
#include "platform/framework/ListLocator.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// What the organizer's lists share.
namespace jornix {

// A list whose first column shows the private icon on every record whose private flag is not 0.
class PrivateIconRows : public StandardBrowseList
{
public:
    // The table's prefix ("SCR:"): its private flag and creator's unique id are "Private" and "UniqueID".
    // Maps the icon column.
    void SetUpPrivateIcon(const QString& prefix);
    // The private icon, the description and a third column that the window maps.
    void SetUpColumns(const QString& prefix);
    void FillRow(ListRow& row) override;

private:
    int flagField_ = -1;
};

// The orders of a list by keys of its table, each with a locator on a field that ignores case; the order
// added last also serves any other tab.
class KeyOrders
{
public:
    // Pairs of key name and locator field, with the table's prefix.
    void AddTo(StandardBrowseList& list, std::initializer_list<std::pair<QString, QString>> orders);

private:
    std::vector<std::unique_ptr<ListLocator>> locators_;
};

// The orders of the tabs "by Description" and "by Enter Date": 1 by description, 2 by creation date and
// then description; any other tab by description.
struct DescriptionAndDateOrders
{
    void AddTo(StandardBrowseList& list, const QString& prefix);

    KeyOrders orders;
};

struct TabsAndList
{
    int sheet = 0;
    int list = 0;
};
// Describes a sheet of order tabs and, right under it, the list with its columns; the first column, without
// a title, carries the private icon.
TabsAndList DescribeOrderTabsAndList(WindowDescription& window, const QString& sheetName,
                                     const QStringList& tabs, const QStringList& columns);
// The tabs "by Description" and "by Enter Date" and the list of three columns: the private icon,
// "Description" and the third column's title.
TabsAndList DescribeTabsAndList(WindowDescription& window, const QString& thirdColumn);

// A button of a pane that shows only its image and says what it does in its tip, which also names it.
Control DescribeIconButton(WindowDescription& window, const QString& tip, const QString& image);

// Puts the scrap text of the running thread's scrap buffer on the clipboard as plain text, without its
// trailing blanks; an empty scrap puts an empty text there.
void CopyScrapToClipboard();

} // namespace jornix
