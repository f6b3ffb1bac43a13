#include "organizer/OrganizerForm.h"

#include "organizer/FormButtons.h"
#include "platform/framework/FileManager.h"

#include <QLayout>

namespace jornix {

OrganizerForm::OrganizerForm(const QString& procedureName, const QString& caption, int recordType,
                             FileManager& record, const QString& prefix)
    : StandardForm(procedureName, caption), misc(*this, recordType, record, prefix + QStringLiteral("Misc")),
      record_(record), prefix_(prefix)
{
}

void OrganizerForm::DescribeSheet(const std::function<void()>& general, const std::function<void()>& more)
{
    sheet = window
                .Sheet([&] {
                    window.Tab(QStringLiteral("General"), general);
                    miscTab = window.Tab(QStringLiteral("Misc"), [&] {
                        window
                            .Prompt(QStringLiteral(
                                "To enable Misc. Fields, go to Program Setup - Misc Fields (tab)."))
                            .Name(QStringLiteral("MiscFieldsNote"));
                    });
                    if (more)
                        more();
                })
                .Name(QStringLiteral("Sheet"));
    misc.SetMiscTab(miscTab);
    window.Widget(miscTab)->layout()->setAlignment(Qt::AlignTop); // the fields' rows right under the note
}

void OrganizerForm::DescribeFoot(const QString& createdPrompt)
{
    DescribeStamps(createdPrompt);
    window.Row([&] {
        privateBox =
            window.Check(QStringLiteral("&Private"), BindField(record_, prefix_ + QStringLiteral("Private")))
                .Tip(QStringLiteral("Private"));
        window.Spacer();
        window.Display(BindField(record_, prefix_ + QStringLiteral("Num")), QStringLiteral("@n-14"));
    });
    const FormButtons buttons = DescribeFormButtons(window);
    helpButton = buttons.help;
    okButton = buttons.ok;
    cancelButton = buttons.cancel;
    SetButtons(okButton, cancelButton);
    SetPrivateBox(privateBox);
    KeepPlacement();
    KeepMinimumSize();
}

int OrganizerForm::PrepareRecord()
{
    misc.FetchMiscDefinitions();
    return StandardForm::PrepareRecord();
}

void OrganizerForm::SetFieldDefaults()
{
    StandardForm::SetFieldDefaults();
    misc.SetMiscDefaults();
}

void OrganizerForm::SetUpWindow()
{
    StandardForm::SetUpWindow();
    misc.CreateMiscControls();
}

} // namespace jornix
