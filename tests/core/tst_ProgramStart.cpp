#include "core/StandInWindows.h"
#include "core/CheckSingleInstance.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/ProgramStart.h"
#include "core/SetTableFileNames.h"
#include "core/SignInRules.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace jornix;

// Every start runs as program thread 1 would, over a program folder of its own. The windows whose turn has
// not come yet ask whether to go on without them; the scripted answers decide where the start ends. At the
// sign-in, the test acts as the user (by default, closing the window).
class ProgramStartTest : public QObject
{
    Q_OBJECT

    QStringList asked;
    ThreadNumber startThread = 0;

    using SignInStep = std::function<void(WindowController& login)>;
    using SetupStep = std::function<void(WindowController& setup)>;

    QStringList setupPages; // the page the first-run setup showed when the test took it over
    QStringList settingsAtSetup;
    bool dataFolderAtSetup = false;

    // The lock and socket of an instance name live in one folder for the whole user: a name of this process
    // alone keeps another run of this test (another build, another checkout) from holding it meanwhile.
    static QString instanceName(const QString& base)
    {
        return QStringLiteral("%1-%2").arg(base).arg(QCoreApplication::applicationPid());
    }

    static WindowController* SetupWindow() { return WindowController::Find("OneTimeSetup"); }

    // The first-run setup is cancelled as soon as it shows, unless a test goes through it.
    static void cancelSetup(WindowController& setup) { press(setup, "Cancel"); }

    static void press(WindowController& window, const QString& control)
    {
        QWidget* widget = window.window.Widget(window.window.ControlNumber(control));
        QVERIFY(widget);
        static_cast<QAbstractButton*>(widget)->click();
        QVERIFY(WaitForProgramThreads(10000));
    }

    static void type(WindowController& window, const QString& control, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(window.window.Widget(window.window.ControlNumber(control)));
        QVERIFY(edit);
        edit->setText(text);
        emit edit->editingFinished();
        QVERIFY(WaitForProgramThreads(10000));
    }

    static void closeLogin(WindowController& login) { press(login, "Close"); }

