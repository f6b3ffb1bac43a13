#include "organizer/ContactLists.h"

namespace jornix {

void ContactRows::SetUpColumns(bool createdBy)
{
    SetUpPrivateIcon(QStringLiteral("CON:"));
    MapField(QStringLiteral("CON:LName"), 1);
    MapField(QStringLiteral("CON:FName"), 2);
    MapField(QStringLiteral("CON:Company"), 3);
    MapField(QStringLiteral("CON:City"), 4);
    MapField(QStringLiteral("CON:State"), 5);
    MapField(QStringLiteral("CON:Email"), 6);
    if (createdBy)
        MapField(QStringLiteral("CON:CreateLoginID"), 7);
}

void ContactOrders::AddTo(StandardBrowseList& list)
{
    const QString lastName = QStringLiteral("CON:LName");
    orders.AddTo(list, {{QStringLiteral("CON:LNameK"), lastName},
                        {QStringLiteral("CON:CompanyK"), QStringLiteral("CON:Company")},
                        {QStringLiteral("CON:CityK"), QStringLiteral("CON:City")},
                        {QStringLiteral("CON:StateK"), QStringLiteral("CON:State")},
                        {QStringLiteral("CON:EmailK"), QStringLiteral("CON:Email")},
                        {QStringLiteral("CON:LNameK"), lastName}});
}

TabsAndList DescribeContactTabsAndList(WindowDescription& window, bool createdBy)
{
    QStringList columns{QStringLiteral("Last Name"), QStringLiteral("First Name"), QStringLiteral("Company"),
                        QStringLiteral("City"),      QStringLiteral("State"),      QStringLiteral("E-Mail")};
    if (createdBy)
        columns << QStringLiteral("Created By");
    return DescribeOrderTabsAndList(window, QStringLiteral("ContactSortOrder"),
                                    {QStringLiteral("by Last Name"), QStringLiteral("by Company"),
                                     QStringLiteral("by City"), QStringLiteral("by State"),
                                     QStringLiteral("by E-Mail")},
                                    columns);
}

} // namespace jornix
