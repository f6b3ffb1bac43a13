#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/SharedState.h"
#include "core/Tables.h"
#include "DataFolder.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

namespace {

// A list window of Date View is open on this thread in every test, so that a refresh shows.
constexpr ThreadNumber DateViewThread = 5;

struct TablePair
{
    FileManager* access;
    TableRelations* relations;
};

TablePair Of(const QString& prefix)
{
    const QHash<QString, TablePair> pairs{
        {"LOG", {AccessLOG, RelationsLOG}},      {"USR", {AccessUSR, RelationsUSR}},
        {"REM", {AccessREM, RelationsREM}},      {"TSK", {AccessTSK, RelationsTSK}},
        {"CON", {AccessCON, RelationsCON}},      {"SCR", {AccessSCR, RelationsSCR}},
        {"STK", {AccessSTK, RelationsSTK}},      {"MSC", {AccessMSC, RelationsMSC}},
        {"LLA_", {AccessLLA_, RelationsLLA_}},   {"LLL_", {AccessLLL_, RelationsLLL_}},
        {"OLD10", {AccessOLD10, RelationsOLD10}}};
    return pairs.value(prefix.section(':', 0, 0));
}

int NumberField(FileManager& access)
{
    const Table& table = access.GetTable();
    return table.Key(table.AutoNumberKey()).components.front();
}

qint64 Count(FileManager& access)
{
    qint64 count = -1;
    access.GetTable().RecordCount(count);
    return count;
}

// A new record with the table's defaults and the given number, written without priming.
int AddNumbered(FileManager& access, qint32 number)
{
    access.GetTable().ClearBuffer();
    access.SetFieldDefaults();
    access.Buffer().SetValue(NumberField(access), number);
    return access.InsertQuiet();
}

int SelectNumber(FileManager& access, qint32 number)
{
    access.GetTable().ClearBuffer();
    access.Buffer().SetValue(NumberField(access), number);
    return access.FetchQuiet(access.GetTable().AutoNumberKey());
}

} // namespace

class DataLayerTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<test::DataFolder>();
        posts_.clear();
        SetRefreshPoster([this](int event, int, ThreadNumber thread) {
            QCOMPARE(event, RefreshEvent);
            posts_ << thread;
        });
        WindowThreadRegistry[WindowKind::DateView] = DateViewThread;
        ended_ = 0;
        SetProgramEndHandler([this](int) { ++ended_; });
        SetFixedClock(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    }
    void cleanup()
    {
        for (const char* prefix : {"LOG", "USR", "REM", "TSK", "CON", "SCR", "STK", "MSC", "LLA_", "LLL_"}) {
            Table& table = Of(prefix).access->GetTable();
            while (table.OpenCount() > 0)
                Of(prefix).relations->Close();
        }
        folder_.reset();
        SetRefreshPoster({});
        SetProgramEndHandler({});
        SetFixedClock({});
        WindowThreadRegistry.fill(0);
        RefreshSuppressed = 0;
    }

    void aValueOutsideItsListIsRefusedAndNothingIsWritten_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("log type 4")
            << "LOG:LogType" << 4
            << "The value of Log Type must be in the list : 'None','Home','Work','Other'." << true;
        QTest::newRow("a negative log type") << "LOG:LogType" << -1
                                             << "The value of Log Type must be in the list : "
                                                "'None','Home','Work','Other'."
                                             << true;
        QTest::newRow("link type 4") << "REM:LinkType" << 4
                                     << "The value of Link Type must be in the list : "
                                        "'No Link','Log Event','Contact','Task'."
                                     << true;
        QTest::newRow("priority 0") << "TSK:Priority" << 0
                                    << "The value of Priority must be in the list : 'High','Medium','Low'."
                                    << true;
        QTest::newRow("output format 1")
            << "LLL_:OutputFormat" << 1
            << "The value of Output Format must be in the list : "
               "'Preview','Printer','PDF','RTF','HTML','MHTML','BMP','JPG','EMF','XML','XLS','TXT'."
            << true;
        QTest::newRow("style 4") << "LLL_:Style" << 4
                                 << "The value of Style must be in the list : "
                                    "'Summary','Detail','One Record per Page'."
                                 << true;
        QTest::newRow("layout type 0") << "LLL_:Type" << 0
                                       << "The value of List, Card or Label must be in the list : "
                                          "'List','Card','Label'."
                                       << true;
        QTest::newRow("scrap book access 3")
            << "USR:ScrapBookAccess" << 3
            << "The value of Scrap Book Access must be in the list : 'None','Read-Only','Full'." << false;
        QTest::newRow("report designer access 1")
            << "USR:ReportDesignerAccess" << 1
            << "The value of Report Designer Access must be in the list : 'None','Full'." << false;
        QTest::newRow("record type 5") << "MSC:MiscType" << 5
                                       << "The value of MSC:MiscType must be in the list : "
                                          "'Log Event','Reminder','Task','Contact'."
                                       << false;
        QTest::newRow("report type 5 in the first field")
            << "MSC:F1ReportType" << 5
            << "The value of MSC:F1ReportType must be in the list : "
               "'String','Numeric','Boolean','Date','Barcode','Image'."
            << false;
        QTest::newRow("report type 5 in the sixth field")
            << "MSC:F6ReportType" << 5
            << "The value of MSC:F6ReportType must be in the list : "
               "'String','Numeric','Boolean','Date','Barcode','Image'."
            << false;
        QTest::newRow("control kind 5 in the sixth field")
            << "MSC:F6Type" << 5
            << "The value of Type must be in the list : 'Text Box','Drop List','Combo Box','Check Box'."
            << false;
    }
    void aValueOutsideItsListIsRefusedAndNothingIsWritten()
    {
        QFETCH(QString, field);
        QFETCH(int, value);
        QFETCH(QString, message);
        QFETCH(bool, refreshed);
        FileManager& access = *Of(field).access;
        QCOMPARE(Of(field).relations->Open(), int(Severity::Benign));
        QCOMPARE(access.PrepareRecord(), int(Severity::Benign));
        const qint64 primed = Count(access);
        const QVariant before = access.Buffer().Value(field);
        access.Buffer().SetValue(field, value);
        MessageRecorder user;
        QCOMPARE(access.Insert(), int(Severity::Notify));
        QCOMPARE(user.Captions(), QStringList{"Value Error"});
        QCOMPARE(user.boxes[0].text, message);
        QCOMPARE(posts_, refreshed ? QList<int>{DateViewThread} : QList<int>{});
        QCOMPARE(Count(access), primed);
        if (primed == 1) {
            // Only the row priming added is there, with its defaults.
            QCOMPARE(SelectNumber(access, 1), int(Severity::Benign));
            QCOMPARE(access.Buffer().Value(field), before);
        }
    }

    void numbersAreOneAboveTheHighestEverGiven_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<bool>("deleteTop");
        QTest::addColumn<int>("next");
        QTest::newRow("an empty log") << "LOG" << QList<int>{} << false << 1;
        QTest::newRow("a log whose highest is 41") << "LOG" << QList<int>{3, 41} << false << 42;
        QTest::newRow("a deleted top log event") << "LOG" << QList<int>{3, 41} << true << 42;
        QTest::newRow("a cancelled new log event") << "LOG" << QList<int>{} << true << 2;
        QTest::newRow("empty reminders") << "REM" << QList<int>{} << false << 1;
        QTest::newRow("tasks whose highest is 41") << "TSK" << QList<int>{41} << false << 42;
        QTest::newRow("empty contacts") << "CON" << QList<int>{} << false << 1;
        QTest::newRow("a deleted top scrap") << "SCR" << QList<int>{1, 2} << true << 3;
        QTest::newRow("empty sticky notes") << "STK" << QList<int>{} << false << 1;
        QTest::newRow("report areas with the placeholder row")
            << "LLA_" << QList<int>{1, 2, 99} << false << 100;
        QTest::newRow("a deleted top layout") << "LLL_" << QList<int>{7} << true << 8;
    }
    void numbersAreOneAboveTheHighestEverGiven()
    {
        QFETCH(QString, prefix);
        QFETCH(QList<int>, existing);
        QFETCH(bool, deleteTop);
        QFETCH(int, next);
        FileManager& access = *Of(prefix).access;
        QCOMPARE(Of(prefix).relations->Open(), int(Severity::Benign));
        for (const int number : existing)
            QCOMPARE(AddNumbered(access, number), int(Severity::Benign));
        if (deleteTop && existing.isEmpty()) {
            QCOMPARE(access.PrepareRecord(), int(Severity::Benign)); // a new record cancelled by its form
            existing << 1;
        }
        if (deleteTop) {
            QCOMPARE(SelectNumber(access, existing.last()), int(Severity::Benign));
            QCOMPARE(Of(prefix).relations->Delete(false), int(Severity::Benign));
        }
        QCOMPARE(access.PrepareRecord(), int(Severity::Benign));
        QCOMPARE(access.Buffer().Long(NumberField(access)), next);
        QCOMPARE(Count(access), existing.size() - (deleteTop ? 1 : 0) + 1);
    }

    void aNewUserMayDoEverythingButMustChangeThePassword_data()
    {
        QTest::addColumn<QList<int>>("takenIds");
        QTest::addColumn<int>("uniqueId");
        const int tenOClock = 10 * 3600 * 100 + 1;
        QTest::newRow("the time of day") << QList<int>{} << tenOClock;
        QTest::newRow("a taken id gives the next") << QList<int>{tenOClock} << tenOClock + 1;
        QTest::newRow("the next free one") << QList<int>{tenOClock, tenOClock + 1} << tenOClock + 2;
        QTest::newRow("a later id does not count") << QList<int>{tenOClock + 1} << tenOClock;
    }
    void aNewUserMayDoEverythingButMustChangeThePassword()
    {
        QFETCH(QList<int>, takenIds);
        QFETCH(int, uniqueId);
        FileManager& users = *AccessUSR;
        QCOMPARE(RelationsUSR->Open(), int(Severity::Benign));
        for (const int id : takenIds) {
            users.GetTable().ClearBuffer();
            users.Buffer().SetValue("USR:UniqueID", id);
            users.Buffer().SetValue("USR:LoginID", QString("user%1").arg(id));
            QCOMPARE(users.InsertQuiet(), int(Severity::Benign));
        }
        QCOMPARE(users.PrepareRecord(), int(Severity::Benign));
        const Record& user = users.Buffer();
        for (const char* access :
             {"LogEventAccess", "ReminderAccess", "TaskAccess", "StickyNotesAccess", "ContactAccess",
              "ScrapBookAccess", "ReportDesignerAccess", "MiscFieldAccess"})
            QCOMPARE(user.Value(QString("USR:") + access).toInt(), 2);
        QCOMPARE(user.Value("USR:ChngPwdAtNextLogin").toInt(), 1);
        QCOMPARE(user.Value("USR:ExpirePasswordCount").toInt(), 90);
        QCOMPARE(user.Value("USR:Disabled").toInt(), 0);
        QCOMPARE(user.Value("USR:Administrator").toInt(), 0);
        QCOMPARE(user.Value("USR:UniqueID").toInt(), uniqueId);
        QCOMPARE(Count(users), takenIds.size()); // nothing is added before the insert
    }

    void newRecordsTakeTheirDefaults_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("a task is of medium priority") << "TSK:Priority" << QVariant(2);
        QTest::newRow("a reminder has no link") << "REM:LinkType" << QVariant(0);
        QTest::newRow("a layout previews") << "LLL_:OutputFormat" << QVariant(2);
        QTest::newRow("a layout prints in detail") << "LLL_:Style" << QVariant(2);
        QTest::newRow("a layout prints its filter") << "LLL_:PrintFilter" << QVariant(1);
        QTest::newRow("field definitions are for log events") << "MSC:MiscType" << QVariant(1);
        QTest::newRow("the sixth prompt") << "MSC:F6Prompt" << QVariant("Misc 6:");
        QTest::newRow("the third picture") << "MSC:F3Picture" << QVariant("@s255");
        QTest::newRow("texts for the report engine") << "MSC:F4ReportType" << QVariant(0x10000000);
        QTest::newRow("full length") << "MSC:F2Len" << QVariant(255);
    }
    void newRecordsTakeTheirDefaults()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QCOMPARE(Of(field).relations->Open(), int(Severity::Benign));
        QCOMPARE(Of(field).access->PrepareRecord(), int(Severity::Benign));
        QCOMPARE(Of(field).access->Buffer().Value(field).toString(), value.toString());
    }

    void deletingARecordRemovesItsSideFiles_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("log event 12 with its voice")
            << "LOG" << 12 << QStringList{"l_12.wav", "l_120.wav"} << QStringList{"l_120.wav"};
        QTest::newRow("log event 12 without one") << "LOG" << 12 << QStringList{} << QStringList{};
        QTest::newRow("a reminder") << "REM" << 5 << QStringList{"r_5.wav", "t_5.wav"}
                                    << QStringList{"t_5.wav"};
        QTest::newRow("a task") << "TSK" << 5 << QStringList{"t_5.wav", "l_5.wav"} << QStringList{"l_5.wav"};
        QTest::newRow("layout 7 and its four files")
            << "LLL_" << 7 << QStringList{"jx_7.rpt", "jx_7.~rpt", "jx_7.prn", "jx_7.bmp", "jx_7.txt"}
            << QStringList{"jx_7.txt"};
        QTest::newRow("layout 7 with some of them")
            << "LLL_" << 7 << QStringList{"jx_7.~rpt", "jx_7.bmp"} << QStringList{};
        QTest::newRow("a contact has none") << "CON" << 5 << QStringList{"l_5.wav"} << QStringList{"l_5.wav"};
    }
    void deletingARecordRemovesItsSideFiles()
    {
        QFETCH(QString, prefix);
        QFETCH(int, number);
        QFETCH(QStringList, present);
        QFETCH(QStringList, kept);
        FileManager& access = *Of(prefix).access;
        QCOMPARE(Of(prefix).relations->Open(), int(Severity::Benign));
        QCOMPARE(AddNumbered(access, number), int(Severity::Benign));
        for (const QString& name : present) {
            QFile file(folder_->FilePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(SelectNumber(access, number), int(Severity::Benign));
        posts_.clear();
        QCOMPARE(Of(prefix).relations->Delete(false), int(Severity::Benign));
        QCOMPARE(Count(access), 0);
        QCOMPARE(posts_, QList<int>{DateViewThread});
        for (const QString& name : present)
            QCOMPARE(QFile::exists(folder_->FilePath(name)), kept.contains(name));
    }

    void onlyTheListTablesRefreshAfterWrites_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("refreshed");
        for (const char* prefix : {"LOG", "REM", "TSK", "CON", "SCR", "STK", "LLA_", "LLL_"})
            QTest::newRow(prefix) << prefix << true;
        QTest::newRow("USR") << "USR" << false;
        QTest::newRow("MSC") << "MSC" << false;
    }
    void onlyTheListTablesRefreshAfterWrites()
    {
        QFETCH(QString, prefix);
        QFETCH(bool, refreshed);
        WindowThreadRegistry[WindowKind::ManageUsers] = 9;
        WindowThreadRegistry[WindowKind::SetupProgram] = 8;
        FileManager& access = *Of(prefix).access;
        QCOMPARE(Of(prefix).relations->Open(), int(Severity::Benign));
        QCOMPARE(access.PrepareRecord(), int(Severity::Benign));
        QCOMPARE(posts_, QList<int>{}); // priming is no write of the user's
        QCOMPARE(access.Insert(), int(Severity::Benign));
        QCOMPARE(Of(prefix).relations->Update(), int(Severity::Benign));
        QCOMPARE(Of(prefix).relations->Delete(false), int(Severity::Benign));
        QCOMPARE(posts_, refreshed ? QList<int>(3, DateViewThread) : QList<int>{});
        // The first-run setup and the migration write without a refresh.
        posts_.clear();
        QCOMPARE(access.PrepareRecord(), int(Severity::Benign));
        QCOMPARE(access.InsertQuiet(), int(Severity::Benign));
        QCOMPARE(posts_, QList<int>{});
    }

    void aWriteReachesOnlyTheOpenListsInOrder()
    {
        WindowThreadRegistry.fill(0);
        WindowThreadRegistry[WindowKind::Tasks] = 3;
        WindowThreadRegistry[WindowKind::DateView] = 4;
        QCOMPARE(RelationsREM->Open(), int(Severity::Benign));
        QCOMPARE(AccessREM->PrepareRecord(), int(Severity::Benign));
        QCOMPARE(AccessREM->Insert(), int(Severity::Benign));
        QCOMPARE(posts_, QList<int>({4, 3}));
        posts_.clear();
        RefreshSuppressed = 1;
        QCOMPARE(RelationsREM->Update(), int(Severity::Benign));
        QCOMPARE(posts_, QList<int>{});
    }

    void aNameDifferingOnlyInCaseIsADuplicate_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        QTest::newRow("login id") << "USR:LoginID"
                                  << "Anna"
                                  << "ANNA"
                                  << "Adding this record creates a duplicate entry for the key: by LoginID";
        QTest::newRow("report area") << "LLA_:ReportType"
                                     << "Log Events"
                                     << "log events  "
                                     << "Adding this record creates a duplicate entry for the key: "
                                        "LLA_:ReportTypeKey";
    }
    void aNameDifferingOnlyInCaseIsADuplicate()
    {
        QFETCH(QString, field);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        FileManager& access = *Of(field).access;
        QCOMPARE(Of(field).relations->Open(), int(Severity::Benign));
        for (const QString& name : {first, second}) {
            QCOMPARE(access.PrepareRecord(), int(Severity::Benign));
            access.Buffer().SetValue(field, name);
            MessageRecorder user;
            const int level = access.Insert();
            if (name == first) {
                QCOMPARE(level, int(Severity::Benign));
                continue;
            }
            QCOMPARE(level, int(Severity::Notify));
            QCOMPARE(user.Captions(), QStringList{"Duplicate Key Error"});
            QCOMPARE(user.boxes[0].text, message);
        }
    }

    void aLogEventWithoutADateIsFoundByItsNumberOnly()
    {
        QCOMPARE(RelationsLOG->Open(), int(Severity::Benign));
        QCOMPARE(AddNumbered(*AccessLOG, 3), int(Severity::Benign));
        AccessLOG->GetTable().ClearBuffer();
        AccessLOG->Buffer().SetValue("LOG:LogDate", 0);
        QVERIFY(AccessLOG->FetchQuiet(AccessLOG->GetTable().KeyIndex("LOG:LogDateK")) != Severity::Benign);
        QCOMPARE(SelectNumber(*AccessLOG, 3), int(Severity::Benign));
    }

    void setUpAndTearDownOpenNoFile()
    {
        for (const char* prefix :
             {"LOG", "USR", "REM", "TSK", "CON", "SCR", "STK", "MSC", "LLA_", "LLL_", "OLD10"}) {
            QVERIFY2(Of(prefix).access && Of(prefix).relations, prefix);
            QCOMPARE(&Of(prefix).relations->Access(), Of(prefix).access);
        }
        QVERIFY(QDir(folder_->Path()).isEmpty());
        KillDataLayer();
        for (const char* prefix :
             {"LOG", "USR", "REM", "TSK", "CON", "SCR", "STK", "MSC", "LLA_", "LLL_", "OLD10"})
            QVERIFY2(!Of(prefix).access && !Of(prefix).relations, prefix);
        InitDataLayer();
        QVERIFY(AccessLOG && RelationsLLL_);
    }

    void theDataFilesAreEncipheredButTheFieldDefinitions()
    {
        QCOMPARE(RelationsUSR->Open(), int(Severity::Benign));
        QCOMPARE(RelationsMSC->Open(), int(Severity::Benign));
        RelationsUSR->Close();
        RelationsMSC->Close();
        const auto head = [this](const QString& name) {
            QFile file(folder_->FilePath(name));
            return file.open(QIODevice::ReadOnly) ? file.read(15) : QByteArray();
        };
        QVERIFY(head("Jornix.tps").size() == 15);
        QVERIFY(head("Jornix.tps") != "SQLite format 3");
        QCOMPARE(head("MiscFields.tps"), QByteArray("SQLite format 3"));
    }

    void aMissingVersion10LogIsNeverCreated()
    {
        AccessOLD10->GetTable().SetFilePath(folder_->FilePath("OLDLOG.TPS"));
        MessageRecorder user;
        QCOMPARE(RelationsOLD10->Open(), int(Severity::Fatal));
        QCOMPARE(user.Captions(), QStringList{"File Access Error"});
        QCOMPARE(ended_, 1);
        QVERIFY(!QFile::exists(folder_->FilePath("OLDLOG.TPS")));
    }

private:
    std::unique_ptr<test::DataFolder> folder_;
    QList<int> posts_;
    int ended_ = 0;
};

QTEST_MAIN(DataLayerTest)
#include "tst_DataLayer.moc"
