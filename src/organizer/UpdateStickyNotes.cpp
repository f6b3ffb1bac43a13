#include "organizer/UpdateStickyNotes.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "organizer/FormButtons.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/DayNumbers.h"

namespace jornix {
namespace {

class UpdateStickyNotesWindow : public StandardForm
{
public:
    int notes = 0, description = 0, showScraps = 0, okButton = 0, cancelButton = 0, privateBox = 0,
        helpButton = 0;

    UpdateStickyNotesWindow()
        : StandardForm(QStringLiteral("UpdateStickyNotes"), QStringLiteral("Sticky Note"))
    {
        SetRecord(*RelationsSTK);
        notes = window.TextBox(BindField(*AccessSTK, "STK:Notes"), 32000).Tip(QStringLiteral("Notes"));
        SetRoomFor(window.Widget(notes), 60, 12);
        window.Row([&] {
            window.Prompt(QStringLiteral("&Description:"));
            description = window.Entry(BindField(*AccessSTK, "STK:Description"), QStringLiteral("@s255"))
                              .Tip(QStringLiteral("Description"))
                              .Stretch();
            window.Display(BindField(*AccessSTK, "STK:Num"), QStringLiteral("@n-14"));
        });
        privateBox = window.Check(QStringLiteral("&Private"), BindField(*AccessSTK, "STK:Private"))
                         .Tip(QStringLiteral("Private"));
        DescribeStamps();
        const FormButtons buttons = DescribeFormButtons(window, [&] {
            showScraps = window.Button(QStringLiteral("Show &Scraps..."), QStringLiteral("scrapS.gif"))
                             .Name(QStringLiteral("ShowScraps"));
        });
        helpButton = buttons.help;
        okButton = buttons.ok;
        cancelButton = buttons.cancel;
        CheckAccess(CurrentUserAccess[AccessArea::StickyNotes], QStringLiteral("Sticky Notes"), true);
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("STK:Description"));
        SetPrivateBox(privateBox);
        SetShowScraps(showScraps);
        SetFirstField(notes);
        SetHelp(QStringLiteral("editingstickynotes.htm"), helpButton);
        KeepPlacement();
        KeepMinimumSize();
    }

protected:
    void SetUpWindow() override
    {
        StandardForm::SetUpWindow();
        if (REQUEST == Request::ViewOnly)
            window.Disable(showScraps);
        // The colours as the settings stand now; a form open already keeps its own.
        window.SetTextColor(notes, QColorFromColour(quint32(GLO.StickyNoteFGColor)));
        window.SetFillColor(notes, QColorFromColour(quint32(GLO.StickyNoteBGColor)));
    }
};

} // namespace

void UpdateStickyNotes()
{
    RunProcedure<UpdateStickyNotesWindow>();
}

} // namespace jornix
