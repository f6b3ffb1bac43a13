#include "organizer/UpdateReminder.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "journal/SelectDate.h"
#include "journal/VoiceMessage.h"
#include "organizer/OrganizerForm.h"
#include "organizer/ReminderLink.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/MessageBox.h"

#include <QAbstractSpinBox>
#include <QDate>

namespace jornix {
namespace {

class UpdateReminderWindow : public OrganizerForm
{
public:
    int description = 0, reminderDate = 0, pickDate = 0, showReminder = 0, dismiss = 0, linkType = 0,
        showLink = 0, selectLink = 0, clearLink = 0, notes = 0, showScraps = 0;
    VoiceMessage voice;

    UpdateReminderWindow()
        : OrganizerForm(QStringLiteral("UpdateReminder"), QStringLiteral("Reminder"),
                        MiscRecordType::Reminder, *AccessREM, QStringLiteral("REM:")),
          voice(
              *this, QStringLiteral("r_"), [this] { return Field(QStringLiteral("REM:Num")).toInt(); },
              CurrentUserAccess[AccessArea::Reminders])
    {
        SetRecord(*RelationsREM);
        DescribeSheet([&] { DescribeGeneralTab(); });
        DescribeFoot();
        CheckAccess(CurrentUserAccess[AccessArea::Reminders], QStringLiteral("Reminders"), true);
        for (TableRelations* linked : {RelationsCON, RelationsLOG, RelationsTSK})
            UseTable(*linked);
        SetNameField(QStringLiteral("REM:Description"));
        SetShowScraps(showScraps);
        SetFirstField(description);
        SetHelp(QStringLiteral("editingreminders.htm"), helpButton);
    }

    void SetFieldDefaults() override
    {
        // Every new reminder, a copy too, falls on the day chosen in Date View; until then on today.
        SetField(QStringLiteral("REM:ReminderDate"), SelectedDate ? SelectedDate : Today());
        OrganizerForm::SetFieldDefaults();
    }

    int OnAccepted(int control) override
    {
        if (const int level = OrganizerForm::OnAccepted(control); level != Level::GoOn)
            return level;
        if (control == linkType)
            ChangeLinkType();
        else if (control == selectLink)
            SelectLink();
        else if (control == showLink)
            ShowLink();
        else if (control == clearLink)
            ClearLink();
        else if (control == pickDate)
            PickDate();
        return Level::GoOn;
    }

protected:
    void SetUpWindow() override
    {
        OrganizerForm::SetUpWindow();
        if (REQUEST == Request::ViewOnly) {
            // Following the link, playing and exporting the voice message stay possible.
            for (const int control : {pickDate, selectLink, clearLink, voice.Buttons().record,
                                      voice.Buttons().importButton, voice.Buttons().remove, showScraps})
                window.Disable(control);
            qobject_cast<QAbstractSpinBox*>(window.Widget(reminderDate))
                ->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
        LinkButtons();
        window.ShowValues();
    }

    int ValidateRecord() override
    {
        if (LinkTypeValue() > 0 && LinkNumber() == 0) {
            ShowMessageBox(
                MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Missing Link"),
                QStringLiteral("You must select the link or change the link type to \"No Link\"."));
            window.Select(selectLink);
            return Level::Handled;
        }
        return Level::GoOn;
    }

private:
    void DescribeGeneralTab()
    {
        window.Group(QStringLiteral("Reminder"), [&] {
            window.Prompt(QStringLiteral("&Description:"));
            description = window.Entry(BindField(*AccessREM, "REM:Description"), QStringLiteral("@s255"))
                              .Tip(QStringLiteral("Description"))
                              .Name(QStringLiteral("Description"));
            window.Row([&] {
                window.Prompt(QStringLiteral("&Reminder Date:"));
                reminderDate = window
                                   .Spin(BindField(*AccessREM, "REM:ReminderDate"), QStringLiteral("@D17B"),
                                         0, DayNumberFromDate(QDate(9999, 12, 31)))
                                   .Tip(QStringLiteral("Reminder Date"))
                                   .Name(QStringLiteral("ReminderDate"));
                pickDate = window.Button({}, QStringLiteral("pickdate.gif"))
                               .Tip(QStringLiteral("Select Date"))
                               .Name(QStringLiteral("PickReminderDate"));
                window.Spacer();
                showReminder =
                    window.Check(QStringLiteral("Sho&w Reminder"), BindField(*AccessREM, "REM:ShowReminder"))
                        .Name(QStringLiteral("ShowReminder"));
                dismiss = window.Check(QStringLiteral("&Dismiss"), BindField(*AccessREM, "REM:Dismiss"))
                              .Name(QStringLiteral("Dismiss"));
            });
        });
        window.Row([&] {
            window.Group(QStringLiteral("Links"), [&] {
                linkType = window
                               .Options(QStringLiteral("Link Type"), BindField(*AccessREM, "REM:LinkType"),
                                        [&] {
                                            window.Row([&] {
                                                window.Radio(QStringLiteral("No Link"), 0);
                                                window.Radio(QStringLiteral("Log Event"), 1);
                                                window.Radio(QStringLiteral("Contact"), 2);
                                                window.Radio(QStringLiteral("Task"), 3);
                                            });
                                        })
                               .Name(QStringLiteral("LinkType"));
                window.Row([&] {
                    showLink = window.Button(QStringLiteral("Show Link..."), QStringLiteral("viewlink.gif"))
                                   .Name(QStringLiteral("ShowLink"));
                    selectLink =
                        window.Button(QStringLiteral("Select Link..."), QStringLiteral("newlink.gif"))
                            .Name(QStringLiteral("SelectLink"));
                    clearLink = window.Button(QStringLiteral("Clear Link"), QStringLiteral("dellink.gif"))
                                    .Name(QStringLiteral("ClearLink"));
                    window.Spacer();
                });
            });
            voice.Describe();
        });
        window.Group(QStringLiteral("&Notes"), [&] {
            notes = window.TextBox(BindField(*AccessREM, "REM:Notes"), 32000)
                        .Tip(QStringLiteral("Notes"))
                        .Name(QStringLiteral("Notes"));
            SetRoomFor(window.Widget(notes), 60, 6);
            window.Row([&] {
                window.Spacer();
                showScraps = window.Button(QStringLiteral("Show &Scraps..."), QStringLiteral("scrapS.gif"))
                                 .Name(QStringLiteral("ShowScraps"));
            });
        });
    }

    int LinkTypeValue() const { return Field(QStringLiteral("REM:LinkType")).toInt(); }
    qint32 LinkNumber() const { return Field(QStringLiteral("REM:LinkNum")).toInt(); }
    void SetLink(int type, qint32 number)
    {
        SetField(QStringLiteral("REM:LinkType"), type);
        SetField(QStringLiteral("REM:LinkNum"), number);
    }

    // The link buttons by the link; a type without a record has no number. The type as it stands now is
    // the one a refused change of type goes back to.
    void LinkButtons()
    {
        if (LinkTypeValue() == 0)
            SetField(QStringLiteral("REM:LinkNum"), 0);
        const bool typed = LinkTypeValue() != 0;
        const bool linked = typed && LinkNumber() != 0;
        const bool full = AccessLevel() == 2 && REQUEST != Request::ViewOnly;
        window.Enable(selectLink, typed && full);
        window.Enable(showLink, linked);
        window.Enable(clearLink, linked && full);
        previousLinkType_ = LinkTypeValue();
        window.ShowValues(linkType);
    }

    bool AskRemoveLink(const QString& text)
    {
        return ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                              QStringLiteral("Remove Link?"), text, MessageButton::Yes) == MessageButton::Yes;
    }

