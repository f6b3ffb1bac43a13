#include "organizer/OrganizerSelectList.h"

#include "core/SharedState.h"
#include "organizer/FormButtons.h"
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
    const FormButtons buttons = DescribeFormButtons(window, {}, QStringLiteral("&Select"));
    helpButton = buttons.help;
    selectButton = buttons.ok;
    cancelButton = buttons.cancel;
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
