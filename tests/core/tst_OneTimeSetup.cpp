#include "core/CreateJornixDatabase.h"
#include "core/DataLayer.h"
#include "core/OneTimeSetup.h"
#include "core/PasswordHash.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetDataPaths.h"
#include "core/Tables.h"
#include "DataFolder.h"
#include "core/Procedures.h"
#include "platform/framework/WindowDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/CommonDialogs.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest>

using namespace jornix;

namespace {

const QStringList RecordFiles{"Jornix.tps",   "Reminder.tps",    "Task.tps",       "ScrapBook.tps",
                              "Contacts.tps", "StickyNotes.tps", "MiscFields.tps", "LLReport.tps"};

Table& TableOf(const QString& prefix)
{
    return *JornixCatalogue().FindTable(prefix);
}

// Every record of a table, as the named fields of each, in the order the table holds them.
QList<QVariantList> Rows(const QString& prefix, const QStringList& fields)
{
    Table& table = TableOf(prefix);
    QList<QVariantList> rows;
    if (!table.Open())
        return rows;
    qint64 count = 0;
    table.RecordCount(count);
    for (qint64 row = 1; rows.size() < count && row < count + 1000; ++row) {
        if (!table.FetchRow(row))
            continue;
        QVariantList values;
        for (const QString& field : fields)
            values << table.Buffer().Value(field);
        rows << values;
    }
    table.Close();
    return rows;
}

qint64 Count(const QString& prefix)
{
    Table& table = TableOf(prefix);
    qint64 count = -1;
    if (table.Open()) {
        table.RecordCount(count);
        table.Close();
    }
    return count;
}

void AddRows(const QString& prefix, const QString& field, const QStringList& values)
{
    Table& table = TableOf(prefix);
    QVERIFY(table.Open());
    for (const QString& value : values) {
        table.ClearBuffer();
        qint32 number = 0;
        QVERIFY(table.TakeNextNumber(number));
        table.Buffer().SetValue(table.Key(table.AutoNumberKey()).components.front(), number);
        table.Buffer().SetValue(field, value);
        QVERIFY(table.Insert());
    }
    table.Close();
}

// The content of every file of a folder, to show that nothing changed.
QMap<QString, QByteArray> Contents(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        file.open(QIODevice::ReadOnly);
        contents.insert(info.fileName(),
                        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return contents;
}

} // namespace

// Each test has a program folder of its own with the shipped DefaultData/ (the samples the build made) and a
// data folder that starts empty. Message boxes are answered by the start of their text, else by their default
// button; the folder chooser answers with the folder the test gives.
class OneTimeSetupTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> dir_;
    QString programFolder_;
    QString dataFolder_;
    QList<MessageBoxRequest> asked_;
    QMap<QString, int> answers_;
    QStringList chooserTitles_;
    QString chosenFolder_;

    void answer(const QString& textStart, int button) { answers_.insert(textStart, button); }

    QStringList askedTexts() const
    {
        QStringList texts;
        for (const MessageBoxRequest& request : asked_)
            texts << request.text;
        return texts;
    }

    // The wizard runs on a program thread of its own, as the program start runs it.
    int result_ = -1;
    void startWizard()
    {
        result_ = -1;
        StartProcedureThread([this] { result_ = OneTimeSetup(); });
        QVERIFY(WaitForProgramThreads(20000));
        QVERIFY(wizard());
    }

    static WindowController* wizard() { return WindowController::Find("OneTimeSetup"); }

    static int number(const QString& name) { return wizard()->window.ControlNumber(name); }

    template <class T> static T* control(const QString& name)
    {
        return qobject_cast<T*>(wizard()->window.Widget(number(name)));
    }

    static bool hidden(const QString& name) { return wizard()->window.IsHidden(number(name)); }

    static QString label(const QString& name) { return wizard()->window.Label(number(name)); }

    static QString pageTitle()
    {
        const int page = wizard()->window.SelectedTab(number("Sheet"));
        return label(QString("Title%1").arg(page));
    }

    static QProgressBar* progressBar()
    {
        return wizard()->window.Root()->findChild<QProgressBar*>("Progress");
    }

    static void press(const QString& button)
    {
        testing::Press(*wizard(), button);
        QVERIFY(WaitForProgramThreads(60000));
    }

