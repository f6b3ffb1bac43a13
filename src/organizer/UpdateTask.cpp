#include "organizer/UpdateTask.h"

#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "journal/SelectDate.h"
#include "journal/VoiceMessage.h"
#include "organizer/OrganizerForm.h"
#include "organizer/RoomFor.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"

#include <QDate>

namespace jornix {
namespace {

class UpdateTaskWindow : public OrganizerForm
{
public:
    VoiceMessage voice;
    int description = 0, completed = 0, pickCloseDate = 0, closeDatePrompt = 0, priority = 0, closeDate = 0,
        dueDate = 0, pickDueDate = 0, startDate = 0, pickStartDate = 0, notes = 0, showScraps = 0;

    UpdateTaskWindow()
        : OrganizerForm(QStringLiteral("UpdateTask"), QStringLiteral("Task"), MiscRecordType::Task,
                        *AccessTSK, QStringLiteral("TSK:")),
          voice(
              *this, QStringLiteral("t_"), [this] { return Field(QStringLiteral("TSK:Num")).toInt(); },
              CurrentUserAccess[AccessArea::Tasks])
    {
        SetRecord(*RelationsTSK);
        DescribeSheet([&] { DescribeGeneral(); });
        DescribeFoot(QStringLiteral("Create on"));
        CheckAccess(CurrentUserAccess[AccessArea::Tasks], QStringLiteral("Tasks"), true);
        SetNameField(QStringLiteral("TSK:Description"));
        SetShowScraps(showScraps);
        SetFirstField(description);
        SetHelp(QStringLiteral("editingtasks.htm"), helpButton);
    }

    int OnAccepted(int control) override
    {
        if (control == completed) {
            if (AccessLevel() == 2 && Field(QStringLiteral("TSK:Completed")).toInt() != 0 &&
                Field(QStringLiteral("TSK:CloseDate")).toInt() == 0) {
                SetField(QStringLiteral("TSK:CloseDate"), Today());
                window.ShowValues(closeDate);
            }
            CloseDateState();
            return Level::Handled;
        }
        const struct
        {
            int button, spin;
            const char* field;
            const char* title;
        } pickers[] = {{pickCloseDate, closeDate, "TSK:CloseDate", "Select Task Close Date"},
                       {pickDueDate, dueDate, "TSK:DueDate", "Select Task Due Date"},
                       {pickStartDate, startDate, "TSK:StartDate", "Select Task Star Date"}};
        for (const auto& picker : pickers) {
            if (control != picker.button)
                continue;
            Update();
            const QString field = QString::fromLatin1(picker.field);
            int date = Field(field).toInt();
            if (date == 0)
                date = Today();
            SetField(field, SelectDate(date, QString::fromLatin1(picker.title)));
            window.ShowValues(picker.spin);
            return Level::Handled;
        }
        return OrganizerForm::OnAccepted(control);
    }

protected:
    void SetUpWindow() override
    {
        OrganizerForm::SetUpWindow();
        if (REQUEST == Request::ViewOnly) {
            for (const int button : {pickCloseDate, pickDueDate, pickStartDate, showScraps})
                window.Disable(button);
        }
        CloseDateState();
    }

private:
    void DescribeGeneral()
    {
        window.Group(QStringLiteral("Task"), [&] {
            window.Prompt(QStringLiteral("&Description:"));
            description = window.Entry(BindField(*AccessTSK, "TSK:Description"), QStringLiteral("@s255"))
                              .Tip(QStringLiteral("Description"));
            window.Row([&] {
                completed = window.Check(QStringLiteral("Co&mpleted"), BindField(*AccessTSK, "TSK:Completed"))
                                .Tip(QStringLiteral("Completed"));
                window.Spacer();
                closeDatePrompt = window.Prompt(QStringLiteral("&Close Date:"))
                                      .Name(QStringLiteral("CloseDatePrompt"))
                                      .Disable();
                closeDate = DateSpin("TSK:CloseDate", QStringLiteral("Close Date"));
                pickCloseDate = PickButton(QStringLiteral("PickCloseDate")).Disable();
            });
            priority = window
                           .Options(QStringLiteral("Priorit&y"), BindField(*AccessTSK, "TSK:Priority"),
                                    [&] {
                                        window.Row([&] {
                                            window.Radio(QStringLiteral("High"), 1);
                                            window.Radio(QStringLiteral("Medium"), 2);
                                            window.Radio(QStringLiteral("Low"), 3);
                                            window.Spacer();
                                        });
                                    })
                           .Tip(QStringLiteral("Priority"));
        });
        window.Row([&] {
            window.Group(QStringLiteral("Due/Start Dates"), [&] {
                window.Row([&] {
                    window.Prompt(QStringLiteral("&Due Date:"));
                    dueDate = DateSpin("TSK:DueDate", QStringLiteral("Due Date"));
                    pickDueDate = PickButton(QStringLiteral("PickDueDate"));
                });
                window.Row([&] {
                    window.Prompt(QStringLiteral("&Start Date:"));
                    startDate = DateSpin("TSK:StartDate", QStringLiteral("Start Date"));
                    pickStartDate = PickButton(QStringLiteral("PickStartDate"));
                });
            });
            voice.Describe();
        });
        window.Group(QStringLiteral("&Notes"), [&] {
            notes = window.TextBox(BindField(*AccessTSK, "TSK:Notes"), 32000).Tip(QStringLiteral("Notes"));
            SetRoomFor(window.Widget(notes), 60, 6);
            window.Row([&] {
                window.Spacer();
                showScraps = window.Button(QStringLiteral("Show &Scraps..."), QStringLiteral("scrapS.gif"))
                                 .Name(QStringLiteral("ShowScraps"));
            });
        });
    }

    // A spin box of days, blank while its date is 0.
    int DateSpin(const char* field, const QString& tip)
    {
        return window
            .Spin(BindField(*AccessTSK, field), QStringLiteral("@D17B"), 0,
                  DayNumberFromDate(QDate(9999, 12, 31)))
            .Tip(tip);
    }

    Control PickButton(const QString& name)
    {
        return window.Button({}, QStringLiteral("pickdate.gif"))
            .Tip(QStringLiteral("Select Date"))
            .Name(name);
    }

    // The close date can be changed only while the task is completed.
    void CloseDateState()
    {
        const bool done = Field(QStringLiteral("TSK:Completed")).toInt() != 0;
        window.Enable(closeDatePrompt, done);
        window.Enable(closeDate, done);
        window.Enable(pickCloseDate, done && AccessLevel() == 2 && REQUEST != Request::ViewOnly);
    }
};

} // namespace

void UpdateTask()
{
    RunProcedure<UpdateTaskWindow>();
}

} // namespace jornix
