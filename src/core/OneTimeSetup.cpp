#include "core/OneTimeSetup.h"

#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetDataPaths.h"
#include "core/ShowSettingsNotSaved.h"
#include "core/StandardWizard.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/TextValues.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace jornix {
namespace {

// A folder as the file system finally names it: its nearest existing parent resolved (symbolic links, "..")
// and the rest of the path appended, so that a folder that does not exist yet compares too.
QString CanonicalFolder(const QString& path)
{
    QString rest;
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (!info.exists() && !info.isRoot() && !info.fileName().isEmpty()) {
        rest = QLatin1Char('/') + info.fileName() + rest;
        info = QFileInfo(info.absolutePath());
    }
    const QString base = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return QDir::cleanPath(base + rest);
}

bool IsReservedFolder(const QString& folder)
{
    return CanonicalFolder(folder).compare(CanonicalFolder(ProgramFolder + QStringLiteral("DefaultData")),
                                           Qt::CaseInsensitive) == 0;
}

void Exclaim(const QString& caption, const QString& text)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption, text);
}

} // namespace

DataPathAnswer AcceptDataPath(const QString& entry)
{
    QString folder = StripTrailingBlanks(entry);
    if (folder.isEmpty()) {
        Exclaim(QStringLiteral("Information"),
                QStringLiteral("Please click the \"...\" button to select the Database Path"));
        return DataPathAnswer::Refused;
    }
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (IsReservedFolder(folder)) {
        Exclaim(QStringLiteral("Invalid Data Path"),
                QStringLiteral("Do not use the DefaultData folder. It is reserved."));
        return DataPathAnswer::Refused;
    }

    const QString previous = GLO.DataPath;
    GLO.DataPath = folder;
    if (!SetDataPaths()) {
        GLO.DataPath = previous;
        SetDataPaths();
        Exclaim(QStringLiteral("Invalid Data Path"),
                QStringLiteral("The folder %1 could not be created. Please select another Data Path.")
                    .arg(folder));
        return DataPathAnswer::Refused;
    }
    // The folder is used now; unless it is kept in Jornix.ini the next start asks for it again.
    if (!INIMgr.WriteValue(PreservedSection, QStringLiteral("GLO:DataPath"), GLO.DataPath))
        ShowSettingsNotSaved();
    return QFileInfo::exists(GLO.DataPath + QStringLiteral("Jornix.tps")) ? DataPathAnswer::DatabaseFound
                                                                          : DataPathAnswer::NewDatabase;
}

LoginEntry CheckFirstLogin(FirstLogin& login, QString& confirmation)
{
    const QString missing = QStringLiteral("Missing Information");
    if (StripTrailingBlanks(login.loginId).isEmpty()) {
        Exclaim(missing, QStringLiteral("The Login ID is required. Please enter your initials."));
        return LoginEntry::LoginId;
    }
    if (StripTrailingBlanks(login.userName).isEmpty()) {
        Exclaim(missing, QStringLiteral("Please enter your name."));
        return LoginEntry::UserName;
    }
    const QString password = SignificantPassword(login.password);
    const QString confirmed = SignificantPassword(confirmation);
    if (password.isEmpty() && confirmed.isEmpty()) {
        const int answer = ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Question, QStringLiteral("Confirm"),
            QStringLiteral("Are you sure you want to have a blank password?"), MessageButton::Yes);
        return answer == MessageButton::Yes ? LoginEntry::None : LoginEntry::Password;
    }
    if (password != confirmed) {
        Exclaim(QStringLiteral("Password Problem"),
                QStringLiteral("The password typed does not match. Please retype the password."));
        login.password.clear();
        confirmation.clear();
        return LoginEntry::Password;
    }
    return LoginEntry::None;
}

namespace {

enum Step
{
    Welcome = 1,
    DataPathStep,
    DatabaseFound,
    DefineLogin,
    SampleData,
    Finished
};

// The wizard: a sheet whose tabs do not show, one page per step; the program selects the page.
class SetupWizard : public StandardWizard
{
public:
    SetupWizard() : StandardWizard(QStringLiteral("OneTimeSetup"), QStringLiteral("Jornix Setup"))
    {
        dataPath_ = GLO.DataPath;
        DescribeWizard([&] { DescribePages(); }, QStringLiteral("firsttimesetup.htm"),
                       QStringLiteral("jornix.svg"));
    }

    int Result() const { return result_; }

protected:
    void SetUpWindow() override
    {
        window.Hide(progressPrompt_);
        window.Hide(progress_);
        GoTo(Welcome);
    }

