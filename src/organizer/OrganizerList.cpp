#include "organizer/OrganizerList.h"

#include "core/Banner.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

namespace jornix {

OrganizerListWindow::OrganizerListWindow(const OrganizerListSetup& setup)
    : StandardList(setup.procedure, setup.caption), view(setup.relations->Access().GetTable()), setup_(setup)
{
    DescribeBanner(window, setup.caption);
}

void OrganizerListWindow::SetUpList(StandardBrowseList& rows, const TabsAndList& described)
{
    sheet = described.sheet;
    list = described.list;
    window.Buttons([&] {
        copyButton = window.Button(QStringLiteral("&Copy"), QStringLiteral("WIZDITTO.gif"));
        insertButton = window.Button(QStringLiteral("&Insert"), QStringLiteral("WIZINS.gif"));
        changeButton = window.Button(QStringLiteral("&Change"), QStringLiteral("WIZEDIT.gif"));
        deleteButton = window.Button(QStringLiteral("&Delete"), QStringLiteral("WIZDEL.gif"));
        printButton = window.Button(QStringLiteral("&Print"), QStringLiteral("wizprint.gif"));
        helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
    });
    SetArea(CurrentUserAccess[std::size_t(setup_.area)], setup_.areaWords);
    RegisterKind(WindowThreadRegistry[std::size_t(setup_.kind)]);
    UseTable(*setup_.relations);
    KeepPlacement();
    KeepMinimumSize();
    SetHelp(setup_.helpTopic, helpButton);
    SetList(rows, view, *setup_.relations, list);
    list_->SetButtons({.insert = insertButton,
                       .change = changeButton,
                       .remove = deleteButton,
                       .copy = copyButton,
                       .print = printButton});
    SetSheet(sheet);
    SetForm([form = setup_.form] { CallProcedure(form); });
    SetPrint([area = setup_.printArea](qint32 number) { PrintRec(area, number); });
}

OrganizerList::OrganizerList(const OrganizerListSetup& setup)
    : OrganizerListWindow(setup), prefix_(view.ViewTable().Prefix() + QLatin1Char(':'))
{
    SetUpList(brw, DescribeTabsAndList(window, QStringLiteral("Created By")));
}

void OrganizerList::SetUpListOrders()
{
    orders_.AddTo(brw, prefix_);
    brw.SetUpColumns(prefix_);
    brw.MapField(prefix_ + QStringLiteral("CreateLoginID"), 2);
}

} // namespace jornix
