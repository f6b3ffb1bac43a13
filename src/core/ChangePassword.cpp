#include "core/ChangePassword.h"

#include "core/DataLayer.h"
#include "core/PasswordHash.h"
#include "core/SharedState.h"
#include "core/SignInRules.h"
#include "core/StandardWindow.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Record.h"

namespace jornix {
namespace {

const QString PasswordPicture = QStringLiteral("@s30");

class ChangePasswordWindow : public StandardWindow
{
public:
    int result = 0;

    ChangePasswordWindow()
        : StandardWindow(QStringLiteral("ChangePassword"), QStringLiteral("Change Password"))
    {
        window.Prompt(QStringLiteral("Current Login ID:"));
        window.Display(Bind(UsrAccess::LoginID), QStringLiteral("@s30")).Name(QStringLiteral("LoginID"));
        window.Image(QStringLiteral("ChangePwd.gif"));
        window.Prompt(QStringLiteral("&Old Password:"));
        oldEntry_ =
            window.Entry(Bind(oldPassword_), PasswordPicture).Password().Name(QStringLiteral("OldPassword"));
        window.Prompt(QStringLiteral("&New Password:"));
        window.Entry(Bind(newPassword_), PasswordPicture).Password().Name(QStringLiteral("NewPassword"));
        window.Prompt(QStringLiteral("&Confirm New Password:"));
        window.Entry(Bind(confirmation_), PasswordPicture).Password().Name(QStringLiteral("Confirmation"));
        window.Buttons([&] {
            helpButton_ = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
            okButton_ = window.Button(QStringLiteral("OK"), QStringLiteral("OKButton.gif")).Default();
            cancelButton_ = window.Button(QStringLiteral("Cancel"), QStringLiteral("CancelButton.gif"));
        });
        UseTable(*RelationsUSR);
        SetFirstField(oldEntry_);
        SetHelp(QStringLiteral("password.htm"), helpButton_);
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(cancelButton_, Response::Cancelled);
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        if (control == okButton_)
            StoreNewPassword();
        return Level::GoOn;
    }

private:
    static void Refuse(const QString& text)
    {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Change Password Failed"),
                       text);
    }

    void FailInternally()
    {
        Refuse(QStringLiteral("There was an internal error that prevented you from changing your password. "
                              "Please contact technical support."));
        SetResponse(Response::Cancelled);
    }

    void StartAgain()
    {
        oldPassword_.clear();
        newPassword_.clear();
        confirmation_.clear();
        window.ShowValues();
        window.Select(oldEntry_);
    }

    void StoreNewPassword()
    {
        Update();
        if (!FetchUser(UsrAccess::LoginID)) {
            FailInternally();
            return;
        }
        Record& user = AccessUSR->Buffer();
        if (!PasswordMatches(oldPassword_, user.Value(QStringLiteral("USR:Password")).toString())) {
            Refuse(QStringLiteral("The Old Password is incorrect. Please try again."));
            StartAgain();
            return;
        }
        if (SignificantPassword(newPassword_) != SignificantPassword(confirmation_)) {
            Refuse(QStringLiteral("The password typed does not match. Please retype the password."));
            StartAgain();
            return;
        }
        const std::optional<QString> hash = HashPassword(newPassword_);
        if (!hash) {
            FailInternally();
            return;
        }
        user.SetValue(QStringLiteral("USR:Password"), *hash);
        user.SetValue(QStringLiteral("USR:LastPwdChange"), Today());
        user.SetValue(QStringLiteral("USR:ChngPwdAtNextLogin"), 0);
        // A write that fails has been told by the data layer; the window stays open to try again.
        if (AccessUSR->Update() != 0)
            return;
        result = 1;
        SetResponse(Response::Completed);
    }

    QString oldPassword_, newPassword_, confirmation_;
    int oldEntry_ = 0, helpButton_ = 0, okButton_ = 0, cancelButton_ = 0;
};

} // namespace

int ChangePassword()
{
    ChangePasswordWindow thisWindow;
    CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
    return thisWindow.result;
}

} // namespace jornix
