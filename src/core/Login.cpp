#include "core/Login.h"

#include "core/ChangePassword.h"
#include "core/DataLayer.h"
#include "core/OpenLink.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/SignInRules.h"
#include "core/StandardWindow.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Record.h"
#include "platform/store/TextValues.h"

#include <QWidget>

namespace jornix {
namespace {

const QString WebAddress = QStringLiteral("www.jornix.example");

class LoginWindow : public StandardWindow
{
public:
    int result = 0;

    LoginWindow() : StandardWindow(QStringLiteral("Login"), QStringLiteral("Jornix - Login"))
    {
        window.Row([&] {
            window.Image(QStringLiteral("jornix.svg"));
            window.Column([&] {
                window.Prompt(QStringLiteral("Welcome to Jornix"))
                    .Name(QStringLiteral("Welcome"))
                    .Font({}, HeadingPoints, FontStyle::Bold);
                window.Prompt(QStringLiteral("Your personal journal of the events of your life."));
                window.Prompt(QStringLiteral("Please enter your user information to access the program."));
            });
            window.Spacer();
        });
        window.Row([&] {
            window.Prompt(QStringLiteral("Web Site:"));
            webSite_ = window.ClickText(WebAddress).Name(QStringLiteral("WebSite"));
            window.Spacer();
            window.Prompt(QStringLiteral("Version: 2.0.1.0"));
        });
        const auto loginFields = [&] {
            window.Prompt(QStringLiteral("&Login ID:"));
            loginEntry_ =
                window.Entry(Bind(loginId_), QStringLiteral("@s30")).Name(QStringLiteral("LoginID"));
            window.Prompt(QStringLiteral("&Password:"));
            passwordEntry_ = window.Entry(Bind(password_), QStringLiteral("@s30"))
                                 .Password()
                                 .Name(QStringLiteral("Password"));
        };
        window.Group(QStringLiteral("Login"), loginFields)
            .Name(QStringLiteral("LoginGroup")); // "Login": the button
        window.Buttons([&] {
            loginButton_ = window.Button(QStringLiteral("Login"), QStringLiteral("OKButton.gif")).Default();
            closeButton_ = window.Button(QStringLiteral("Close"), QStringLiteral("CancelButton.gif"));
            helpButton_ = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("Help"));
        });
        UseTable(*RelationsUSR);
        SetFirstField(loginEntry_);
        SetHelp(QStringLiteral("LoginScreen.htm"), helpButton_);
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        AddButtonAction(closeButton_, Response::Cancelled);
        if (GLO.RemeberLastLoginID != 0)
            loginId_ = GLO.LastLoginID;
        return Level::GoOn;
    }

    void Open() override
    {
        StandardWindow::Open();
        if (!StripTrailingBlanks(loginId_).isEmpty())
            window.Select(passwordEntry_);
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        if (control == loginButton_)
            SignIn();
        else if (control == webSite_)
            OpenLink(window.Root(), WebAddress);
        return Level::GoOn;
    }

private:
    void SignIn()
    {
        Update();
        if (StripTrailingBlanks(loginId_).isEmpty()) {
            window.Select(loginEntry_);
            return;
        }
        const Record& user = AccessUSR->Buffer();
        if (!FetchUser(loginId_) ||
            !PasswordMatches(password_, user.Value(QStringLiteral("USR:Password")).toString())) {
            Refuse(QStringLiteral("The Login ID or Password entered is invalid. Please try again."));
            return;
        }
        if (user.Value(QStringLiteral("USR:Disabled")).toInt() != 0) {
            Refuse(
                QStringLiteral("Your LoginID has been disabled. Please contact your system administrator to "
                               "re-activate your account."));
            return;
        }
        FillSignedInUser(user);
        if (PasswordChangeDue(user, Today()) && !ChangePassword()) {
            result = 0;
            Post(Event::CloseWindow);
            return;
        }
        StampLastLogin();
        RememberLastLoginID();
        result = 1;
        Post(Event::CloseWindow);
    }

    void Refuse(const QString& text)
    {
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Access Denied"), text);
        password_.clear();
        window.ShowValues(passwordEntry_);
        window.Select(passwordEntry_);
    }

    QString loginId_, password_;
    int webSite_ = 0, loginEntry_ = 0, passwordEntry_ = 0, loginButton_ = 0, closeButton_ = 0,
        helpButton_ = 0;
};

} // namespace

int Login()
{
    LoginWindow thisWindow;
    CurrentContext().GlobalResponseCode = quint8(thisWindow.Run());
    return thisWindow.result;
}

} // namespace jornix
