#include "core/ChangePassword.h"
#include "core/DataLayer.h"
#include "core/Login.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "core/SignInRules.h"
#include "platform/help/HelpViewer.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/ShellOpen.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include "DataFolder.h"
#include "platform/framework/WindowDriver.h"

#include <QLineEdit>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

const QDate Today_ = QDate(2026, 12, 10);
const QString Invalid = QStringLiteral("The Login ID or Password entered is invalid. Please try again.");

// A user of the users table; a user who need not change the password unless a test says so.
struct User
{
    QString loginId = QStringLiteral("jd");
    QString password = QStringLiteral("Secret");
    int expireCount = 0;
    int lastPwdChange = 0;
    int changeAtNextLogin = 0;
    int disabled = 0;
};

void AddUser(const User& user, int uniqueId = 7)
{
    Table& users = AccessUSR->GetTable();
    users.ClearBuffer();
    AccessUSR->SetFieldDefaults();
    Record& record = AccessUSR->Buffer();
    record.SetValue("USR:LoginID", user.loginId);
    record.SetValue("USR:Name", "Jane Doe");
    record.SetValue("USR:Password", *HashPassword(user.password));
    record.SetValue("USR:ExpirePasswordCount", user.expireCount);
    record.SetValue("USR:LastPwdChange", user.lastPwdChange);
    record.SetValue("USR:ChngPwdAtNextLogin", user.changeAtNextLogin);
    record.SetValue("USR:Disabled", user.disabled);
    record.SetValue("USR:Administrator", 1);
    record.SetValue("USR:TaskAccess", 1);
    record.SetValue("USR:MiscFieldAccess", 0);
    record.SetValue("USR:UniqueID", uniqueId);
    QCOMPARE(AccessUSR->Insert(), 0);
}

// The stored user "jd", read again from the table.
Record StoredUser()
{
    [] { QVERIFY(FetchUser("jd")); }();
    return AccessUSR->Buffer();
}

WindowController* LoginWindow()
{
    return FindWindow("Login");
}

WindowController* ChangePasswordWindow()
{
    return FindWindow("ChangePassword");
}

QString EntryText(WindowController& window, const QString& name)
{
    auto* edit = qobject_cast<QLineEdit*>(window.window.Widget(window.window.ControlNumber(name)));
    return edit ? edit->text() : QStringLiteral("<no entry>");
}

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;
    std::unique_ptr<test::MessageRecorder> boxes;
    int result = -1; // of the last Login or ChangePassword; outlives the test function, as their thread may

    void startLogin()
    {
        result = -1;
        Start([this] { result = Login(); });
        QVERIFY(LoginWindow());
    }

    void signIn(const QString& loginId, const QString& password)
    {
        WindowController* login = LoginWindow();
        QVERIFY(login);
        Type(*login, "LoginID", loginId);
        Type(*login, "Password", password);
        Press(*login, "Login");
    }

    QString settings() const { return folder->Settings(); }