    static void type(const QString& entry, const QString& text) { testing::Type(*wizard(), entry, text); }

    // Through the welcome and data path pages to the page that follows the data folder.
    void chooseDataFolder(const QString& folder)
    {
        startWizard();
        QCOMPARE(pageTitle(), QString("Welcome to Jornix 2.0"));
        press("Next");
        QCOMPARE(pageTitle(), QString("Jornix - Data Path"));
        type("DataPath", folder);
        press("Next");
    }

    void defineLogin(const QString& loginId, const QString& name, const QString& password, bool samples)
    {
        QCOMPARE(pageTitle(), QString("Define Your Login ID/Password"));
        type("LoginIDEntry", loginId);
        type("UserNameEntry", name);
        type("PasswordEntry", password);
        type("ConfirmEntry", password);
        press("Next");
        QCOMPARE(pageTitle(), QString("Create Sample Data?"));
        if (control<QCheckBox>("SampleDataCheck")->isChecked() != samples)
            press("SampleDataCheck");
        press("Next");
    }

    void pointTablesAt(const QString& folder)
    {
        GLO.DataPath = folder;
        SetDataPaths();
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<test::DataFolder>();
        programFolder_ = dir_->Path();
        dataFolder_ = dir_->FilePath("data/");
        QVERIFY(QDir().mkpath(programFolder_ + "DefaultData"));
        for (const char* sample : {"sample1.tx", "sample2.tx", "sample1.wav"})
            QVERIFY(QFile::copy(QString(JORNIX_PROGRAM_DIR "/DefaultData/") + sample,
                                programFolder_ + "DefaultData/" + sample));
        SetDataPaths(); // the start has fixed the data folder: the program folder's Data/

        asked_.clear();
        answers_.clear();
        SetMessageBoxSink([this](const MessageBoxRequest& request) {
            asked_ << request;
            for (auto it = answers_.cbegin(); it != answers_.cend(); ++it)
                if (request.text.startsWith(it.key()))
                    return it.value();
            return request.defaultButton;
        });
        chooserTitles_.clear();
        chosenFolder_.clear();
        SetCommonDialogSink([this](const CommonDialogRequest& request) {
            chooserTitles_ << request.title;
            CommonDialogAnswer answer;
            answer.accepted = !chosenFolder_.isEmpty();
            answer.path = chosenFolder_;
            return answer;
        });
    }

    void cleanup()
    {
        if (wizard()) {
            answer("You must finish", MessageButton::Yes);
            PostEvent(Event::CloseWindow, 0, wizard()->Thread());
        }
        QVERIFY(WaitForProgramThreads(20000));
        SetMessageBoxSink({});
        SetCommonDialogSink({});
        ClearProcedures();
        INIMgr.Kill();
        dir_.reset();
        SetFixedClock({});
    }

    void initTestCase() { UseMinimumPasswordLimits(true); }
    void cleanupTestCase() { EndProgramThreads(); }

