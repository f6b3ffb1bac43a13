#include "organizer/OrganizerLists.h"

#include "core/DataLayer.h"
#include "platform/framework/FileManager.h"
#include "platform/store/Table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeView>

namespace jornix {

void PrivateIconRows::SetUpColumns(const QString& prefix)
{
    const QString flag = prefix + QStringLiteral("Private");
    SetPrivateFields(flag, prefix + QStringLiteral("UniqueID"));
    flagField_ = ListView().ViewTable().RequireField(flag);
    SetIcons({QStringLiteral("~private.bmp")});
    MapIcon({}, 0);
    MapField(prefix + QStringLiteral("Description"), 1);
    // The icon column is just wide enough for the icon; the description takes the room to spare.
    if (QTreeView* tree = Widget()) {
        const int icon = tree->iconSize().isValid() ? tree->iconSize().width() : 16;
        QHeaderView* header = tree->header();
        header->setSectionResizeMode(0, QHeaderView::Fixed);
        header->resizeSection(0, icon + 12);
        header->setStretchLastSection(false);
        header->setSectionResizeMode(1, QHeaderView::Stretch);
        header->resizeSection(2, tree->fontMetrics().averageCharWidth() * 18);
    }
}

void PrivateIconRows::FillRow(ListRow& row)
{
    StandardBrowseList::FillRow(row);
    row.icons[0] = flagField_ >= 0 && row.record.Long(flagField_) != 0 ? 1 : 0;
}

void DescriptionAndDateOrders::AddTo(StandardBrowseList& list, const QString& prefix)
{
    const Table& table = list.ListView().ViewTable();
    const QString description = prefix + QStringLiteral("Description");
    list.AddOrder(table.KeyIndex(prefix + QStringLiteral("DescriptionK")));
    list.SetLocator(byDescription);
    byDescription.Init(0, description, true, list);
    list.AddOrder(table.KeyIndex(prefix + QStringLiteral("EnterDateK")));
    list.SetLocator(byEnterDate);
    byEnterDate.Init(0, prefix + QStringLiteral("CreateDate"), true, list);
    list.AddOrder(table.KeyIndex(prefix + QStringLiteral("DescriptionK")));
    list.SetLocator(otherwise);
    otherwise.Init(0, description, true, list);
}

TabsAndList DescribeTabsAndList(WindowDescription& window, const QString& thirdColumn)
{
    TabsAndList described;
    described.sheet = window
                          .Sheet([&] {
                              window.Tab(QStringLiteral("by Description"), [] {});
                              window.Tab(QStringLiteral("by Enter Date"), [] {});
                          })
                          .Name(QStringLiteral("Sheet"));
    described.list = window
                         .List({{QString(), {}, Qt::AlignLeft},
                                {QStringLiteral("Description"), {}, Qt::AlignLeft},
                                {thirdColumn, {}, Qt::AlignLeft}})
                         .Tip(QStringLiteral("Browsing Records"))
                         .Name(QStringLiteral("List"))
                         .Stretch();
    return described;
}

void CopyScrapToClipboard()
{
    QString text = AccessSCR->Buffer().Value(QStringLiteral("SCR:Scrap")).toString();
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    QGuiApplication::clipboard()->setText(text);
}

} // namespace jornix
