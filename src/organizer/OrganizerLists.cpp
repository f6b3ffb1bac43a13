#include "organizer/OrganizerLists.h"

#include "core/DataLayer.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/Picture.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/store/Table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

namespace jornix {

void PrivateIconRows::SetUpPrivateIcon(const QString& prefix)
{
    const QString flag = prefix + QStringLiteral("Private");
    SetPrivateFields(flag, prefix + QStringLiteral("UniqueID"));
    flagField_ = ListView().ViewTable().RequireField(flag);
    SetIcons({QStringLiteral("~private.bmp")});
    MapIcon({}, 0);
}

void PrivateIconRows::SetUpColumns(const QString& prefix)
{
    SetUpPrivateIcon(prefix);
    MapField(prefix + QStringLiteral("Description"), 1);
}

void PrivateIconRows::FillRow(ListRow& row)
{
    StandardBrowseList::FillRow(row);
    row.icons[0] = flagField_ >= 0 && row.record.Long(flagField_) != 0 ? 1 : 0;
}

void KeyOrders::AddTo(StandardBrowseList& list, std::initializer_list<std::pair<QString, QString>> orders)
{
    const Table& table = list.ListView().ViewTable();
    for (const auto& [key, field] : orders) {
        list.AddOrder(table.KeyIndex(key));
        locators_.push_back(std::make_unique<ListLocator>());
        list.SetLocator(*locators_.back());
        locators_.back()->Init(0, field, true, list);
    }
}

void DescriptionAndDateOrders::AddTo(StandardBrowseList& list, const QString& prefix)
{
    const QString byDescription = prefix + QStringLiteral("DescriptionK");
    const QString description = prefix + QStringLiteral("Description");
    orders.AddTo(list, {{byDescription, description},
                        {prefix + QStringLiteral("EnterDateK"), prefix + QStringLiteral("CreateDate")},
                        {byDescription, description}});
}

TabsAndList DescribeOrderTabsAndList(WindowDescription& window, const QString& sheetName,
                                     const QStringList& tabs, const QStringList& columns)
{
    TabsAndList described;
    described.sheet = window
                          .Sheet([&] {
                              for (const QString& tab : tabs)
                                  window.Tab(tab, [] {});
                          })
                          .Name(sheetName);
    std::vector<ListColumn> listColumns{{QString(), {}, Qt::AlignLeft}};
    for (const QString& title : columns)
        listColumns.push_back({title, {}, Qt::AlignLeft});
    described.list = window.List(std::move(listColumns))
                         .Tip(QStringLiteral("Browsing Records"))
                         .Name(QStringLiteral("List"))
                         .Stretch();
    return described;
}

TabsAndList DescribeTabsAndList(WindowDescription& window, const QString& thirdColumn)
{
    return DescribeOrderTabsAndList(window, QStringLiteral("Sheet"),
                                    {QStringLiteral("by Description"), QStringLiteral("by Enter Date")},
                                    {QStringLiteral("Description"), thirdColumn});
}

Control DescribeIconButton(WindowDescription& window, const QString& tip, const QString& image)
{
    return window.Button({}, image).Tip(tip).Name(tip);
}

void CopyScrapToClipboard()
{
    QGuiApplication::clipboard()->setText(
        StripTrailingBlanks(AccessSCR->Buffer().Value(QStringLiteral("SCR:Scrap")).toString()));
}

} // namespace jornix