    void theDataFolderIsRefusedAndNothingWritten_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        const QString blank = "Please click the \"...\" button to select the Database Path";
        const QString reserved = "Do not use the DefaultData folder. It is reserved.";
        QTest::newRow("blank") << ""
                               << "Information" << blank;
        QTest::newRow("blanks only") << "   "
                                     << "Information" << blank;
        QTest::newRow("lower case") << "%1defaultdata"
                                    << "Invalid Data Path" << reserved;
        QTest::newRow("with the final slash") << "%1DefaultData/"
                                              << "Invalid Data Path" << reserved;
        QTest::newRow("through another folder") << "%1Data/../DEFAULTDATA"
                                                << "Invalid Data Path" << reserved;
        QTest::newRow("cannot be made") << "%1plain/Data"
                                        << "Invalid Data Path"
                                        << "The folder %1plain/Data/ could not be created. Please select "
                                           "another Data Path.";
    }

    void theDataFolderIsRefusedAndNothingWritten()
    {
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        QFile plain(programFolder_ + "plain"); // a file, where a folder would have to be made
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QByteArray settingsBefore = Contents(programFolder_).value("Jornix.ini");
        const QString dataPathBefore = GLO.DataPath;

        chooseDataFolder(entry.contains("%1") ? entry.arg(programFolder_) : entry);

        QCOMPARE(pageTitle(), QString("Jornix - Data Path"));
        QCOMPARE(asked_.size(), 1);
        QCOMPARE(asked_[0].caption, caption);
        QCOMPARE(asked_[0].text, message.contains("%1") ? message.arg(programFolder_) : message);
        QCOMPARE(asked_[0].icon, MessageIcon::Exclamation);
        QCOMPARE(control<QLineEdit>("DataPath")->text().trimmed(), QString());
        QCOMPARE(GLO.DataPath, dataPathBefore);
        QCOMPARE(Contents(programFolder_).value("Jornix.ini"), settingsBefore);
        QCOMPARE(QDir(programFolder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"Data", "DefaultData"}));
    }

    void theFolderChooserFillsTheDataPath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("chosen") << "/somewhere/Jornix" << QStringList();
        QTest::newRow("cancelled") << ""
                                   << QStringList("You must select the Jornix Data Path. This information is "
                                                  "required to complete the program installation.");
    }

    void theFolderChooserFillsTheDataPath()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, messages);
        startWizard();
        press("Next");
        const QString before = control<QLineEdit>("DataPath")->text();
        chosenFolder_ = chosen;
        press("Browse");
        QCOMPARE(chooserTitles_, QStringList("Select the Jornix Data Path"));
        QCOMPARE(askedTexts(), messages);
        QCOMPARE(control<QLineEdit>("DataPath")->text(), chosen.isEmpty() ? before : chosen);
        if (!messages.isEmpty())
            QCOMPARE(asked_[0].caption, QString("Data Path is Required"));
    }

    void theLoginPageRefusesInOrder_data()
    {
        QTest::addColumn<QStringList>("entries"); // login id, user name, password, confirmation
        QTest::addColumn<int>("blankAnswer");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        QTest::addColumn<QStringList>("passwordsAfter");
        const int password = int(LoginEntry::Password);
        QTest::newRow("no login id, before all else")
            << QStringList({"  ", "", "abc", "ABC"}) << 0 << "Missing Information"
            << "The Login ID is required. Please enter your initials." << int(LoginEntry::LoginId)
            << QStringList({"abc", "ABC"});
        QTest::newRow("no user name")
            << QStringList({"PS", " ", "", ""}) << 0 << "Missing Information"
            << "Please enter your name." << int(LoginEntry::UserName) << QStringList({"", ""});
        QTest::newRow("blank password refused")
            << QStringList({"PS", "Pat", "", ""}) << int(MessageButton::No) << "Confirm"
            << "Are you sure you want to have a blank password?" << password << QStringList({"", ""});
        QTest::newRow("blank password confirmed")
            << QStringList({"PS", "Pat", "  ", ""}) << int(MessageButton::Yes) << "Confirm"
            << "Are you sure you want to have a blank password?" << int(LoginEntry::None)
            << QStringList({"  ", ""});
        QTest::newRow("case counts") << QStringList({"PS", "Pat", "abc", "ABC"}) << 0 << "Password Problem"
                                     << "The password typed does not match. Please retype the password."
                                     << password << QStringList({"", ""});
        QTest::newRow("one of them blank") << QStringList({"PS", "Pat", "", "abc"}) << 0 << "Password Problem"
                                           << "The password typed does not match. Please retype the password."
                                           << password << QStringList({"", ""});
        QTest::newRow("trailing blanks do not count")
            << QStringList({"PS", "Pat", "abc  ", "abc"}) << 0 << ""
            << "" << int(LoginEntry::None) << QStringList({"abc  ", "abc"});
    }

    void theLoginPageRefusesInOrder()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, blankAnswer);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        QFETCH(int, focus);
        QFETCH(QStringList, passwordsAfter);
        if (blankAnswer)
            answer("Are you sure", blankAnswer);
        FirstLogin login{entries[0], entries[1], entries[2]};
        QString confirmation = entries[3];
        QCOMPARE(int(CheckFirstLogin(login, confirmation)), focus);
        QCOMPARE(askedTexts(), message.isEmpty() ? QStringList() : QStringList(message));
        if (!message.isEmpty()) {
            QCOMPARE(asked_[0].caption, caption);
            QCOMPARE(asked_[0].icon, blankAnswer ? MessageIcon::Question : MessageIcon::Exclamation);
        }
        QCOMPARE(QStringList({login.password, confirmation}), passwordsAfter);
    }

    void aMismatchBlanksBothPasswordEntries()
    {
        chooseDataFolder(dataFolder_);
        type("LoginIDEntry", "PS");
        type("UserNameEntry", "Pat Sample");
        type("PasswordEntry", "abc");
        type("ConfirmEntry", "ABC");
        press("Next");
        QCOMPARE(pageTitle(), QString("Define Your Login ID/Password"));
        QCOMPARE(control<QLineEdit>("PasswordEntry")->text(), QString());
        QCOMPARE(control<QLineEdit>("ConfirmEntry")->text(), QString());
        QCOMPARE(control<QLineEdit>("LoginIDEntry")->text(), QString("PS"));
    }

    void finishingWithoutSamplesMakesTheDatabase()
    {
        SetFixedClock(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
        const QString folder = dataFolder_ + "nested/Jornix Data"; // made with its parents, "/" added
        chooseDataFolder(folder);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(GLO.DataPath, folder + "/");
        QVERIFY(Contents(programFolder_).contains("Jornix.ini"));
        QFile ini(IniFileName);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(ini.readAll())
                    .remove(' ')
                    .contains("GLO:DataPath=" + QString(folder).remove(' ') + "/"));

        // The reports library's reset, reached through the table of procedures, runs after the report areas.
        QList<qint64> areasAtReset;
        RegisterProcedure("ResetReportLayouts", [&] { areasAtReset << Count("LLA_:"); });
        defineLogin("PS", "Pat Sample", "Secret 1", false);
        QCOMPARE(areasAtReset, QList<qint64>({7}));
        QCOMPARE(pageTitle(), QString("Jornix Setup - Finished"));
        QCOMPARE(label("Next"), QString("Finish"));
        QVERIFY(wizard()->window.IsEnabled(number("Next")));
        QVERIFY(hidden("Cancel"));
        QVERIFY(progressBar()->isHidden());
        QCOMPARE(progressBar()->value(), 100);
        QVERIFY(hidden("ProgressPrompt"));
        QVERIFY(!hidden("FinishTexts"));
        QCOMPARE(askedTexts(), QStringList());
        press("Next");
        QVERIFY(!wizard());
        QCOMPARE(result_, 1);

        for (const QString& file : RecordFiles)
            QVERIFY2(QFileInfo::exists(GLO.DataPath + file), qPrintable(file));
        QVERIFY(!QFileInfo::exists(GLO.DataPath + "l_1.wav"));

        const QStringList userFields{"LoginID",
                                     "Name",
                                     "LastLogin",
                                     "LastPwdChange",
                                     "ChngPwdAtNextLogin",
                                     "ExpirePasswordCount",
                                     "Disabled",
                                     "Administrator",
                                     "LogEventAccess",
                                     "ReminderAccess",
                                     "TaskAccess",
                                     "StickyNotesAccess",
                                     "ContactAccess",
                                     "ScrapBookAccess",
                                     "ReportDesignerAccess",
                                     "MiscFieldAccess",
                                     "UniqueID",
                                     "Password"};
        const QList<QVariantList> users = Rows("USR:", userFields);
        QCOMPARE(users.size(), 1);
        const int today = Today();
        const int uniqueId = (9 * 3600 + 30 * 60) * 100 + 1;
        QCOMPARE(users[0].mid(0, 17),
                 QVariantList({"PS", "Pat Sample", 0, today, 0, 90, 0, 1, 2, 2, 2, 2, 2, 2, 2, 2, uniqueId}));
        // The password is kept only as its hash, and the hash answers to the password as typed.
        const QString hash = users[0][17].toString();
        QVERIFY(!hash.contains("Secret"));
        QVERIFY(PasswordMatches("Secret 1", hash));
        QVERIFY(!PasswordMatches("secret 1", hash));

        QCOMPARE(Rows("LLA_:", {"Ref", "ReportType", "TemplateType"}),
                 QList<QVariantList>({{1, "Jornix", ""},
                                      {2, "Task", ""},
                                      {3, "Contact", ""},
                                      {4, "Reminder", ""},
                                      {5, "Sticky Notes", ""},
                                      {6, "Scrap Book", ""},
                                      {99, "Dummy Record", ""}}));
        for (const char* prefix : {"LOG:", "REM:", "TSK:", "CON:", "SCR:", "STK:", "MSC:", "LLL_:"})
            QVERIFY2(Count(prefix) == 0, prefix);
    }

    void theSampleRecordsComeWithTheirDocumentsAndVoice()
    {
        SetFixedClock(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
        pointTablesAt(dataFolder_);
        QList<int> progress;
        QList<int> progressAtReset;
        RegisterProcedure("ResetReportLayouts", [&] { progressAtReset << progress.last(); });
        const DatabaseCreation made =
            CreateJornixDatabase({"PS", "Pat Sample", ""}, true, [&](int value) { progress << value; });
        QVERIFY2(made.Ok(), qPrintable(made.failure));
        QCOMPARE(made.notes, QStringList());
        QCOMPARE(progressAtReset, QList<int>({50})); // then 55
        QCOMPARE(progress, QList<int>({2,  4,  5,  10, 15, 20, 25, 30, 35, 40, 45,
                                       50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));

        const int today = Today();
        const int uniqueId = (9 * 3600 + 30 * 60) * 100 + 1;
        const QStringList stamp{"CreateDate", "CreateLoginID", "LastEditDate", "LastEditLoginID", "UniqueID"};
        const QVariantList stamped{today, "PS", today, "PS", uniqueId};
        const QList<QVariantList> events =
            Rows("LOG:", QStringList({"LogNum", "LogDate", "LogDescription", "LogFollowUp", "LogPrivate",
                                      "LogDocEditDate", "LogCreateDate", "LogCreateLoginID",
                                      "LogLastEditDate", "LogLastEditLoginID", "LogUniqueID"}));
        QCOMPARE(events,
                 QList<QVariantList>(
                     {QVariantList({1, today, "Welcome to Jornix", 1, 0, today}) + stamped,
                      QVariantList({2, today + 1, "Another Example Record", 0, 1, today}) + stamped}));
        Table& log = TableOf("LOG:");
        QVERIFY(log.Open());
        for (qint64 row : {1, 2}) {
            QVERIFY(log.FetchRow(row));
            QVERIFY(!log.Buffer().Blob(log.FieldIndex("LogDoc")).isEmpty());
        }
        log.Close();
        QFile voice(dataFolder_ + "l_1.wav");
        QVERIFY(voice.open(QIODevice::ReadOnly));
        QVERIFY(voice.read(4) == "RIFF");

        QCOMPARE(Rows("STK:", QStringList({"Num", "Description"}) + stamp),
                 QList<QVariantList>({QVariantList({1, "A quick note"}) + stamped}));
        QCOMPARE(
            Rows("SCR:", QStringList({"Num", "Description", "Private"}) + stamp),
            QList<QVariantList>({QVariantList({1, "", 1}) + stamped, QVariantList({2, ".Sig 1", 0}) + stamped,
                                 QVariantList({3, ".Sig 2", 0}) + stamped}));
        QCOMPARE(Rows("CON:", QStringList({"Street1", "City", "State", "Zip", "Country", "Phone1"}) + stamp),
                 QList<QVariantList>(
                     {QVariantList({"123 Main Street", "Anytown", "XX", "00000", "USA", "800.555.1212"}) +
                      stamped}));
        QCOMPARE(Rows("TSK:", QStringList({"Description", "StartDate", "DueDate", "CloseDate", "Completed",
                                           "Priority", "Private"}) +
                                  stamp),
                 QList<QVariantList>({QVariantList({"Sample Task", today, today, 0, 0, 2, 0}) + stamped}));
        QCOMPARE(Count("REM:"), 0);
    }

    void anExistingRecordFileKeepsItsRecords_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("samples");
        QTest::newRow("reminders") << "REM:"
                                   << "Description" << 3 << false;
        QTest::newRow("sticky notes, no sample added") << "STK:"
                                                       << "Description" << 1 << true;
        QTest::newRow("scraps, no sample added") << "SCR:"
                                                 << "Description" << 2 << true;
        QTest::newRow("report areas") << "LLA_:"
                                      << "ReportType" << 2 << false;
    }

    void anExistingRecordFileKeepsItsRecords()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, field);
        QFETCH(int, rows);
        QFETCH(bool, samples);
        pointTablesAt(dataFolder_);
        QStringList values;
        for (int i = 1; i <= rows; ++i)
            values << QString("Kept %1").arg(i);
        AddRows(prefix, field, values);
        QVERIFY(!QFileInfo::exists(dataFolder_ + "Jornix.tps"));

        const DatabaseCreation made = CreateJornixDatabase({"PS", "Pat", "pw"}, samples);
        QVERIFY2(made.Ok(), qPrintable(made.failure));
        const QList<QVariantList> kept = Rows(prefix, {field});
        for (int i = 0; i < rows; ++i)
            QCOMPARE(kept.value(i), QVariantList({values[i]}));
        // Kept areas hold their numbers (here 1 and 2); only the missing areas are added.
        QCOMPARE(kept.size(), prefix == "LLA_:" ? 7 : rows);
        QCOMPARE(Count("USR:"), 1);
        QCOMPARE(Count("LOG:"), samples ? 2 : 0);
    }

    void aDatabaseThatIsThereIsOnlyFound()
    {
        pointTablesAt(dataFolder_);
        AddRows("LOG:", "LogDescription", {"Mine"});
        AddRows("REM:", "Description", {"Mine too"});
        const QMap<QString, QByteArray> before = Contents(dataFolder_);
        pointTablesAt(programFolder_ + "Data/");

        chooseDataFolder(dataFolder_);
        QCOMPARE(pageTitle(), QString("Jornix Database Found"));
        QCOMPARE(control<QWidget>("FoundPath")->property("text").toString(), dataFolder_);
        QCOMPARE(label("Next"), QString("Finish"));
        QVERIFY(hidden("Cancel"));
        press("Next");
        QCOMPARE(result_, 1);
        QVERIFY(asked_.isEmpty());
        QCOMPARE(Contents(dataFolder_), before);
    }

    void aFailureIsToldAndTheWizardStays()
    {
        QVERIFY(QDir().mkpath(dataFolder_));
        QFile contacts(dataFolder_ + "Contacts.tps");
        QVERIFY(contacts.open(QIODevice::WriteOnly));
        contacts.write(QByteArray(4096, 'x')); // not a record file
        contacts.close();
        const QMap<QString, QByteArray> before = Contents(dataFolder_);

        chooseDataFolder(dataFolder_);
        defineLogin("PS", "Pat", "pw", true);
        QCOMPARE(asked_.size(), 1);
        QCOMPARE(asked_[0].caption, QString("Jornix Setup"));
        QCOMPARE(asked_[0].icon, MessageIcon::Stop);
        QVERIFY2(asked_[0].text.contains("The table Contacts could not be created"),
                 qPrintable(asked_[0].text));
        QCOMPARE(pageTitle(), QString("Create Sample Data?"));
        QCOMPARE(label("Next"), QString("Next >>"));
        QVERIFY(!hidden("Cancel"));
        // The next start asks for the setup again; the file that was there is as it was.
        QVERIFY(!QFileInfo::exists(dataFolder_ + "Jornix.tps"));
        QCOMPARE(Contents(dataFolder_).value("Contacts.tps"), before.value("Contacts.tps"));
    }

    void cancellingAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::newRow("no") << int(MessageButton::No) << true;
        QTest::newRow("yes") << int(MessageButton::Yes) << false;
    }

    void cancellingAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, open);
        startWizard();
        this->answer("You must finish", answer);
        press("Cancel");
        QCOMPARE(asked_.size(), 1);
        QCOMPARE(asked_[0].caption, QString("Cancel Program Setup?"));
        QCOMPARE(asked_[0].text,
                 QString("You must finish the Jornix setup before you can use the application. "
                         "Are you sure you want to cancel the Jornix setup?"));
        QCOMPARE(asked_[0].defaultButton, int(MessageButton::Yes));
        QCOMPARE(wizard() != nullptr, open);
        if (!open)
            QCOMPARE(result_, 0);
    }
};

QTEST_MAIN(OneTimeSetupTest)
#include "tst_OneTimeSetup.moc"
