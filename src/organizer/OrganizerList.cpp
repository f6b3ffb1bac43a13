#include "organizer/OrganizerList.h"

#include "core/Banner.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

namespace jornix {

OrganizerList::OrganizerList(const OrganizerListSetup& setup)
    : StandardList(setup.procedure, setup.caption), view(setup.relations->Access().GetTable()),
      prefix_(view.ViewTable().Prefix() + QLatin1Char(':'))
{
    DescribeBanner(window, setup.caption);
    const TabsAndList described = DescribeTabsAndList(window, QStringLiteral("Created By"));
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
    SetArea(CurrentUserAccess[std::size_t(setup.area)], setup.areaWords);
    RegisterKind(WindowThreadRegistry[std::size_t(setup.kind)]);
    UseTable(*setup.relations);
    KeepPlacement();
    KeepMinimumSize();
    SetHelp(setup.helpTopic, helpButton);
    SetList(brw, view, *setup.relations, list);
    SetListButtons(insertButton, changeButton, deleteButton, copyButton, printButton);
    SetSheet(sheet);
    SetForm([form = setup.form] { CallProcedure(form); });
    SetPrint([area = setup.printArea](qint32 number) { PrintRec(area, number); });
}

void OrganizerList::SetUpListOrders()
{
    orders_.AddTo(brw, prefix_);
    brw.SetUpColumns(prefix_);
    brw.MapField(prefix_ + QStringLiteral("CreateLoginID"), 2);
}

} // namespace jornix
