#include "organizer/UpdateScrap.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "organizer/FormButtons.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"

namespace jornix {
namespace {

class UpdateScrapWindow : public StandardForm
{
public:
    int description = 0, scrap = 0, privateBox = 0, okButton = 0, cancelButton = 0, helpButton = 0;

    UpdateScrapWindow() : StandardForm(QStringLiteral("UpdateScrap"), QStringLiteral("Scrap"))
    {
        SetRecord(*RelationsSCR);
        window.Row([&] {
            window.Prompt(QStringLiteral("&Description:"));
            description = window.Entry(BindField(*AccessSCR, "SCR:Description"), QStringLiteral("@s255"))
                              .Tip(QStringLiteral("Description"))
                              .Stretch();
            window.Display(BindField(*AccessSCR, "SCR:Num"), QStringLiteral("@n-14"));
        });
        window.Prompt(QStringLiteral("&Scrap:"));
        scrap = window.TextBox(BindField(*AccessSCR, "SCR:Scrap"), 32000).Tip(QStringLiteral("Scrap"));
        SetRoomFor(window.Widget(scrap), 60, 12);
        DescribeStamps();
        privateBox = window.Check(QStringLiteral("Private"), BindField(*AccessSCR, "SCR:Private"))
                         .Tip(QStringLiteral("Private"));
        const FormButtons buttons = DescribeFormButtons(window);
        helpButton = buttons.help;
        okButton = buttons.ok;
        cancelButton = buttons.cancel;
        CheckAccess(CurrentUserAccess[AccessArea::ScrapBook], QStringLiteral("the Scrap Book"), true);
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("SCR:Description"));
        SetPrivateBox(privateBox);
        SetHelp(QStringLiteral("editingscrap.htm"), helpButton);
        KeepPlacement();
        KeepMinimumSize();
    }
};

} // namespace

void UpdateScrap()
{
    RunProcedure<UpdateScrapWindow>();
}

} // namespace jornix