    static bool frameShown()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Jornix")
                return true;
        return false;
    }

    // After a sign-in the splash shows on the start's thread, and the main frame only once it has closed: the
    // test closes the one and then the other.
    void closeSplashThenFrame()
    {
        QVERIFY(WindowController::Find("SplashScreen"));
        QVERIFY(!frameShown());
        PostEvent(Event::CloseWindow, 0, startThread);
        QVERIFY(WaitForProgramThreads(10000));
        QVERIFY(!WindowController::Find("SplashScreen"));
        QVERIFY(frameShown());
        PostEvent(Event::CloseWindow, 0, startThread);
    }

    // A data folder whose users table holds "jd" with the password "Secret".
    static void addUser(const QString& folder, int changeAtNextLogin)
    {
        QVERIFY(QDir().mkpath(folder + "Data"));
        GlobalErrorReporter.Init();
        InitDataLayer();
        SetTableFileNames(folder + "Data/");
        QCOMPARE(RelationsUSR->Open(), 0);
        AccessUSR->GetTable().ClearBuffer();
        AccessUSR->SetFieldDefaults();
        Record& user = AccessUSR->Buffer();
        user.SetValue("USR:LoginID", "jd");
        user.SetValue("USR:Password", *HashPassword("Secret"));
        user.SetValue("USR:ChngPwdAtNextLogin", changeAtNextLogin);
        user.SetValue("USR:ExpirePasswordCount", 0);
        user.SetValue("USR:UniqueID", 1);
        QCOMPARE(AccessUSR->Insert(), 0);
        RelationsUSR->Close();
        KillDataLayer();
        GlobalErrorReporter.Kill();
    }

    // The last sign-in of "jd" as the users table holds it.
    static int lastLogin(const QString& folder)
    {
        GlobalErrorReporter.Init();
        InitDataLayer();
        SetTableFileNames(folder + "Data/");
        RelationsUSR->Open();
        const int day = FetchUser("jd") ? AccessUSR->Buffer().Value("USR:LastLogin").toInt() : -1;
        RelationsUSR->Close();
        KillDataLayer();
        GlobalErrorReporter.Kill();
        return day;
    }

    int start(const QString& folder, const QStringList& answersNo,
              const QString& instance = instanceName("JornixTestStart"), const SignInStep& atSignIn = closeLogin,
              const SetupStep& atSetup = cancelSetup)
    {
        asked.clear();
        SetMessageBoxSink([this, answersNo](const MessageBoxRequest& request) {
            asked << request.text;
            for (const QString& no : answersNo)
                if (request.text.startsWith(no))
                    return int(MessageButton::No);
            return request.defaultButton;
        });
        GLO = PreservedSettings();
        int code = -1;
        startThread = StartProcedureThread([&] { code = ProgramStart({folder, instance}); });
        setupPages.clear();
        if (!WaitForProgramThreads(10000))
            qFatal("the start did not end");
        if (WindowController* setup = SetupWindow()) {
            const WindowDescription& window = setup->window;
            const int page = window.SelectedTab(window.ControlNumber("Sheet"));
            setupPages << window.Label(window.ControlNumber(QString("Title%1").arg(page)));
            settingsAtSetup = entries(folder + "Jornix.ini");
            dataFolderAtSetup = QFileInfo(folder + "Data").isDir();
            atSetup(*setup);
            if (!WaitForProgramThreads(30000))
                qFatal("the start did not end");
        }
        if (WindowController* login = WindowController::Find("Login")) {
            atSignIn(*login);
            if (!WaitForProgramThreads(10000))
                qFatal("the start did not end");
        }
        ReleaseInstanceMutex();
        SetMessageBoxSink({});
        return code;
    }

    static QString read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The entries of a settings file, as "section/key=value", blank lines left out.
    static QStringList entries(const QString& path)
    {
        QStringList result;
        QString section;
        for (QString line : read(path).split('\n')) {
            line = line.trimmed();
            if (line.startsWith('['))
                section = line.mid(1, line.size() - 2);
            else if (!line.isEmpty())
                result << section + "/" + line.remove(' ');
        }
        return result;
    }