    // Once the database is there (or was found), the close box finishes.
    bool WorkDone() const override { return step_ == DatabaseFound || step_ == Finished; }
    void FinishDone() override { Finish(1); }

private:
    void DescribePages()
    {
        AddPage(QStringLiteral("Welcome to Jornix 2.0"), [&] {
            window.Text(
                QStringLiteral("This is the first time Jornix has been started with this data. The "
                               "next few pages set Jornix up for you; follow the instructions on each "
                               "page and click \"Next >>\" to go on."));
            window.Text(
                QStringLiteral("Jornix 2.0 adds many new features since version 1.0: reminders, tasks, "
                               "contacts, sticky notes, a scrap book, formatted notes and report "
                               "layouts of your own. If you kept a log with Jornix 1.0, you can bring "
                               "it over after the setup with the \"Migrate from 1.0\" command of the "
                               "Setup group."));
        });
        AddPage(QStringLiteral("Jornix - Data Path"), [&] {
            window.Text(
                QStringLiteral("Jornix keeps all of its information in a database in a folder of your "
                               "choice. If several people will share the same Jornix information, "
                               "choose a common folder on a network share that is mapped to a drive "
                               "letter."));
            window.Text(QStringLiteral("NOTE: Jornix can not use a Universal Naming Convention (UNC) network "
                                       "path, so you must map a drive letter."));
            window.Row([&] {
                dataPathEntry_ = window.Entry(Bind(dataPath_), QStringLiteral("@s255"))
                                     .Name(QStringLiteral("DataPath"))
                                     .Stretch();
                browse_ = window.Button(QStringLiteral("...")).Name(QStringLiteral("Browse"));
            });
        });
        AddPage(QStringLiteral("Jornix Database Found"), [&] {
            window.Text(QStringLiteral("The Jornix database was found in the following directory:"));
            window.Display(Bind(GLO.DataPath), QStringLiteral("@s255")).Name(QStringLiteral("FoundPath"));
            window.Text(
                QStringLiteral("Click \"Finish\" and sign in with the Login ID and password that your "
                               "Jornix administrator created for you."));
        });
        AddPage(QStringLiteral("Define Your Login ID/Password"), [&] {
            window.Text(QStringLiteral("A Login ID is required: your initials are recommended, up to 30 "
                                       "characters. The password is optional and can be up to 30 characters. "
                                       "You become a Jornix administrator with full access to everything."));
            window.Prompt(QStringLiteral("&Login ID:"));
            loginIdEntry_ =
                window.Entry(Bind(loginId_), QStringLiteral("@s30")).Name(QStringLiteral("LoginIDEntry"));
            window.Prompt(QStringLiteral("&User Name:"));
            userNameEntry_ =
                window.Entry(Bind(userName_), QStringLiteral("@s255")).Name(QStringLiteral("UserNameEntry"));
            window.Prompt(QStringLiteral("&Password:"));
            passwordEntry_ = window.Entry(Bind(password_), QStringLiteral("@s30"))
                                 .Name(QStringLiteral("PasswordEntry"))
                                 .Password();
            window.Prompt(QStringLiteral("&Confirm:"));
            confirmEntry_ = window.Entry(Bind(confirm_), QStringLiteral("@s30"))
                                .Name(QStringLiteral("ConfirmEntry"))
                                .Password();
            window.Text(QStringLiteral("Please remember your Login ID and password: you need them every time "
                                       "you start Jornix."));
        });
        AddPage(QStringLiteral("Create Sample Data?"), [&] {
            window.Text(
                QStringLiteral("Jornix can add a few sample records (log events, a sticky note, scraps, "
                               "a contact and a task) so that you can see how it works. You can delete "
                               "them later."));
            window.Check(QStringLiteral("&Create Sample Data"), Bind(createSampleData_))
                .Name(QStringLiteral("SampleDataCheck"));
        });
        AddPage(QStringLiteral("Jornix Setup - Finished"), [&] {
            finishTexts_ =
                window
                    .Text(QStringLiteral("Your Login ID has been created and Jornix is ready. Click "
                                         "\"Finish\" to go on to the sign-in, and sign in with the "
                                         "Login ID and password you just defined."))
                    .Name(QStringLiteral("FinishTexts"));
            progressPrompt_ = window.Text(QStringLiteral("Please Wait While Jornix Finishes the Install"))
                                  .Name(QStringLiteral("ProgressPrompt"));
            progress_ = window.Progress(Bind(progressValue_));
        });
    }

    void Browse() override
    {
        const QString folder = AskFolder(QStringLiteral("Select the Jornix Data Path"), dataPath_);
        if (folder.isEmpty()) {
            Exclaim(QStringLiteral("Data Path is Required"),
                    QStringLiteral("You must select the Jornix Data Path. This information is required to "
                                   "complete the program installation."));
            return;
        }
        dataPath_ = folder;
        window.ShowValues(dataPathEntry_);
    }

