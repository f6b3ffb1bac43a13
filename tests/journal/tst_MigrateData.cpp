#include "journal/MigrateData.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "documents/TXEdit.h"
#include "journal/JournalProcedures.h"
#include "platform/help/HelpViewer.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace jornix;
using namespace jornix::testing;

namespace {

const QString SampleLog = QStringLiteral(JORNIX_PROGRAM_DIR "/DefaultData/Jornix10/LogFile.TPS");
const QString CorruptText =
    QStringLiteral("The Jornix 1.0 Database file appears to be corrupt or in use. Please "
                   "close Jornix 1.0 or select a different file.");

WindowController* Wizard()
{
    return FindWindow(QStringLiteral("MigrateData"));
}

int Number(const QString& name)
{
    return Wizard()->window.ControlNumber(name);
}

QString PageTitle()
{
    return Wizard()->window.Label(
        Number(QStringLiteral("Title%1").arg(Wizard()->window.SelectedTab(Number("Sheet")))));
}

QProgressBar* ProgressBar()
{
    return Wizard()->window.Root()->findChild<QProgressBar*>(QStringLiteral("Progress"));
}

Table& Log()
{
    return AccessLOG->GetTable();
}

qint64 EventCount()
{
    qint64 count = -1;
    Log().RecordCount(count);
    return count;
}

// Every event of the log from this number on, in number order.
QList<Record> EventsFrom(qint32 first)
{
    QList<Record> events;
    const int numberKey = Log().AutoNumberKey();
    for (qint32 number = first; number < first + 100; ++number) {
        Log().ClearBuffer();
        Log().Buffer().SetValue(QStringLiteral("LOG:LogNum"), number);
        if (Log().Fetch(numberKey))
            events << Log().Buffer();
    }
    return events;
}

QString PlainText(const QByteArray& document)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    edit.LoadFromBlob(document);
    const QString text = control.Text();
    edit.Kill();
    return text.trimmed();
}

// A connection of another program to a file.
int RunSql(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const int result = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return result;
}

} // namespace

