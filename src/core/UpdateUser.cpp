#include "core/UpdateUser.h"

#include "core/DataLayer.h"
#include "core/PasswordHash.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageBox.h"

namespace jornix {

namespace {

const QString PasswordPicture = QStringLiteral("@s30");

class UpdateUserWindow : public StandardForm
{
public:
    int loginEntry = 0, passwordEntry = 0, okButton = 0, cancelButton = 0, helpButton = 0;
    QString password, confirmation; // as typed; USR:Password holds the hash

    UpdateUserWindow() : StandardForm(QStringLiteral("UpdateUser"), QStringLiteral("Update User"))
    {
        const std::vector<ListItem> levels = {
            {QStringLiteral("None"), 0}, {QStringLiteral("Read-Only"), 1}, {QStringLiteral("Full"), 2}};
        const std::vector<ListItem> fullOrNone = {{QStringLiteral("None"), 0}, {QStringLiteral("Full"), 2}};
        window.Group(QStringLiteral("User Information"), [&] {
            window.Prompt(QStringLiteral("&Login ID:"));
            loginEntry = window.Entry(BindField(*AccessUSR, "USR:LoginID"), QStringLiteral("@s30"))
                             .Name(QStringLiteral("LoginID"));
            window.Prompt(QStringLiteral("Last Login:"));
            window.Display(BindField(*AccessUSR, "USR:LastLogin"), QStringLiteral("@D17B"));
            window.Prompt(QStringLiteral("&Full Name:"));
            window.Entry(BindField(*AccessUSR, "USR:Name"), QStringLiteral("@s255"))
                .Name(QStringLiteral("Name"));
        });
        window.Group(QStringLiteral("Program Access"), [&] {
            const struct
            {
                const char* prompt;
                const char* field;
                bool fullOrNoneOnly;
            } areas[] = {{"Log Event Access", "USR:LogEventAccess", false},
                         {"Contact Access", "USR:ContactAccess", false},
                         {"Reminder Access", "USR:ReminderAccess", false},
                         {"Scrap Book Access", "USR:ScrapBookAccess", false},
                         {"Task Access", "USR:TaskAccess", false},
                         {"Report Designer Access", "USR:ReportDesignerAccess", true},
                         {"Sticky Notes Access", "USR:StickyNotesAccess", false},
                         {"Misc Field Access", "USR:MiscFieldAccess", true}};
            for (const auto& area : areas) {
                window.Prompt(QString::fromLatin1(area.prompt));
                window.DropList(BindField(*AccessUSR, area.field), area.fullOrNoneOnly ? fullOrNone : levels)
                    .Name(QString::fromLatin1(area.field).mid(4));
            }
        });
        window.Check(QStringLiteral("&Administrator"), BindField(*AccessUSR, "USR:Administrator"))
            .Name(QStringLiteral("Administrator"));
        window.Check(QStringLiteral("&Disabled"), BindField(*AccessUSR, "USR:Disabled"))
            .Name(QStringLiteral("Disabled"));
        window.Group(QStringLiteral("Password"), [&] {
            window.Prompt(QStringLiteral("Pass&word:"));
            passwordEntry = window.Entry(Bind(password), PasswordPicture)
                                .Password()
                                .Name(QStringLiteral("PasswordEntry"));
            window.Prompt(QStringLiteral("C&onfirm:"));
            window.Entry(Bind(confirmation), PasswordPicture).Password().Name(QStringLiteral("ConfirmEntry"));
            window
                .Check(QStringLiteral("Change Password at &Next Login"),
                       BindField(*AccessUSR, "USR:ChngPwdAtNextLogin"))
                .Name(QStringLiteral("ChngPwdAtNextLogin"));
            window.Prompt(QStringLiteral("E&xpire Password Every # Days:"));
            window.Entry(BindField(*AccessUSR, "USR:ExpirePasswordCount"), QStringLiteral("@n-7"))
                .Name(QStringLiteral("ExpirePasswordCount"));
            window.Prompt(QStringLiteral("(Use zero to disable.)"));
            window.Prompt(QStringLiteral("Last Password Change:"));
            window.Display(BindField(*AccessUSR, "USR:LastPwdChange"), QStringLiteral("@D17B"));
        });
        window.Buttons([&] {
            okButton = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif"))
                           .Name(QStringLiteral("OK"));
            cancelButton = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("Cancel"));
            helpButton = window.Button(QString(), QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        SetFirstField(loginEntry);
        SetRecord(*RelationsUSR, false);
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("USR:Name"));
        UseTable(*RelationsUSR);
        KeepPlacement();
        SetHelp(QStringLiteral("updatingusersettings.htm"), helpButton);
    }

    void SetFieldDefaults() override
    {
        StandardForm::SetFieldDefaults();
        SetField(QStringLiteral("USR:LastPwdChange"), Today());
    }

protected:
    int PrepareRecord() override
    {
        // The signed-in user's own record is never deleted, whatever its login id has become.
        if (REQUEST == Request::Delete &&
            Field(QStringLiteral("USR:UniqueID")).toInt() == CurrentUserUniqueID)
            return Level::Stop;
        if (const int level = StandardForm::PrepareRecord())
            return level;
        // A stored password is never shown: both entries start with the placeholder that keeps it.
        const bool stored = !Field(QStringLiteral("USR:Password")).toString().isEmpty();
        password = confirmation = REQUEST != Request::Insert && stored ? PasswordPlaceholder : QString();
        return Level::GoOn;
    }

    int ValidateRecord() override
    {
        if (REQUEST == Request::Delete)
            return Level::GoOn;
        const QString typed = SignificantPassword(password);
        const QString confirmed = SignificantPassword(confirmation);
        if (typed.isEmpty() && confirmed.isEmpty()) {
            if (ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                               QStringLiteral("Confirm"),
                               QStringLiteral("Are you sure you want to have a blank password?"),
                               MessageButton::Yes) != MessageButton::Yes) {
                window.Select(passwordEntry);
                return Level::Handled;
            }
        } else if (typed != confirmed) {
            ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Password Problem"),
                           QStringLiteral("The password typed does not match. Please retype the password."));
            window.Select(passwordEntry);
            return Level::Handled;
        }
        if (password == PasswordPlaceholder)
            return Level::GoOn; // unchanged: the stored hash stays
        if (typed.isEmpty()) {
            SetField(QStringLiteral("USR:Password"), QString());
            return Level::GoOn;
        }
        const std::optional<QString> hash = HashPassword(typed);
        if (!hash) {
            window.Select(passwordEntry);
            return Level::Handled;
        }
        SetField(QStringLiteral("USR:Password"), *hash);
        return Level::GoOn;
    }
};

} // namespace

void UpdateUser()
{
    RunProcedure<UpdateUserWindow>();
}

} // namespace jornix