private slots:
    void initTestCase() { UseMinimumPasswordLimits(true); }

    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        SetFixedClock(QDateTime(Today_, QTime(9, 0)));
        QCOMPARE(RelationsUSR->Open(), 0);
        UsrAccess::LoginID.clear();
        UsrAccess::Name.clear();
        CurrentUserUniqueID = 0;
        CurrentUserIsAdmin = 0;
        CurrentUserAccess.fill(0);
        boxes = std::make_unique<test::MessageRecorder>();
    }

    void cleanup()
    {
        if (WindowController* change = ChangePasswordWindow())
            Press(*change, "Cancel");
        if (WindowController* login = LoginWindow())
            Press(*login, "Close");
        QVERIFY(WaitIdle());
        QVERIFY(!LoginWindow());
        boxes.reset();
        RelationsUSR->Close();
        SetFixedClock({});
        folder.reset();
    }

    void cleanupTestCase() { EndProgramThreads(); }

    void theLoginIdIsFoundWithoutRegardToCaseAndThePasswordWithCaseCounting_data()
    {
        QTest::addColumn<QString>("loginId");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("signsIn");
        QTest::newRow("login id in capitals") << "JD"
                                              << "Secret" << true;
        QTest::newRow("password with trailing blanks") << "jd"
                                                       << "Secret  " << true;
        QTest::newRow("one letter of the password in another case") << "jd"
                                                                    << "secret" << false;
        QTest::newRow("an unknown login id") << "zz"
                                             << "Secret" << false;
        QTest::newRow("a blank password") << "jd"
                                          << "" << false;
    }
    void theLoginIdIsFoundWithoutRegardToCaseAndThePasswordWithCaseCounting()
    {
        QFETCH(QString, loginId);
        QFETCH(QString, password);
        QFETCH(bool, signsIn);
        AddUser(User{});
        startLogin();
        signIn(loginId, password);
        if (signsIn) {
            QVERIFY(boxes->boxes.isEmpty());
            QVERIFY(!LoginWindow());
            QCOMPARE(result, 1);
            return;
        }
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, "Access Denied");
        QCOMPARE(boxes->boxes[0].text, Invalid);
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QCOMPARE(boxes->boxes[0].buttons, int(MessageButton::Ok));
        WindowController* login = LoginWindow();
        QVERIFY(login);
        QCOMPARE(EntryText(*login, "Password"), QString());
        QCOMPARE(login->window.FocusedControl(), login->window.ControlNumber("Password"));
        QCOMPARE(StoredUser().Value("USR:LastLogin").toInt(), 0);
        QVERIFY(UsrAccess::LoginID.isEmpty());
    }

    void retriesAreUnlimitedAndASignInStampsTheUserAndTheSettings()
    {
        AddUser(User{});
        startLogin();
        for (int attempt = 0; attempt < 5; ++attempt)
            signIn("jd", "wrong");
        QCOMPARE(boxes->boxes.size(), 5);
        signIn("JD", "Secret");
        QCOMPARE(boxes->boxes.size(), 5);
        QCOMPARE(result, 1);
        QVERIFY(!LoginWindow());

        QCOMPARE(StoredUser().Value("USR:LastLogin").toInt(), DayNumberFromDate(Today_));
        QVERIFY(settings().contains("GLO:LastLoginID=jd"));
        QCOMPARE(GLO.LastLoginID, "jd");
        // The signed-in user values come from the stored record, login id as stored.
        QCOMPARE(UsrAccess::LoginID, "jd");
        QCOMPARE(UsrAccess::Name, "Jane Doe");
        QCOMPARE(CurrentUserUniqueID, 7);
        QCOMPARE(CurrentUserIsAdmin, 1);
        QCOMPARE(CurrentUserAccess[AccessArea::LogEvents], 2);
        QCOMPARE(CurrentUserAccess[AccessArea::Tasks], 1);
        QCOMPARE(CurrentUserAccess[AccessArea::MiscFields], 0);
    }

    void theLastLoginIdIsRememberedOnlyWhileTheSettingSaysSo_data()
    {
        QTest::addColumn<int>("remember");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("focused");
        QTest::newRow("remembered: focus on the password") << 1 << "jd"
                                                           << "Password";
        QTest::newRow("not remembered: a blank login id") << 0 << ""
                                                          << "LoginID";
    }
    void theLastLoginIdIsRememberedOnlyWhileTheSettingSaysSo()
    {
        QFETCH(int, remember);
        QFETCH(QString, shown);
        QFETCH(QString, focused);
        AddUser(User{});
        AddUser(User{"ann", "Other"}, 8);
        GLO.RemeberLastLoginID = quint8(remember);
        GLO.LastLoginID = "jd";
        startLogin();
        WindowController* login = LoginWindow();
        QCOMPARE(EntryText(*login, "LoginID"), shown);
        QCOMPARE(login->window.FocusedControl(), login->window.ControlNumber(focused));

        signIn("ann", "Other");
        QCOMPARE(result, 1);
        QCOMPARE(settings().contains("GLO:LastLoginID=ann"), remember == 1);
        QCOMPARE(settings().contains("GLO:LastLoginID"), remember == 1);
    }

    void aBlankLoginIdAsksNothingAndGoesBackToTheLoginId()
    {
        AddUser(User{});
        startLogin();
        signIn("   ", "Secret");
        QVERIFY(boxes->boxes.isEmpty());
        WindowController* login = LoginWindow();
        QVERIFY(login);
        QCOMPARE(login->window.FocusedControl(), login->window.ControlNumber("LoginID"));
    }

    void aDisabledUserIsRefused()
    {
        User user;
        user.disabled = 1;
        AddUser(user);
        startLogin();
        signIn("jd", "Secret");
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, "Access Denied");
        QCOMPARE(boxes->boxes[0].text, "Your LoginID has been disabled. Please contact your system "
                                       "administrator to re-activate your account.");
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(LoginWindow());
        QCOMPARE(EntryText(*LoginWindow(), "Password"), QString());
        QCOMPARE(StoredUser().Value("USR:LastLogin").toInt(), 0);
    }

    void aPasswordChangeIsForcedWhenFlaggedOrExpired_data()
    {
        QTest::addColumn<int>("expireCount");
        QTest::addColumn<int>("daysSinceChange"); // -1: never changed
        QTest::addColumn<int>("flagged");
        QTest::addColumn<bool>("forced");
        QTest::newRow("90 days, changed 90 days ago") << 90 << 90 << 0 << false;
        QTest::newRow("90 days, changed 91 days ago") << 90 << 91 << 0 << true;
        QTest::newRow("count 0 never expires") << 0 << 5000 << 0 << false;
        QTest::newRow("count -1 never expires") << -1 << 5000 << 0 << false;
        QTest::newRow("never changed, count above 0") << 30 << -1 << 0 << true;
        QTest::newRow("flagged, changed today") << 0 << 0 << 1 << true;
    }
    void aPasswordChangeIsForcedWhenFlaggedOrExpired()
    {
        QFETCH(int, expireCount);
        QFETCH(int, daysSinceChange);
        QFETCH(int, flagged);
        QFETCH(bool, forced);
        User user;
        user.expireCount = expireCount;
        user.lastPwdChange = daysSinceChange < 0 ? 0 : DayNumberFromDate(Today_.addDays(-daysSinceChange));
        user.changeAtNextLogin = flagged;
        AddUser(user);
        startLogin();
        signIn("jd", "Secret");
        QVERIFY(boxes->boxes.isEmpty());
        WindowController* change = ChangePasswordWindow();
        QCOMPARE(bool(change), forced);
        if (!forced) {
            QCOMPARE(result, 1);
            return;
        }
        QCOMPARE(change->window.Root()->windowTitle(), "Change Password");
        QCOMPARE(change->window.Label(change->window.ControlNumber("LoginID")), "jd"); // the signed-in user
        // Cancel ends the sign-in without a message and stamps nothing.
        Press(*change, "Cancel");
        QVERIFY(!ChangePasswordWindow());
        QVERIFY(!LoginWindow());
        QCOMPARE(result, 0);
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(StoredUser().Value("USR:LastLogin").toInt(), 0);
        QVERIFY(!settings().contains("GLO:LastLoginID"));
    }

    void aForcedChangeTakesA25CharacterPasswordAndSignsIn()
    {
        User user;
        user.changeAtNextLogin = 1;
        AddUser(user);
        startLogin();
        signIn("jd", "Secret");
        WindowController* change = ChangePasswordWindow();
        QVERIFY(change);
        const QString longPassword = "Abcdefghij-klmnopqrst-uvw";
        QCOMPARE(longPassword.size(), 25);
        Type(*change, "OldPassword", "Secret");
        Type(*change, "NewPassword", longPassword);
        Type(*change, "Confirmation", longPassword);
        QCOMPARE(EntryText(*change, "NewPassword"), longPassword);
        Press(*change, "OK");
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(!ChangePasswordWindow());
        QVERIFY(!LoginWindow());
        QCOMPARE(result, 1);

        const Record stored = StoredUser();
        QCOMPARE(stored.Value("USR:ChngPwdAtNextLogin").toInt(), 0);
        QCOMPARE(stored.Value("USR:LastPwdChange").toInt(), DayNumberFromDate(Today_));
        QCOMPARE(stored.Value("USR:LastLogin").toInt(), DayNumberFromDate(Today_));
        QVERIFY(PasswordMatches(longPassword, stored.Value("USR:Password").toString()));
        QVERIFY(!PasswordMatches("Secret", stored.Value("USR:Password").toString()));

        // The next sign-in takes the new password and asks for no change.
        startLogin();
        signIn("jd", longPassword);
        QVERIFY(!ChangePasswordWindow());
        QCOMPARE(result, 1);
    }

    void theUsersTableHoldsNoPasswordAsTyped()
    {
        const QString typed = "PlainWords-Seen";
        AddUser(User{"jd", typed, 0, 0, 1});
        UsrAccess::LoginID = "jd";
        const QString changed = "AnotherPlainWord";
        Start([this] { result = ChangePassword(); });
        WindowController* change = ChangePasswordWindow();
        QVERIFY(change);
        Type(*change, "OldPassword", typed);
        Type(*change, "NewPassword", changed);
        Type(*change, "Confirmation", changed);
        Press(*change, "OK");
        QCOMPARE(result, 1);
        RelationsUSR->Close();

        const QString stored = [] {
            RelationsUSR->Open();
            return StoredUser().Value("USR:Password").toString();
        }();
        QVERIFY(stored.startsWith("$argon2id$"));
        QVERIFY(!stored.contains(changed));
        QFile file(AccessUSR->GetTable().FilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 0);
        for (const QString& password : {typed, changed}) {
            QVERIFY(!bytes.contains(password.toUtf8()));
            QVERIFY(!bytes.contains(
                QByteArray(reinterpret_cast<const char*>(password.utf16()), password.size() * 2)));
        }
    }

    void aRefusedPasswordChangeClearsTheEntriesAndStaysOpen_data()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message"); // blank: the change is stored
        QTest::newRow("a wrong old password") << "secret"
                                              << "New"
                                              << "New"
                                              << "The Old Password is incorrect. Please try again.";
        QTest::newRow("a confirmation that differs")
            << "Secret"
            << "New"
            << "new"
            << "The password typed does not match. Please retype the password.";
        QTest::newRow("a confirmation with trailing blanks") << "Secret"
                                                             << "New"
                                                             << "New   "
                                                             << "";
        QTest::newRow("a blank new password") << "Secret"
                                              << ""
                                              << ""
                                              << "";
        QTest::newRow("the old password again") << "Secret"
                                                << "Secret"
                                                << "Secret"
                                                << "";
    }
    void aRefusedPasswordChangeClearsTheEntriesAndStaysOpen()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        AddUser(User{});
        UsrAccess::LoginID = "jd";
        result = -1;
        Start([this] { result = ChangePassword(); });
        WindowController* change = ChangePasswordWindow();
        QVERIFY(change);
        Type(*change, "OldPassword", oldPassword);
        Type(*change, "NewPassword", newPassword);
        Type(*change, "Confirmation", confirmation);
        Press(*change, "OK");
        const QString stored = StoredUser().Value("USR:Password").toString();
        if (message.isEmpty()) {
            QVERIFY(boxes->boxes.isEmpty());
            QCOMPARE(result, 1);
            QVERIFY(PasswordMatches(newPassword, stored));
            return;
        }
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, "Change Password Failed");
        QCOMPARE(boxes->boxes[0].text, message);
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QCOMPARE(ChangePasswordWindow(), change);
        for (const char* entry : {"OldPassword", "NewPassword", "Confirmation"})
            QCOMPARE(EntryText(*change, entry), QString());
        QCOMPARE(change->window.FocusedControl(), 5);
        QVERIFY(PasswordMatches("Secret", stored));
        QCOMPARE(StoredUser().Value("USR:LastPwdChange").toInt(), 0);
    }

    void aPasswordChangeForAUserWhoIsGoneEndsWithTheInternalError()
    {
        AddUser(User{});
        UsrAccess::LoginID = "gone";
        Start([this] { result = ChangePassword(); });
        WindowController* change = ChangePasswordWindow();
        QVERIFY(change);
        QCOMPARE(EntryText(*change, "LoginID"), "<no entry>"); // a display, not an entry
        Type(*change, "OldPassword", "Secret");
        Press(*change, "OK");
        QCOMPARE(boxes->boxes.size(), 1);
        QCOMPARE(boxes->boxes[0].caption, "Change Password Failed");
        QCOMPARE(boxes->boxes[0].text, "There was an internal error that prevented you from changing your "
                                       "password. Please contact technical support.");
        QVERIFY(!ChangePasswordWindow());
        QCOMPARE(result, 0);
    }

    void theHelpButtonsShowTheirTopics()
    {
        std::vector<HelpRequest> asked;
        SetHelpSink([&](const HelpRequest& request) -> QWidget* {
            asked.push_back(request);
            return nullptr;
        });
        AddUser(User{});
        startLogin();
        Press(*LoginWindow(), "Help");
        UsrAccess::LoginID = "jd";
        Start([this] { ChangePassword(); });
        Press(*ChangePasswordWindow(), "Help");
        SetHelpSink({});
        QCOMPARE(asked.size(), std::size_t(2));
        QCOMPARE(asked[0].path, "Jornix.chm::/LoginScreen.htm");
        QCOMPARE(asked[1].path, "Jornix.chm::/password.htm");
    }

    void theWebSiteOpensTheMakersPage()
    {
        QStringList opened;
        SetShellOpenRunner([&](const QString& argument) {
            opened << argument;
            return 0;
        });
        startLogin();
        Press(*LoginWindow(), "WebSite");
        SetShellOpenRunner({});
        QCOMPARE(opened, QStringList("http://www.jornix.example"));
        QVERIFY(LoginWindow());
    }
};

QTEST_MAIN(LoginTest)
#include "tst_Login.moc"