// The log of the data folder starts with one event of its own (number 1); the version-1.0 logs are copies of
// the sample that the build writes. The signed-in user is an administrator with full access.
class MigrateDataTest : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString oldLog; // the copy of the sample that the file dialog gives
    std::unique_ptr<test::MessageRecorder> boxes;
    std::unique_ptr<DialogScript> dialogs;
    QList<HelpRequest> helpShown;
    int broadcasts = 0;
    qint64 before = 0;

    void Start()
    {
        testing::Start([] { CallProcedure(QStringLiteral("MigrateData")); });
    }

    static void Press(const QString& control) { testing::Press(*Wizard(), control); }

    // From the start through the choice of the file to the page that follows it.
    void ChooseFile(const QString& path)
    {
        Start();
        QVERIFY(Wizard());
        QCOMPARE(PageTitle(), QString("Migrate Log Events from Jornix 1.0"));
        Press("Next");
        QCOMPARE(PageTitle(), QString("Select Jornix 1.0 Database"));
        CommonDialogAnswer chosen;
        chosen.accepted = true;
        chosen.path = path;
        dialogs->Answer(chosen);
        Press("Browse");
    }

    // Through the whole wizard to its last page, the migration done.
    void Migrate(bool markPrivate = false)
    {
        ChooseFile(oldLog);
        Press("Next");
        if (markPrivate)
            Press("Private");
        Press("Next");
        QCOMPARE(PageTitle(), QString("Ready to Migrate"));
        Press("Next");
        QCOMPARE(PageTitle(), QString("Migration Completed"));
    }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        GlobalErrorReporter.Init();
        InitDataLayer();
        ProgramFolder = folder.path() + QLatin1Char('/');
        SetTableFileNames(ProgramFolder);
        RegisterJournalProcedures();
        QCOMPARE(RelationsLOG->Open(), 0);
        AccessLOG->PrepareRecord();
        AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Already here"));
        QCOMPARE(AccessLOG->InsertQuiet(), 0);
        SetHelpSink([this](const HelpRequest& request) {
            helpShown.append(request);
            return nullptr;
        });
        SetRefreshPoster([this](int event, int, ThreadNumber) { broadcasts += event == RefreshEvent; });
        WindowThreadRegistry[WindowKind::DateView] = 9999; // a list that is told to refresh
        SetFixedClock(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
    }
    void cleanupTestCase()
    {
        WindowThreadRegistry[WindowKind::DateView] = 0;
        SetRefreshPoster({});
        SetHelpSink({});
        SetFixedClock({});
        EndProgramThreads();
        RelationsLOG->Close();
        KillDataLayer();
    }
    void init()
    {
        UsrAccess::LoginID = QStringLiteral("AB");
        UsrAccess::Name = QStringLiteral("Ann Bell");
        CurrentUserUniqueID = 4711;
        CurrentUserIsAdmin = 1;
        CurrentUserAccess[AccessArea::LogEvents] = 2;
        boxes = std::make_unique<test::MessageRecorder>();
        dialogs = std::make_unique<DialogScript>();
        helpShown.clear();
        broadcasts = 0;
        QDir(folder.filePath("old")).removeRecursively();
        QVERIFY(QDir().mkpath(folder.filePath("old")));
        oldLog = folder.filePath("old/LogFile.TPS");
        QVERIFY(QFile::copy(SampleLog, oldLog));
        before = EventCount();
    }
    void cleanup()
    {
        if (Wizard()) {
            boxes->answers = {MessageButton::Yes};
            PostEvent(Event::CloseWindow, 0, Wizard()->Thread());
            QVERIFY(WaitIdle());
        }
        QVERIFY(!Wizard());
        dialogs.reset();
        boxes.reset();
    }

    void theOldEventsBecomeEventsOfTheSignedInUser_data()
    {
        QTest::addColumn<bool>("markPrivate");
        QTest::newRow("public") << false;
        QTest::newRow("private") << true;
    }
    void theOldEventsBecomeEventsOfTheSignedInUser()
    {
        QFETCH(bool, markPrivate);
        const qint32 first = qint32(before) + 1; // numbers go on from the log's own
        ChooseFile(oldLog);
        QCOMPARE(dialogs->asked.size(), 1);
        QCOMPARE(dialogs->asked[0].title, QString("Select Jornix 1.0 Database"));
        QCOMPARE(dialogs->asked[0].filters, QString("Jornix 1.0 File|LogFile.TPS"));
        QCOMPARE(dialogs->asked[0].path, ProgramFolder);
        QCOMPARE(qobject_cast<QLineEdit*>(Wizard()->window.Widget(Number("FileName")))->text(), oldLog);
        test::SavePicture(Wizard()->window.Root(), "MigrateData-2");
        Press("Next");
        QCOMPARE(PageTitle(), QString("Log Event Owner/Private Options"));
        QCOMPARE(Wizard()->window.Label(Number("LoginID")), QString("AB"));
        QCOMPARE(Wizard()->window.Label(Number("UserName")), QString("Ann Bell"));
        test::SavePicture(Wizard()->window.Root(), "MigrateData-3");
        if (markPrivate)
            Press("Private");
        Press("Next");
        QVERIFY(Wizard()->window.IsHidden(Number("ProgressPrompt")));
        test::SavePicture(Wizard()->window.Root(), "MigrateData-4");
        Press("Help");
        QCOMPARE(helpShown.size(), 1);
        QVERIFY(helpShown[0].path.endsWith("migrate10.htm"));
        Press("Next");

        QCOMPARE(PageTitle(), QString("Migration Completed"));
        QCOMPARE(Wizard()->window.Label(Number("Next")), QString("Finish"));
        QVERIFY(Wizard()->window.IsHidden(Number("Cancel")));
        QVERIFY(!Wizard()->window.IsHidden(Number("DoneNote")));
        QVERIFY(!Wizard()->window.Widget(Number("Notes"))->isVisible()); // the notes' control is never shown
        QCOMPARE(ProgressBar()->maximum(), 4);
        QCOMPARE(ProgressBar()->value(), 4);
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(broadcasts, 0);
        test::SavePicture(Wizard()->window.Root(), "MigrateData-4-completed");
        Press("Next");
        QVERIFY(!Wizard());
        QCOMPARE(broadcasts, 1);

        // In the order the old log holds them, each with a new number.
        const QList<Record> events = EventsFrom(first);
        QCOMPARE(events.size(), 4);
        struct Expected
        {
            const char* description;
            QDate date;
            const char* misc[3];
            const char* notes;
        };
        const Expected expected[] = {
            {"Project meeting",
             {1999, 11, 2},
             {"7", "0", "0"},
             "Agenda:\n1. Budget for next year\n2. New office\n\nThe budget was agreed."},
            {"Lunch with Ann",
             {1999, 10, 30},
             {"0", "-5", "123"},
             "We met at Café Central and talked about the trip.\nRemember the tickets!"},
            {"New Year", {2000, 1, 1}, {"1", "2", "3"}, ""},
            {"Bicycle repair", {1999, 12, 24}, {"-1", "0", "2000000000"}, "New tyres, both of them."}};
        for (int i = 0; i < 4; ++i) {
            const Record& event = events[i];
            QCOMPARE(event.Value("LOG:LogNum").toInt(), first + i);
            QCOMPARE(event.Text(event.FieldNumber("LOG:LogDescription")), QString(expected[i].description));
            QCOMPARE(event.Value("LOG:LogDate").toInt(), DayNumberFromDate(expected[i].date));
            for (int misc = 0; misc < 3; ++misc)
                QCOMPARE(event.Value(QString("LOG:LogMisc%1").arg(misc + 4)).toString(),
                         QString(expected[i].misc[misc]));
            QCOMPARE(PlainText(event.Blob(event.FieldNumber("LOG:LogDoc"))),
                     QString::fromUtf8(expected[i].notes));
            QCOMPARE(event.Value("LOG:LogCreateDate").toInt(), Today());
            QCOMPARE(event.Value("LOG:LogLastEditDate").toInt(), Today());
            QCOMPARE(event.Value("LOG:LogDocEditDate").toInt(), Today());
            QCOMPARE(event.Value("LOG:LogCreateLoginID").toString(), QString("AB"));
            QCOMPARE(event.Value("LOG:LogLastEditLoginID").toString(), QString("AB"));
            QCOMPARE(event.Value("LOG:LogUniqueID").toInt(), 4711);
            QCOMPARE(event.Value("LOG:LogPrivate").toInt(), markPrivate ? 1 : 0);
        }
        // The fields of the same names come over as they were.
        QCOMPARE(events[1].Value("LOG:LogType").toInt(), 1);
        QCOMPARE(events[1].Value("LOG:LogLocation").toString(), QString("Cafe Central"));
        QCOMPARE(events[1].Value("LOG:LogDuration").toString(), QString("1 hour"));
        QCOMPARE(events[1].Value("LOG:LogFollowUp").toInt(), 1);
        QCOMPARE(events[0].Value("LOG:LogImportant").toInt(), 1);
        QCOMPARE(events[0].Value("LOG:LogRank").toInt(), 1);
        QCOMPARE(events[1].Value("LOG:LogMisc1").toString(), QString("Ann"));
        QCOMPARE(events[1].Value("LOG:LogMiniNotes").toString(), QString("Call her back"));
    }

    void eachRunAddsEveryOldEvent_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("added");
        QTest::newRow("a second run adds them again") << false << 2 << 8;
        QTest::newRow("an empty log adds nothing") << true << 1 << 0;
    }
    void eachRunAddsEveryOldEvent()
    {
        QFETCH(bool, empty);
        QFETCH(int, runs);
        QFETCH(int, added);
        if (empty)
            QCOMPARE(RunSql(oldLog, "DELETE FROM LogFile"), SQLITE_OK);
        for (int run = 0; run < runs; ++run) {
            Migrate();
            Press("Next");
        }
        QCOMPARE(EventCount(), before + added);
        QCOMPARE(broadcasts, runs);
        QVERIFY(boxes->boxes.isEmpty());
    }

    void oddValuesOfTheOldLogAreTakenAsTheirFieldsKeepThem()
    {
        // Another program's values: no constraints, nothing of the types the fields have.
        QCOMPARE(RunSql(oldLog,
                        "CREATE TABLE Odd AS SELECT * FROM LogFile; DROP TABLE LogFile; ALTER TABLE Odd "
                        "RENAME TO LogFile; UPDATE LogFile SET LOGDATE = 'soon', LOGRANK = 1e300, "
                        "LOGDESCRIPTION = NULL, LOGNUM1 = 'x', LOGNUM2 = 99999999999, LOGNOTES = "
                        "x'7b5c72746631ff00', LOGMININOTES = zeroblob(5000)"),
                 SQLITE_OK);
        Migrate();
        Press("Next");
        QVERIFY(boxes->boxes.isEmpty());
        const QList<Record> events = EventsFrom(qint32(before) + 1);
        QCOMPARE(events.size(), 4);
        for (const Record& event : events) {
            QCOMPARE(event.Value("LOG:LogDate").toInt(), 0);
            QCOMPARE(event.Value("LOG:LogDescription").toString(), QString());
            QCOMPARE(event.Value("LOG:LogMisc4").toString(), QString("0"));
            QCOMPARE(event.Value("LOG:LogMiniNotes").toString().size(), 1000);
        }
    }

    void aFileThatIsNoVersion10LogIsRefused_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("not a database") << "text";
        QTest::newRow("an enciphered data file") << "enciphered";
        QTest::newRow("a database without LogFile") << "no table";
        QTest::newRow("a LogFile lacking columns") << "columns";
        QTest::newRow("a file locked for writing by another process") << "locked";
        QTest::newRow("a named pipe") << "pipe";
    }
    void aFileThatIsNoVersion10LogIsRefused()
    {
        QFETCH(QString, fixture);
        QProcess writer;
        if (fixture == "text") {
            QFile file(oldLog);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("Jornix 1.0 log\r\n" + QByteArray(4000, '\x1a'));
        } else if (fixture == "enciphered") {
            QFile::remove(oldLog);
            QVERIFY(QFile::copy(Log().FilePath(), oldLog)); // its table LogFile has the new layout
        } else if (fixture == "no table") {
            QCOMPARE(RunSql(oldLog, "DROP TABLE LogFile"), SQLITE_OK);
        } else if (fixture == "columns") {
            QCOMPARE(RunSql(oldLog,
                            "CREATE TABLE Old AS SELECT LOGNUM, LOGDATE, LOGDESCRIPTION, LOGNOTES FROM "
                            "LogFile; DROP TABLE LogFile; ALTER TABLE Old RENAME TO LogFile"),
                     SQLITE_OK);
        } else if (fixture == "locked") {
            writer.start("sqlcipher", {oldLog});
            QVERIFY(writer.waitForStarted());
            writer.write("BEGIN IMMEDIATE;\nINSERT INTO LogFile (LOGNUM) VALUES (99);\n");
            // Once the other program holds the write lock, nobody else may begin a write.
            QTRY_COMPARE(RunSql(oldLog, "BEGIN IMMEDIATE; ROLLBACK"), SQLITE_BUSY);
        } else if (fixture == "pipe") {
            QFile::remove(oldLog);
            QCOMPARE(mkfifo(QFile::encodeName(oldLog).constData(), 0600), 0);
        }
        ChooseFile(oldLog);
        QCOMPARE(boxes->Captions(), QStringList{"Corrupt File"});
        QCOMPARE(boxes->boxes[0].text, CorruptText);
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QCOMPARE(PageTitle(), QString("Select Jornix 1.0 Database"));
        QVERIFY(qobject_cast<QLineEdit*>(Wizard()->window.Widget(Number("FileName")))->text().isEmpty());
        // The choice is cleared: the wizard asks for a file again.
        Press("Next");
        QCOMPARE(boxes->Captions(), QStringList({"Corrupt File", "Select File"}));
        QCOMPARE(boxes->boxes[1].text,
                 QString("You must select the Jornix 1.0 database file that will be migrated."));
        QCOMPARE(PageTitle(), QString("Select Jornix 1.0 Database"));
        QCOMPARE(Wizard()->window.FocusedControl(), Number("Browse"));
        QCOMPARE(EventCount(), before);
        if (writer.state() == QProcess::Running) {
            writer.closeWriteChannel();
            QVERIFY(writer.waitForFinished());
        }
    }

    void aFileLockedWhenTheRunStartsClosesTheWizard()
    {
        ChooseFile(oldLog);
        Press("Next");
        Press("Next");
        QProcess writer;
        writer.start("sqlcipher", {oldLog});
        QVERIFY(writer.waitForStarted());
        writer.write("BEGIN IMMEDIATE;\nINSERT INTO LogFile (LOGNUM) VALUES (99);\n");
        QTRY_COMPARE(RunSql(oldLog, "BEGIN IMMEDIATE; ROLLBACK"), SQLITE_BUSY);
        Press("Next");
        QCOMPARE(boxes->Captions(), QStringList{"Corrupt File"});
        QVERIFY(!Wizard());
        QCOMPARE(EventCount(), before);
        QCOMPARE(broadcasts, 0);
        writer.closeWriteChannel();
        QVERIFY(writer.waitForFinished());
    }

    void onlyAnAdministratorWithFullAccessMayMigrate_data()
    {
        QTest::addColumn<int>("admin");
        QTest::addColumn<int>("access");
        QTest::addColumn<QString>("text");
        const QString notAdmin =
            "You are not allowed to use the Jornix 1.0 migration utility. Please contact your "
            "system administrator to request access.";
        const QString notFull =
            "You do not have full access to Log Events so you can not run the Jornix 1.0 "
            "migration utility. Please contact your system administrator to request access.";
        QTest::newRow("not an administrator") << 0 << 2 << notAdmin;
        QTest::newRow("an administrator who may only view") << 1 << 1 << notFull;
        QTest::newRow("an administrator without access") << 1 << 0 << notFull;
    }
    void onlyAnAdministratorWithFullAccessMayMigrate()
    {
        QFETCH(int, admin);
        QFETCH(int, access);
        QFETCH(QString, text);
        CurrentUserIsAdmin = quint8(admin);
        CurrentUserAccess[AccessArea::LogEvents] = quint8(access);
        bool windowOpen = false;
        boxes->onShow = [&](const MessageBoxRequest&) {
            windowOpen = !WindowController::OpenWindows().empty();
        };
        Start();
        QVERIFY(!Wizard());
        QCOMPARE(boxes->Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes->boxes[0].text, text);
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(!windowOpen);
    }

    // A long version-1.0 log is written in groups of events, not in two transactions an event.
    void aLongLogIsMigratedInFewTransactions()
    {
        for (int doubled = 0; doubled < 5; ++doubled)
            QCOMPARE(RunSql(oldLog,
                            "CREATE TEMP TABLE Copied AS SELECT * FROM LogFile; UPDATE Copied SET LOGNUM "
                            "= LOGNUM + (SELECT max(LOGNUM) FROM LogFile); INSERT INTO LogFile SELECT * "
                            "FROM Copied"),
                     SQLITE_OK);
        int commits = 0;
        sqlite3_commit_hook(
            Log().File()->Handle(), [](void* count) { return ++*static_cast<int*>(count), 0; }, &commits);
        Migrate();
        sqlite3_commit_hook(Log().File()->Handle(), nullptr, nullptr);
        QCOMPARE(EventCount(), before + 128);
        QCOMPARE(ProgressBar()->value(), 128);
        QVERIFY2(commits <= 4, qPrintable(QString::number(commits)));
        QVERIFY(boxes->boxes.isEmpty());
        Press("Next");
    }

    void aFailingAddStopsTheRunAndKeepsTheEventsBefore()
    {
        // The store refuses the third event when its primed row is written.
        RecordFile* file = Log().File();
        QVERIFY(
            file->Execute("CREATE TRIGGER Injected BEFORE UPDATE ON LogFile WHEN NEW.LogDescription = 'New "
                          "Year' BEGIN SELECT RAISE(ABORT, 'injected fault'); END"));
        bool buttonsDisabled = false;
        boxes->onShow = [&](const MessageBoxRequest&) {
            buttonsDisabled =
                !Wizard()->window.IsEnabled(Number("Next")) && !Wizard()->window.IsEnabled(Number("Cancel"));
            test::SavePicture(Wizard()->window.Root(), "MigrateData-4-migrating");
        };
        Migrate();
        QVERIFY(file->Execute("DROP TRIGGER Injected"));
        QCOMPARE(boxes->Captions(), QStringList{"Error"});
        QCOMPARE(boxes->boxes[0].text,
                 QString("There was a problem adding the migrated Log Event Record. Please try again."));
        QVERIFY(buttonsDisabled);
        QCOMPARE(EventCount(), before + 2); // no row is left of the third
        QCOMPARE(ProgressBar()->value(), 2);
        QCOMPARE(Wizard()->window.Label(Number("Next")), QString("Finish"));
        Press("Next");
        QCOMPARE(broadcasts, 1);
        const QList<Record> events = EventsFrom(qint32(before) + 1);
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[1].Value("LOG:LogDescription").toString(), QString("Lunch with Ann"));
    }

    void cancelAsksFirst()
    {
        Start();
        test::SavePicture(Wizard()->window.Root(), "MigrateData-1");
        boxes->answers = {MessageButton::No};
        Press("Cancel");
        QCOMPARE(boxes->Captions(), QStringList{"Cancel?"});
        QCOMPARE(boxes->boxes[0].text, QString("Are you sure you want to cancel the migration wizard?"));
        QCOMPARE(boxes->boxes[0].icon, MessageIcon::Question);
        QCOMPARE(boxes->boxes[0].defaultButton, int(MessageButton::Yes));
        QVERIFY(Wizard());
        Press("Next");
        QCOMPARE(PageTitle(), QString("Select Jornix 1.0 Database"));
        boxes->answers = {MessageButton::Yes};
        Press("Cancel");
        QVERIFY(!Wizard());
        QCOMPARE(broadcasts, 0);
    }
};

QTEST_MAIN(MigrateDataTest)
#include "tst_MigrateData.moc"