private slots:
    void endingAtTheFirstRunSetupWritesOnlyTheDataFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QCOMPARE(start(folder, {}), 0);
        QCOMPARE(setupPages, QStringList("Welcome to Jornix 2.0"));
        QCOMPARE(settingsAtSetup, QStringList("Preserved/GLO:DataPath=" + folder + "Data/"));
        QVERIFY(dataFolderAtSetup);
        QCOMPARE(entries(folder + "Jornix.ini"),
                 QStringList({"Preserved/GLO:DataPath=" + folder + "Data/", "__Dont_Touch_Me__/Sectors=0"}));
        QVERIFY(QFileInfo(folder + "Data").isDir());
        QVERIFY(!asked.filter("sign-in").size());
    }

    void initTestCase()
    {
        UseMinimumPasswordLimits(true);
        RegisterStandInWindows();
        RegisterCoreProcedures();
    }

    void closingTheSignInEndsWithoutAMessageAndKeepsTheSettingsFileAsItWas()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        addUser(folder, 0);
        QFile ini(folder + "Jornix.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Preserved]\nGLO:DataPath=" + (folder + "Data/").toUtf8() +
                  "\nGLO:StartupView=3\n\n[Other]\nKeep=me\n");
        ini.close();
        const QStringList before = entries(folder + "Jornix.ini");

        QCOMPARE(start(folder, {}), 0);
        QVERIFY(asked.isEmpty()); // the record file is there: no first-run setup
        QCOMPARE(entries(folder + "Jornix.ini"), before + QStringList("__Dont_Touch_Me__/Sectors=0"));
        QCOMPARE(lastLogin(folder), 0);
    }

    void cancellingTheForcedPasswordChangeEndsTheProgramAndStampsNothing()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        addUser(folder, 1);
        bool changeAsked = false;
        QCOMPARE(start(folder, {}, instanceName("JornixTestStart"),
                       [&](WindowController& login) {
                           type(login, "LoginID", "jd");
                           type(login, "Password", "Secret");
                           press(login, "Login");
                           WindowController* change = WindowController::Find("ChangePassword");
                           QVERIFY(change);
                           changeAsked = true;
                           press(*change, "Cancel");
                       }),
                 0);
        QVERIFY(changeAsked);
        QVERIFY(asked.isEmpty());
        QCOMPARE(lastLogin(folder), 0);
        QVERIFY(!read(folder + "Jornix.ini").contains("GLO:LastLoginID=jd"));
    }

    void aSignedInUserReachesTheMainFrameAndIsRemembered()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        addUser(folder, 0);
        QCOMPARE(start(folder, {}, instanceName("JornixTestStart"),
                       [&](WindowController& login) {
                           type(login, "LoginID", "JD");
                           type(login, "Password", "Secret");
                           press(login, "Login");
                           QVERIFY(!WindowController::Find("Login"));
                           closeSplashThenFrame();
                       }),
                 0);
        QVERIFY(asked.isEmpty());
        QCOMPARE(lastLogin(folder), Today());
        QVERIFY(read(folder + "Jornix.ini").contains("GLO:LastLoginID=jd"));
    }

    void theLoginMadeByTheFirstRunSetupSignsIn()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        bool signedIn = false;
        QCOMPARE(start(
                     folder, {}, instanceName("JornixTestStart"),
                     [&](WindowController& login) {
                         type(login, "LoginID", "ps");
                         type(login, "Password", "Secret 1");
                         press(login, "Login");
                         signedIn = !WindowController::Find("Login");
                         closeSplashThenFrame();
                     },
                     [&](WindowController& setup) {
                         press(setup, "Next"); // the welcome
                         press(setup, "Next"); // the data folder the start has set
                         type(setup, "LoginIDEntry", "PS");
                         type(setup, "UserNameEntry", "Pat Sample");
                         type(setup, "PasswordEntry", "Secret 1");
                         type(setup, "ConfirmEntry", "Secret 1");
                         press(setup, "Next");
                         press(setup, "Next"); // with the sample data: the work
                         press(setup, "Next"); // Finish
                     }),
                 0);
        QVERIFY(signedIn);
        QVERIFY(QFileInfo::exists(folder + "Data/Jornix.tps"));
    }

    void aLongProgramFolderKeepsItsFilesInThatFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/" + QString(110, 'p') + "/";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(folder.size() > 100);
        QCOMPARE(start(folder, {}), 0);
        QCOMPARE(setupPages.size(), 1);
        QVERIFY(QFileInfo::exists(folder + "Jornix.ini"));
        QVERIFY(QFileInfo(folder + "Data").isDir());
        QVERIFY(read(folder + "Jornix.ini").contains("GLO:DataPath=" + folder + "Data/"));
    }

    void aFolderThatCannotBeWrittenIsRefusedWithAMessage()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/missing/";
        QCOMPARE(start(folder, {}), 0);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().startsWith("Jornix cannot write to its program folder " + folder));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void aSecondCopyIsToldThatJornixIsAlreadyRunning()
    {
        const QString instance = instanceName("JornixTestSecondCopy");
        QProcess first;
        first.start(JORNIX_INSTANCE_HELPER, {instance});
        QVERIFY(first.waitForReadyRead(5000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("first"));

        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QCOMPARE(start(folder, {}, instance), 0);
        QCOMPARE(asked, QStringList("Jornix is already running."));
        QCOMPARE(entries(folder + "Jornix.ini"), QStringList("__Dont_Touch_Me__/Sectors=0"));

        // Once the first copy is killed outright, a new start works.
        first.kill();
        first.waitForFinished();
        QCOMPARE(start(folder, {}, instance), 0);
        QCOMPARE(setupPages.size(), 1);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked.first().startsWith("You must finish the Jornix setup"));
    }

    void cleanupTestCase() { EndProgramThreads(); }
};

QTEST_MAIN(ProgramStartTest)
#include "tst_ProgramStart.moc"