    void Cancel() override
    {
        const int answer = ShowMessageBox(
            MessageButton::Yes | MessageButton::No, MessageIcon::Question,
            QStringLiteral("Cancel Program Setup?"),
            QStringLiteral(
                "You must finish the Jornix setup before you can use the application. Are you sure you "
                "want to cancel the Jornix setup?"),
            MessageButton::Yes);
        if (answer == MessageButton::Yes)
            Finish(0);
    }

    void Next() override
    {
        switch (step_) {
        case Welcome:
            return GoTo(DataPathStep);
        case DataPathStep:
            switch (AcceptDataPath(dataPath_)) {
            case DataPathAnswer::Refused:
                if (!StripTrailingBlanks(dataPath_).isEmpty())
                    dataPath_.clear();
                window.ShowValues(dataPathEntry_);
                return window.Select(dataPathEntry_);
            case DataPathAnswer::DatabaseFound:
                return GoTo(DatabaseFound);
            case DataPathAnswer::NewDatabase:
                return GoTo(DefineLogin);
            }
            return;
        case DatabaseFound:
        case Finished:
            return Finish(1);
        case DefineLogin:
            return CheckLogin();
        case SampleData:
            return MakeDatabase();
        }
    }

    void CheckLogin()
    {
        FirstLogin login = TypedLogin();
        switch (CheckFirstLogin(login, confirm_)) {
        case LoginEntry::None:
            return GoTo(SampleData);
        case LoginEntry::LoginId:
            return window.Select(loginIdEntry_);
        case LoginEntry::UserName:
            return window.Select(userNameEntry_);
        case LoginEntry::Password:
            password_ = login.password;
            window.ShowValues(passwordEntry_);
            window.ShowValues(confirmEntry_);
            return window.Select(passwordEntry_);
        }
    }

    FirstLogin TypedLogin() const
    {
        return {StripTrailingBlanks(loginId_), StripTrailingBlanks(userName_), password_};
    }

    void MakeDatabase()
    {
        GoTo(Finished);
        window.Hide(finishTexts_);
        window.Show(progressPrompt_);
        progressValue_ = 0;
        window.ShowValues(progress_);
        window.Show(progress_);
        window.Disable(next_);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const DatabaseCreation made =
            CreateJornixDatabase(TypedLogin(), createSampleData_ != 0, [this](int value) {
                progressValue_ = value;
                window.ShowValues(progress_);
                YieldNow(); // lets the bar show
            });
        QApplication::restoreOverrideCursor();
        window.Enable(next_);
        window.Show(finishTexts_);
        window.Hide(progressPrompt_);
        window.Hide(progress_);

        if (!made.Ok()) {
            ShowMessageBox(
                MessageButton::Ok, MessageIcon::Stop, QStringLiteral("Jornix Setup"),
                QStringLiteral("Jornix could not finish the install in %1.\n\n%2\n\nPlease correct the "
                               "problem and click \"Next >>\" again, or cancel the setup.")
                    .arg(GLO.DataPath, made.failure));
            return GoTo(SampleData);
        }
        if (!made.notes.isEmpty())
            ShowMessageBox(MessageButton::Ok, MessageIcon::Information, QStringLiteral("Jornix Setup"),
                           made.notes.join(QStringLiteral("\n\n")));
    }

    void GoTo(Step step)
    {
        step_ = step;
        const bool last = step == DatabaseFound || step == Finished;
        window.SetLabel(next_, last ? QStringLiteral("Finish") : QStringLiteral("Next >>"));
        window.Show(cancel_, !last);
        TurnTo(step);
        if (step == DataPathStep)
            window.Select(dataPathEntry_);
        else if (step == DefineLogin)
            window.Select(loginIdEntry_);
    }

    void Finish(int result)
    {
        result_ = result;
        Close(result ? Response::Completed : Response::Cancelled);
    }

    // The wizard's values, as its entries show them.
    QString dataPath_;
    QString loginId_;
    QString userName_;
    QString password_;
    QString confirm_;
    int createSampleData_ = 1;

    int dataPathEntry_ = 0;
    int loginIdEntry_ = 0;
    int userNameEntry_ = 0;
    int passwordEntry_ = 0;
    int confirmEntry_ = 0;
    int finishTexts_ = 0;
    int progressPrompt_ = 0;
    int progress_ = 0;
    int progressValue_ = 0;
    int step_ = Welcome;
    int result_ = 0;
};

} // namespace

int OneTimeSetup()
{
    SetupWizard wizard;
    wizard.Run();
    return wizard.Result();
}

} // namespace jornix
