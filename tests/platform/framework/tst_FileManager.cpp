#include "platform/framework/FileManager.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

namespace {

constexpr int Keys = KeyFlag::NoCase | KeyFlag::Opt;

// Items: a code that must not be negative, a unique name and a side file "i_<num>.txt" per record.
class ItemAccess : public FileManager
{
public:
    int ValidateField(int field, bool showMessages) override
    {
        int level = FileManager::ValidateField(field, showMessages);
        if (GetTable().Field(field).name == "ITM:Code" && Buffer().Long(field) < 0)
            level = Severity::Notify;
        if (level != Severity::Benign && showMessages)
            level = Errors().Throw(ErrorId::FieldNotInList, {{}, {}, "Code", "'0','1'"});
        return level;
    }
    int DeleteRecord() override
    {
        const QString side = sideFolder + "/i_" + QString::number(Buffer().Long(0)) + ".txt";
        const int level = FileManager::DeleteRecord();
        if (level == Severity::Benign) {
            RemoveFilesAfterCommit({side});
            sideFileLeftUntilCommit = QFile::exists(side);
        }
        return level;
    }
    QString sideFolder;
    bool sideFileLeftUntilCommit = false;
};

struct Fixture
{
    QTemporaryDir folder;
    Catalogue catalogue;
    Table& items;
    Table& blocked;
    ErrorReporter errors;
    ItemAccess access;
    FileManager blockedAccess;
    TableRelations relations;

    Fixture()
        : items(catalogue.AddTable("ITM:", "Items", "Items", FileAttribute::Encrypt | FileAttribute::Create)),
          blocked(
              catalogue.AddTable("BLK:", "Items", "Blocked", FileAttribute::Encrypt | FileAttribute::Create))
    {
        SetOwnerPassword("ITEMS{0000}ITEMS", "salt of the tests key");
        items.AddLong("Num")
            .AddLong("Code")
            .AddString("Name", 20)
            .AddMemo("Notes", 50)
            .AddKey("NumK", {"Num"}, KeyFlag::Primary | Keys, "by Number", true)
            .AddKey("NameK", {"Name"}, Keys, "by Name");
        // A key that every new record's blank code collides with, once one record holds it.
        blocked.AddLong("Num")
            .AddLong("Code")
            .AddKey("NumK", {"Num"}, KeyFlag::Primary | Keys, "by Number", true)
            .AddKey("CodeK", {"Code"}, KeyFlag::NoCase, "by Code");
        catalogue.SetFolder(folder.path());
        errors.Init();
        access.Init(items, errors);
        access.sideFolder = folder.path();
        blockedAccess.Init(blocked, errors);
        relations.Init(access, true);
    }

    int AddItem(qint32 num, const QString& name)
    {
        items.ClearBuffer();
        items.Buffer().SetValue("ITM:Num", num);
        items.Buffer().SetValue("ITM:Name", name);
        return access.Insert();
    }
    qint64 Count(Table& table)
    {
        qint64 count = -1;
        table.RecordCount(count);
        return count;
    }
    QString NameOf(qint32 num)
    {
        items.Buffer().SetValue("ITM:Num", num);
        return items.Fetch(0) ? items.Buffer().Text(2) : QString("<none>");
    }
};

} // namespace

class FileManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        f_ = std::make_unique<Fixture>();
        endedWith_.clear();
        SetProgramEndHandler([this](int level) { endedWith_ << level; });
        QCOMPARE(f_->access.Open(), int(Severity::Benign));
        QCOMPARE(f_->blockedAccess.Open(), int(Severity::Benign));
    }
    void cleanup()
    {
        f_->access.Close();
        f_->blockedAccess.Close();
        f_.reset();
        SetProgramEndHandler({});
    }

    void primingAddsTheNumberedRowAndTheInsertRewritesIt()
    {
        MessageRecorder user;
        QCOMPARE(f_->access.PrepareRecord(), int(Severity::Benign));
        QCOMPARE(f_->items.Buffer().Long(0), 1);
        QCOMPARE(f_->Count(f_->items), 1);
        // Marked as this process's primed row until the form writes it, so that a process that ends
        // before leaves no record behind.
        std::vector<std::pair<qint64, QString>> marks;
        QVERIFY(f_->items.PrimedRows(marks));
        QCOMPARE(marks.size(), std::size_t(1));
        QCOMPARE(marks[0].first, f_->access.PrimedRow());
        f_->items.Buffer().SetValue("ITM:Name", "apple");
        f_->items.Buffer().SetValue("ITM:Notes", "red");
        QCOMPARE(f_->access.Insert(), int(Severity::Benign));
        QCOMPARE(f_->Count(f_->items), 1);
        QCOMPARE(f_->NameOf(1), QString("apple"));
        QVERIFY(f_->items.PrimedRows(marks));
        QVERIFY(marks.empty());
        QVERIFY(user.boxes.isEmpty());
    }

    // A watched record is rewritten only while it is stored as it was read: after another copy of the
    // program changed it, nothing is written, the notice is told once the transaction has ended, and the
    // watch taken again on what is stored lets the next write through.
    void aWatchedChangeIsWrittenOnlyWhileStoredAsRead_data()
    {
        QTest::addColumn<bool>("otherCopyWrites");
        QTest::newRow("nobody else wrote") << false;
        QTest::newRow("another copy wrote meanwhile") << true;
    }
    void aWatchedChangeIsWrittenOnlyWhileStoredAsRead()
    {
        QFETCH(bool, otherCopyWrites);
        QCOMPARE(f_->AddItem(1, "apple"), int(Severity::Benign));
        QCOMPARE(f_->NameOf(1), QString("apple"));
        QVERIFY(f_->access.Watch());
        if (otherCopyWrites) {
            sqlite3* db = nullptr;
            QVERIFY(RecordFile::OpenConnection(f_->items.FilePath(), true, SQLITE_OPEN_READWRITE, db));
            QCOMPARE(
                sqlite3_exec(db, "UPDATE Items SET Notes = 'ripe' WHERE Num = 1", nullptr, nullptr, nullptr),
                SQLITE_OK);
            sqlite3_close(db);
        }
        f_->items.Buffer().SetValue("ITM:Name", "pear");
        MessageRecorder user;
        const int level = f_->relations.Update();
        Record stored;
        QVERIFY(f_->items.ReadStored(f_->items.CurrentRow(), stored));
        if (!otherCopyWrites) {
            QCOMPARE(level, int(Severity::Benign));
            QVERIFY(user.boxes.isEmpty());
            QCOMPARE(stored.Text(2), QString("pear"));
            QCOMPARE(f_->access.Watched(), stored); // the next write holds on to what this one wrote
            return;
        }
        QCOMPARE(level, int(Severity::Notify));
        QCOMPARE(f_->access.LastStatus().Code(), StoreError::Changed);
        QCOMPARE(user.Captions(), QStringList{"Record Was Not Updated"});
        QCOMPARE(stored.Text(2), QString("apple"));
        QCOMPARE(stored.Text(3), QString("ripe"));
        QVERIFY(f_->access.Watch());
        QCOMPARE(f_->relations.Update(), int(Severity::Benign));
        QVERIFY(f_->items.ReadStored(f_->items.CurrentRow(), stored));
        QCOMPARE(stored.Text(2), QString("pear"));
        f_->access.Unwatch();
    }

    void theInsertOfAPrimedRecordFindsItsRowAfterOtherReads()
    {
        QCOMPARE(f_->AddItem(7, "pear"), int(Severity::Benign));
        QCOMPARE(f_->access.PrepareRecord(), int(Severity::Benign));
        const Record primed = f_->items.Buffer();
        QCOMPARE(f_->NameOf(7), QString("pear")); // a read of another record on the same thread
        f_->items.Buffer() = primed;
        f_->items.Buffer().SetValue("ITM:Name", "plum");
        QCOMPARE(f_->access.Insert(), int(Severity::Benign));
        QCOMPARE(f_->Count(f_->items), 2);
        QCOMPARE(f_->NameOf(7), QString("pear"));
        QCOMPARE(f_->NameOf(8), QString("plum"));
    }

    void aRecordThatFailsItsCheckIsNotWritten_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Insert tells") << "Insert" << QStringList{"Value Error"};
        QTest::newRow("InsertQuiet is silent") << "InsertQuiet" << QStringList{};
        QTest::newRow("Update tells") << "Update" << QStringList{"Value Error"};
        QTest::newRow("UpdateQuiet is silent") << "UpdateQuiet" << QStringList{};
    }
    void aRecordThatFailsItsCheckIsNotWritten()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, captions);
        MessageRecorder user;
        if (operation.startsWith("Insert")) {
            QCOMPARE(f_->access.PrepareRecord(), int(Severity::Benign));
        } else {
            QCOMPARE(f_->AddItem(1, "apple"), int(Severity::Benign));
        }
        f_->items.Buffer().SetValue("ITM:Name", "changed");
        f_->items.Buffer().SetValue("ITM:Code", -1);
        const int level = operation == "Insert"        ? f_->access.Insert()
                          : operation == "InsertQuiet" ? f_->access.InsertQuiet()
                          : operation == "Update"      ? f_->access.Update()
                                                       : f_->access.UpdateQuiet();
        QCOMPARE(level, int(Severity::Notify));
        QCOMPARE(user.Captions(), captions);
        if (!captions.isEmpty())
            QCOMPARE(user.boxes[0].text, QString("The value of Code must be in the list : '0','1'."));
        QCOMPARE(f_->Count(f_->items), 1);
        QCOMPARE(f_->NameOf(1), operation.startsWith("Insert") ? QString() : QString("apple"));
    }

    void aDuplicateNamesTheFirstKeyItWouldDuplicate_data()
    {
        QTest::addColumn<qint32>("num");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::newRow("a name in other case") << 5 << "APPLE"
                                              << "by Name";
        QTest::newRow("a taken number comes first") << 1 << "APPLE"
                                                    << "by Number";
    }
    void aDuplicateNamesTheFirstKeyItWouldDuplicate()
    {
        QFETCH(qint32, num);
        QFETCH(QString, name);
        QFETCH(QString, key);
        QCOMPARE(f_->AddItem(1, "apple"), int(Severity::Benign));
        MessageRecorder user;
        QCOMPARE(f_->AddItem(num, name), int(Severity::Notify));
        QCOMPARE(user.Captions(), QStringList{"Duplicate Key Error"});
        QCOMPARE(user.boxes[0].text, "Adding this record creates a duplicate entry for the key: " + key);
        QCOMPARE(f_->Count(f_->items), 1);
    }

    void numberingAsksAfterThreeFailedTries_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("level");
        QTest::newRow("No gives up") << QList<int>{MessageButton::No} << 1 << int(Severity::Cancel);
        QTest::newRow("Yes tries three times more")
            << QList<int>{MessageButton::Yes, MessageButton::No} << 2 << int(Severity::Cancel);
    }
    void numberingAsksAfterThreeFailedTries()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(int, level);
        f_->blocked.Buffer().SetValue("BLK:Num", 100);
        QCOMPARE(f_->blockedAccess.Insert(), int(Severity::Benign));
        MessageRecorder user;
        user.answers = answers;
        QCOMPARE(f_->blockedAccess.PrepareRecord(), level);
        QCOMPARE(user.boxes.size(), questions);
        QCOMPARE(user.boxes[0].caption, QString("Auto Increment Error"));
        QVERIFY(user.boxes[0].text.startsWith(
            "Attempts to automatically number this record have failed.\nFile: " + f_->blocked.FilePath() +
            "\nError: "));
        QVERIFY(user.boxes[0].text.endsWith(".\nTry Again?"));
        QCOMPARE(f_->Count(f_->blocked), 1);
        // Every try took a number of its own.
        f_->blocked.Buffer().SetValue("BLK:Code", 5);
        QCOMPARE(f_->blockedAccess.PrepareRecord(true), int(Severity::Benign));
        QCOMPARE(f_->blocked.Buffer().Long(0), 100 + 3 * questions + 1);
    }

    void fetchReadsByTheBufferKeyValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("found, without regard to case")
            << "APPLE" << false << int(Severity::Benign) << QStringList{};
        QTest::newRow("FetchQuiet says nothing")
            << "quince" << true << int(Severity::Notify) << QStringList{};
        QTest::newRow("Fetch tells") << "quince" << false << int(Severity::Notify)
                                     << QStringList{"Record Retrieval Error"};
    }
    void fetchReadsByTheBufferKeyValues()
    {
        QFETCH(QString, name);
        QFETCH(bool, quiet);
        QFETCH(int, level);
        QFETCH(QStringList, captions);
        QCOMPARE(f_->AddItem(4, "apple"), int(Severity::Benign));
        f_->items.ClearBuffer();
        f_->items.Buffer().SetValue("ITM:Name", name);
        MessageRecorder user;
        QCOMPARE(quiet ? f_->access.FetchQuiet(1) : f_->access.Fetch(1), level);
        QCOMPARE(user.Captions(), captions);
        if (level == Severity::Benign)
            QCOMPARE(f_->items.Buffer().Long(0), 4);
    }

    void aFileThatCannotBeOpenedEndsTheProgram_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("caption");
        QTest::newRow("not a record file") << "garbage"
                                           << "File Access Error";
        QTest::newRow("missing and never created") << "missing"
                                                   << "File Access Error";
        QTest::newRow("its folder does not exist") << "no folder"
                                                   << "File Creation Error";
    }
    void aFileThatCannotBeOpenedEndsTheProgram()
    {
        QFETCH(QString, situation);
        QFETCH(QString, caption);
        Table& other = f_->catalogue.AddTable("OTH:", "", "Other",
                                              situation == "missing" ? int(FileAttribute::ReadOnly)
                                                                     : int(FileAttribute::Create));
        other.AddLong("Num").AddKey("NumK", {"Num"}, KeyFlag::Primary | Keys, "by Number");
        const QString path = situation == "no folder" ? f_->folder.filePath("gone/Other.tps")
                                                      : f_->folder.filePath("Other.tps");
        if (situation == "garbage") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        other.SetFilePath(path);
        FileManager access;
        access.Init(other, f_->errors);
        MessageRecorder user;
        QCOMPARE(access.Open(), int(Severity::Fatal));
        QCOMPARE(user.Captions(), QStringList{caption});
        QVERIFY(user.boxes[0].text.startsWith("File " + path + " could not "));
        QCOMPARE(endedWith_, QList<int>{Severity::Fatal});
        QCOMPARE(other.OpenCount(), 0);
    }

    void deleteAsksFirstAndRemovesSideFilesOnlyAfterTheCommit_data()
    {
        QTest::addColumn<bool>("ask");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Yes deletes") << true << QList<int>{MessageButton::Yes} << int(Severity::Benign)
                                     << true;
        QTest::newRow("No keeps the record")
            << true << QList<int>{MessageButton::No} << int(Severity::Cancel) << false;
        QTest::newRow("without the question") << false << QList<int>{} << int(Severity::Benign) << true;
    }
    void deleteAsksFirstAndRemovesSideFilesOnlyAfterTheCommit()
    {
        QFETCH(bool, ask);
        QFETCH(QList<int>, answers);
        QFETCH(int, level);
        QFETCH(bool, deleted);
        QCOMPARE(f_->AddItem(3, "apple"), int(Severity::Benign));
        const QString side = f_->folder.filePath("i_3.txt");
        QFile file(side);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        MessageRecorder user;
        user.answers = answers;
        QCOMPARE(f_->relations.Delete(ask), level);
        QCOMPARE(user.boxes.size(), ask ? 1 : 0);
        if (ask) {
            QCOMPARE(user.boxes[0].caption, QString("Confirm Delete"));
            QCOMPARE(user.boxes[0].text, QString("Are you sure you want to delete the highlighted record?"));
            QCOMPARE(int(user.boxes[0].icon), int(MessageIcon::Question));
        }
        QCOMPARE(f_->Count(f_->items), deleted ? 0 : 1);
        QCOMPARE(QFile::exists(side), !deleted);
        QCOMPARE(f_->access.sideFileLeftUntilCommit, deleted);
    }

    void aFailedChangeIsToldAfterTheTransactionHasEnded_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("caption");
        QTest::newRow("a duplicate name") << "Update"
                                          << "Duplicate Key Error";
        QTest::newRow("a refused code") << "UpdateCode"
                                        << "Value Error";
        QTest::newRow("a record no longer there") << "Delete"
                                                  << "Record was not deleted";
    }
    void aFailedChangeIsToldAfterTheTransactionHasEnded()
    {
        QFETCH(QString, operation);
        QFETCH(QString, caption);
        QCOMPARE(f_->AddItem(1, "apple"), int(Severity::Benign));
        QCOMPARE(f_->AddItem(2, "pear"), int(Severity::Benign));
        const QString side = f_->folder.filePath("i_2.txt");
        QFile file(side);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        MessageRecorder user;
        bool shownInTransaction = false;
        user.onShow = [&](const MessageBoxRequest&) {
            shownInTransaction = f_->items.File()->InTransaction();
        };
        int level = 0;
        if (operation == "Delete") {
            f_->items.Close(); // the record is no longer current on this thread
            QCOMPARE(f_->access.Open(), int(Severity::Benign));
            level = f_->relations.Delete(false);
        } else {
            f_->items.Buffer().SetValue(operation == "Update" ? "ITM:Name" : "ITM:Code",
                                        operation == "Update" ? QVariant("APPLE") : QVariant(-4));
            level = f_->relations.Update();
        }
        QCOMPARE(level, int(Severity::Notify));
        QCOMPARE(user.Captions(), QStringList{caption});
        QVERIFY(!shownInTransaction);
        QVERIFY(!f_->items.File()->InTransaction());
        QCOMPARE(f_->NameOf(2), QString("pear"));
        QVERIFY(QFile::exists(side));
    }

    void bufferUnchangedComparesWithTheSavedCopy()
    {
        QCOMPARE(f_->AddItem(1, "apple"), int(Severity::Benign));
        f_->access.SaveBuffer();
        QVERIFY(f_->access.BufferUnchanged());
        f_->items.Buffer().SetValue("ITM:Name", "apple   "); // trailing blanks never count
        QVERIFY(f_->access.BufferUnchanged());
        f_->items.Buffer().SetValue("ITM:Notes", "ripe");
        QVERIFY(!f_->access.BufferUnchanged());
    }

private:
    std::unique_ptr<Fixture> f_;
    QList<int> endedWith_;
};

QTEST_MAIN(FileManagerTest)
#include "tst_FileManager.moc"
