#include "organizer/SelectScrap.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardList.h"
#include "organizer/OrganizerLists.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"

namespace jornix {
namespace {

// A dialog with a list, but no select list: choosing a row (a double click) never ends it.
class SelectScrapWindow : public StandardList
{
public:
    View view{AccessSCR->GetTable()};
    PrivateIconRows brw;
    DescriptionAndDateOrders orders;
    int sheet = 0, list = 0, copyButton = 0, closeButton = 0, helpButton = 0;

    SelectScrapWindow()
        : StandardList(QStringLiteral("SelectScrap"), QStringLiteral("Select Scrap"), WindowType::Dialog)
    {
        const TabsAndList described = DescribeTabsAndList(window, QStringLiteral("Enter Date"));
        sheet = described.sheet;
        list = described.list;
        SetRoomFor(window.Widget(list), 50, 12);
        window.Row([&] { // the help button at the left end, the others at the right
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            window.Spacer();
            copyButton = window.Button(QStringLiteral("Cop&y to Clipboard"), QStringLiteral("RTFCopy.gif"))
                             .Name(QStringLiteral("CopyToClipboard"));
            closeButton = window.Button(QStringLiteral("Close"), QStringLiteral("CancelButton.gif"));
        });
        SetArea(CurrentUserAccess[AccessArea::ScrapBook], QStringLiteral("the Scrap Book"));
        UseTable(*RelationsSCR);
        KeepPlacement();
        KeepMinimumSize();
        SetFirstField(list);
        SetHelp(QStringLiteral("scrapbook.htm"), helpButton);
        SetList(brw, view, *RelationsSCR, list);
        brw.SetButtons({.needRows = {copyButton}});
        SetSheet(sheet);
    }

    int OnAccepted(int control) override
    {
        if (control == copyButton) {
            if (window.IsEnabled(control)) {
                Update(); // the highlighted scrap, with its text, into the buffer
                CopyScrapToClipboard();
            }
            return Level::Handled;
        }
        return StandardList::OnAccepted(control);
    }

protected:
    int SetUpForm() override
    {
        AddButtonAction(closeButton, Response::Cancelled);
        return StandardList::SetUpForm();
    }

    void SetUpListOrders() override
    {
        orders.AddTo(brw, QStringLiteral("SCR:"));
        brw.SetUpColumns(QStringLiteral("SCR:"));
        brw.MapField(QStringLiteral("SCR:CreateDate"), 2, QStringLiteral("@D17")); // day 0 too is a date
    }
};

} // namespace

void SelectScrap()
{
    RunProcedure<SelectScrapWindow>();
}

} // namespace jornix
