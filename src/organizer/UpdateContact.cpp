#include "organizer/UpdateContact.h"

#include "core/DataLayer.h"
#include "core/OpenLink.h"
#include "core/SharedState.h"
#include "organizer/OrganizerForm.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/TrailingBlanks.h"

namespace jornix {
namespace {

class UpdateContactWindow : public OrganizerForm
{
public:
    int firstName = 0, email = 0, sendEmail = 0, web = 0, visitWebSite = 0, notes = 0, showScraps = 0;

    UpdateContactWindow()
        : OrganizerForm(QStringLiteral("UpdateContact"), QStringLiteral("Contact"), MiscRecordType::Contact,
                        *AccessCON, QStringLiteral("CON:"))
    {
        SetRecord(*RelationsCON);
        DescribeSheet([&] { DescribeGeneral(); },
                      [&] {
                          window.Tab(QStringLiteral("Notes"), [&] {
                              notes = window.TextBox(BindField(*AccessCON, "CON:Notes"), 32000)
                                          .Tip(QStringLiteral("Notes"));
                              window.Row([&] {
                                  window.Spacer();
                                  showScraps = window
                                                   .Button(QStringLiteral("Show &Scraps..."),
                                                           QStringLiteral("scrapS.gif"))
                                                   .Name(QStringLiteral("ShowScraps"));
                              });
                          });
                      });
        DescribeFoot();
        CheckAccess(CurrentUserAccess[AccessArea::Contacts], QStringLiteral("Contacts"), true);
        SetShowScraps(showScraps);
        SetFirstField(firstName);
        SetHelp(QStringLiteral("editingcontacts.htm"), helpButton);
    }

    int OnAccepted(int control) override
    {
        if (control == sendEmail) {
            OpenTyped(QStringLiteral("CON:Email"), email, QStringLiteral("mailto:"),
                      QStringLiteral("Missing E-Mail Address"),
                      QStringLiteral("Please enter an e-mail address for this contact."));
            return Level::Handled;
        }
        if (control == visitWebSite) {
            OpenTyped(QStringLiteral("CON:Web"), web, {}, QStringLiteral("Missing Web Site"),
                      QStringLiteral("Please enter web site for this contact."));
            return Level::Handled;
        }
        return OrganizerForm::OnAccepted(control);
    }

protected:
    void SetUpWindow() override
    {
        OrganizerForm::SetUpWindow();
        if (REQUEST == Request::ViewOnly)
            window.Disable(showScraps);
        else if (REQUEST == Request::Change) // the contact's first and last name
            window.SetCaption(
                QStringLiteral("Record will be Changed  (") +
                StripTrailingBlanks(Field(QStringLiteral("CON:FName")).toString()) + QLatin1Char(' ') +
                StripTrailingBlanks(Field(QStringLiteral("CON:LName")).toString()) + QLatin1Char(')'));
    }

private:
    void DescribeGeneral()
    {
        window.Row([&] {
            window.Column([&] {
                window.Group(QStringLiteral("Contact"), [&] {
                    window.Prompt(QStringLiteral("&First Name:"));
                    firstName = Entry("CON:FName", QStringLiteral("First Name"));
                    window.Prompt(QStringLiteral("&Last Name:"));
                    Entry("CON:LName", QStringLiteral("Last Name"));
                });
                window.Group(QStringLiteral("Address"), [&] {
                    window.Prompt(QStringLiteral("Compan&y:"));
                    Entry("CON:Company", QStringLiteral("Company"));
                    window.Prompt(QStringLiteral("Str&eet:"));
                    Entry("CON:Street1", QStringLiteral("Street"));
                    window.Prompt({});
                    Entry("CON:Street2", QStringLiteral("Street"));
                    window.Prompt(QStringLiteral("&City:"));
                    Entry("CON:City", QStringLiteral("City"));
                    window.Prompt(QStringLiteral("&State:"));
                    Entry("CON:State", QStringLiteral("State"));
                    window.Prompt(QStringLiteral("Pro&vince:"));
                    Entry("CON:Province", QStringLiteral("Province"));
                    window.Prompt(QStringLiteral("&Zip:"));
                    Entry("CON:Zip", QStringLiteral("Zip"));
                    window.Prompt(QStringLiteral("Co&untry:"));
                    Entry("CON:Country", QStringLiteral("Country"));
                });
            });
            window.Column([&] {
                window.Group(QStringLiteral("Internet"), [&] {
                    window.Row([&] {
                        window.Prompt(QStringLiteral("E-&Mail:"));
                        email = Entry("CON:Email", QStringLiteral("E-Mail"));
                        sendEmail = window.Button({}, QStringLiteral("mail2.gif"))
                                        .Tip(QStringLiteral("Send E-Mail"))
                                        .Name(QStringLiteral("SendEmail"));
                    });
                    window.Row([&] {
                        window.Prompt(QStringLiteral("&Web Site:"));
                        web = Entry("CON:Web", QStringLiteral("Web"));
                        visitWebSite = window.Button({}, QStringLiteral("web_link.gif"))
                                           .Tip(QStringLiteral("Visit Web Site"))
                                           .Name(QStringLiteral("VisitWebSite"));
                    });
                });
                window.Group(QStringLiteral("Phone"), [&] {
                    window.Prompt(QStringLiteral("&Phone 1:"));
                    Entry("CON:Phone1", QStringLiteral("Phone"));
                    window.Prompt(QStringLiteral("Phone &2:"));
                    Entry("CON:Phone2", QStringLiteral("Phone2"));
                    window.Prompt(QStringLiteral("Mo&bile:"));
                    Entry("CON:Mobile", QStringLiteral("Mobile"));
                    window.Prompt(QStringLiteral("Fa&x:"));
                    Entry("CON:Fax", QStringLiteral("Fax"));
                });
                window.Spacer();
            });
        });
    }

    int Entry(const char* field, const QString& tip)
    {
        const Control entry =
            window.Entry(BindField(*AccessCON, field), QStringLiteral("@s255")).Tip(tip).Stretch();
        entry.Widget()->setMinimumWidth(entry.Widget()->fontMetrics().averageCharWidth() * 24);
        return entry;
    }

    // Opens what is typed in the entry now, saved or not, with the desktop's program for it; an empty entry
    // says what is missing and takes the focus.
    void OpenTyped(const QString& field, int entry, const QString& scheme, const QString& caption,
                   const QString& text)
    {
        Update();
        const QString typed = StripTrailingBlanks(Field(field).toString());
        if (typed.isEmpty()) {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption, text);
            window.Select(entry);
            return;
        }
        OpenLink(window.Root(), scheme + typed);
    }
};

} // namespace

void UpdateContact()
{
    RunProcedure<UpdateContactWindow>();
}

} // namespace jornix