    void ChangeLinkType()
    {
        Update();
        const int type = LinkTypeValue();
        if (LinkNumber() > 0 && type != previousLinkType_) {
            const QString text =
                type == 0 ? QStringLiteral("A link was previously defined. Are you sure you want to remove "
                                           "the link?")
                          : QStringLiteral("You are about to switch to a different link type. Doing so will "
                                           "remove the current link. Are you sure you want to remove the "
                                           "link?");
            if (AskRemoveLink(text))
                SetField(QStringLiteral("REM:LinkNum"), 0);
            else
                SetField(QStringLiteral("REM:LinkType"), previousLinkType_);
        }
        LinkButtons();
    }

    void SelectLink()
    {
        Update();
        qint32 number = LinkNumber(); // what stays when no record is chosen
        SelectLinkedRecord(LinkTypeValue(), number);
        SetField(QStringLiteral("REM:LinkNum"), number);
        LinkButtons();
    }

    void ShowLink()
    {
        Update();
        if (FollowLink(LinkTypeValue(), LinkNumber()) == LinkResult::Missing && AccessLevel() == 2 &&
            REQUEST != Request::ViewOnly) {
            SetLink(0, 0); // reaches the table only when the form is completed
            LinkButtons();
        }
    }

    void ClearLink()
    {
        Update();
        if (AskRemoveLink(QStringLiteral("Are you sure you want to remove the link?")))
            SetField(QStringLiteral("REM:LinkNum"), 0);
        LinkButtons();
    }

    void PickDate()
    {
        Update();
        const int date = Field(QStringLiteral("REM:ReminderDate")).toInt();
        SetField(QStringLiteral("REM:ReminderDate"),
                 SelectDate(date ? date : Today(), QStringLiteral("Select Reminder Date")));
        window.ShowValues(reminderDate);
    }

    int previousLinkType_ = 0;
};

} // namespace

void UpdateReminder()
{
    RunProcedure<UpdateReminderWindow>();
}

} // namespace jornix
