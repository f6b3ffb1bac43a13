#include "organizer/OrganizerSelectList.h"

#include "core/SharedState.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"

namespace jornix {

OrganizerSelectList::OrganizerSelectList(const OrganizerSelectSetup& setup)
    : SelectList(setup.procedure, setup.caption), view(setup.relations->Access().GetTable()), setup_(setup)
{
}

void OrganizerSelectList::SetUpList(StandardBrowseList& rows, const TabsAndList& described)
{
    sheet = described.sheet;
    list = described.list;
    SetRoomFor(window.Widget(list), 120, 16); // every tab and column shows
    window.Row([&] { // the help button at the left end, the others at the right
        helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        window.Spacer();
        selectButton = window.Button(QStringLiteral("&Select"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("Select"));
        cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                           .Name(QStringLiteral("Cancel"));
    });
    SetArea(CurrentUserAccess[std::size_t(setup_.area)], setup_.areaWords);
    UseTable(*setup_.relations);
    KeepPlacement();
    KeepMinimumSize();
    SetFirstField(list);
    SetHelp(setup_.helpTopic, helpButton);
    SetList(rows, view, *setup_.relations, list);
    SetSelectButtons(selectButton, cancelButton);
    SetSheet(sheet);
}

} // namespace jornix
