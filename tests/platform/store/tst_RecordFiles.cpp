#include "platform/runtime/ProgramThreads.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/Transaction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <chrono>
#include <thread>

#include <sodium.h>

using namespace jornix;
using namespace jornix::test;

namespace {

QByteArray FileHeader(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
}

QByteArray FileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class RecordFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void twoTablesShareOneFile()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        QVERIFY(test.notes.Open());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
        test.notes.Buffer().SetValue("NTE:Num", 1);
        test.notes.Buffer().SetValue("NTE:Text", "first note");
        QVERIFY(test.notes.Insert());
        test.people.Close();
        test.notes.Close();
        QVERIFY(!test.people.FileIsOpen());

        QCOMPARE(QDir(test.folder.path()).entryList(QDir::Files), QStringList{"Main.tps"});
        QVERIFY(test.notes.Open());
        test.notes.ClearBuffer();
        test.notes.Buffer().SetValue("NTE:Num", 1);
        QVERIFY(test.notes.Fetch(0));
        QCOMPARE(test.notes.Buffer().Text(1), QString("first note"));
        test.notes.Close();
    }

    void anEncipheredFileNeedsItsKeyAndAPlainOneDoesNot()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann Secret"));
        QVERIFY(test.plain.Open());
        test.plain.Buffer().SetValue("PLN:Num", 1);
        test.plain.Buffer().SetValue("PLN:Text", "open text");
        QVERIFY(test.plain.Insert());
        test.people.Close();
        test.plain.Close();

        const QString main = test.Path("Main.tps");
        QVERIFY(!FileHeader(main).startsWith("SQLite format 3"));
        QFile raw(main);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(!raw.readAll().contains("Ann Secret"));
        QVERIFY(FileHeader(test.Path("Plain.tps")).startsWith("SQLite format 3"));

        // The same file read as a plain file: the first read fails, and nothing is created or changed.
        const QByteArray before = FileHash(main);
        test.archive.SetFilePath(main);
        const Status status = test.archive.Open();
        QCOMPARE(status.Code(), StoreError::FileOpenError);
        QVERIFY(status.Message().contains("encrypted"));
        QCOMPARE(status.File(), main);
        QCOMPARE(test.archive.OpenCount(), 0);
        QCOMPARE(FileHash(main), before);

        // A plain file opens without any key.
        sqlite3* db = nullptr;
        QCOMPARE(
            sqlite3_open_v2(QFile::encodeName(test.Path("Plain.tps")), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT Text FROM Plain", -1, &statement, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))),
                 QByteArray("open text"));
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }

    // How an enciphered file is read, written down once: the raw key is BLAKE2b-256 of the owner password
    // keyed with the salt, and the cipher settings are these. A file written today must open with them, so
    // that a later SQLCipher with other defaults reads it; a reader with other settings gets no data.
    void anEncipheredFileOpensWithTheWrittenDownSettings_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<bool>("opens");
        const QStringList written{"PRAGMA cipher = 'aes-256-cbc'", "PRAGMA cipher_page_size = 4096",
                                  "PRAGMA kdf_iter = 64000", "PRAGMA fast_kdf_iter = 2",
                                  "PRAGMA cipher_use_hmac = ON"};
        QTest::newRow("the written-down settings") << written << true;
        QTest::newRow("1 KB pages") << QStringList(written).replaceInStrings("4096", "1024") << false;
        QTest::newRow("no HMAC") << QStringList(written).replaceInStrings("hmac = ON", "hmac = OFF") << false;
    }
    void anEncipheredFileOpensWithTheWrittenDownSettings()
    {
        QFETCH(QStringList, settings);
        QFETCH(bool, opens);
        TestCatalogue test;
        QVERIFY(test.people.Open());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
        test.people.Close();

        unsigned char raw[32];
        const QByteArray password(TestPassword), salt("salt of the tests key");
        crypto_generichash(raw, sizeof raw, reinterpret_cast<const unsigned char*>(password.constData()),
                           quint64(password.size()), reinterpret_cast<const unsigned char*>(salt.constData()),
                           size_t(salt.size()));
        const QByteArray key =
            "x'" + QByteArray(reinterpret_cast<const char*>(raw), sizeof raw).toHex() + "'";
        sqlite3* db = nullptr;
        QCOMPARE(
            sqlite3_open_v2(QFile::encodeName(test.Path("Main.tps")), &db, SQLITE_OPEN_READONLY, nullptr),
            SQLITE_OK);
        QCOMPARE(sqlite3_key(db, key.constData(), int(key.size())), SQLITE_OK);
        for (const QString& setting : settings)
            QCOMPARE(sqlite3_exec(db, setting.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        const bool read =
            sqlite3_prepare_v2(db, "SELECT Name FROM People", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW &&
            QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) == "Ann";
        sqlite3_finalize(statement);
        sqlite3_close(db);
        QCOMPARE(read, opens);
    }

    void aFileIsCreatedOnlyWhenItsTableMayCreateIt_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("created");
        QTest::newRow("a table with Create") << "PLN"
                                             << "Plain.tps" << true;
        QTest::newRow("a table without Create") << "FIX"
                                                << "Fixed.tps" << false;
        QTest::newRow("a read-only table") << "ARC"
                                           << "Archive.tps" << false;
    }
    void aFileIsCreatedOnlyWhenItsTableMayCreateIt()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, fileName);
        QFETCH(bool, created);
        TestCatalogue test;
        Table& table = *test.catalogue.FindTable(prefix);
        if (table.FilePath().isEmpty())
            table.SetFilePath(test.Path(fileName));
        const Status status = table.Open();
        QCOMPARE(status.Ok(), created);
        QCOMPARE(QFile::exists(test.Path(fileName)), created);
        if (!created)
            QCOMPARE(status.Code(), StoreError::FileNotFound);
        table.Close();
    }

    void aReadOnlyFileIsReadButNeverWritten()
    {
        TestCatalogue test;
        // A plain file with the People layout, written once by a writable catalogue.
        Catalogue writer;
        Table& source = writer.AddTable("PEO", "Old", "People", FileAttribute::Create);
        for (int field = 0; field < test.archive.FieldCount(); ++field) {
            const FieldDef& def = test.archive.Field(field);
            if (def.type == FieldType::String)
                source.AddString(def.column, def.width);
            else if (def.type == FieldType::Memo)
                source.AddMemo(def.column, def.width);
            else if (def.type == FieldType::Blob)
                source.AddBlob(def.column);
            else
                source.AddLong(def.column);
        }
        source.AddKey("NumK", {"Num"}, KeyFlag::Primary | KeyFlag::NoCase | KeyFlag::Opt, "by Number");
        writer.SetFolder(test.folder.path());
        QVERIFY(source.Open());
        QVERIFY(TestCatalogue::AddPerson(source, 7, "old", "Old Timer"));
        source.Close();

        const QString path = test.Path("Old.tps");
        const QByteArray before = FileHash(path);
        test.archive.SetFilePath(path);
        QVERIFY(test.archive.Open());
        test.archive.Buffer().SetValue("ARC:Num", 7);
        QVERIFY(test.archive.Fetch(0));
        QCOMPARE(test.archive.Buffer().Text(test.archive.FieldIndex("ARC:Name")), QString("Old Timer"));

        test.archive.Buffer().SetValue("ARC:Name", "Changed");
        QCOMPARE(test.archive.Update().Code(), StoreError::ReadOnly);
        QCOMPARE(test.archive.Insert().Code(), StoreError::ReadOnly);
        QCOMPARE(test.archive.Delete().Code(), StoreError::ReadOnly);
        qint32 number = 0;
        QCOMPARE(test.archive.TakeNextNumber(number).Code(), StoreError::Failed); // no auto-numbered key
        Transaction transaction(test.archive);
        QCOMPARE(transaction.Begin().Code(), StoreError::ReadOnly);
        test.archive.Close();
        QCOMPARE(FileHash(path), before);
        QVERIFY(!QFile::exists(path + "-journal"));
    }

    void openAndCloseAreCountedAndTheLastCloseClosesTheFile()
    {
        TestCatalogue test;
        QCOMPARE(test.people.Fetch(0).Code(), StoreError::FileNotOpen);
        QVERIFY(test.people.Open());
        QVERIFY(test.people.Open());
        QVERIFY(test.notes.Open());
        QCOMPARE(test.people.OpenCount(), 2);
        test.people.Close();
        QVERIFY(test.people.FileIsOpen());
        test.people.Close();
        QCOMPARE(test.people.OpenCount(), 0);
        QVERIFY(!test.people.FileIsOpen());
        QVERIFY(test.notes.FileIsOpen()); // the other table of the file still holds it
        QCOMPARE(TestCatalogue::AddPerson(test.people, 1, "a", "A").Code(), StoreError::FileNotOpen);
        test.notes.Close();
        test.people.Close(); // one close too many changes nothing
        QCOMPARE(test.people.OpenCount(), 0);
    }

    void aTransactionThatIsNotCommittedLeavesNothing()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        {
            Transaction transaction(test.people);
            QVERIFY(transaction.Begin());
            QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
            QVERIFY(TestCatalogue::AddPerson(test.people, 2, "bob", "Bob"));
        }
        qint64 count = -1;
        QVERIFY(test.people.RecordCount(count));
        QCOMPARE(count, 0);

        Transaction transaction(test.people);
        QVERIFY(transaction.Begin());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
        QCOMPARE(TestCatalogue::AddPerson(test.people, 2, "ANN", "Ann again").Code(),
                 StoreError::DuplicateKey);
        QVERIFY(transaction.Commit());
        QVERIFY(test.people.RecordCount(count));
        QCOMPARE(count, 1);
        test.people.Close();
    }

    // Another copy of the program holds the write lock for longer than a moment (600 ms) but less than the
    // wait: the write waits and goes through. On a program thread the wait gives way: the event loop and the
    // other program threads go on meanwhile.
    void aLockReleasedWithinTheWaitLetsTheWriteThrough_data()
    {
        QTest::addColumn<bool>("onProgramThread");
        QTest::newRow("off the program threads") << false;
        QTest::newRow("on a program thread") << true;
    }
    void aLockReleasedWithinTheWaitLetsTheWriteThrough()
    {
        QFETCH(bool, onProgramThread);
        TestCatalogue test;
        QVERIFY(test.plain.Open());
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(test.Path("Plain.tps")), &other, SQLITE_OPEN_READWRITE,
                                 nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        const auto release = [other] { sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr); };

        Status status(StoreError::Failed, QStringLiteral("not run"));
        if (!onProgramThread) {
            std::thread holder([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(600));
                release();
            });
            test.plain.Buffer().SetValue("PLN:Num", 1);
            status = test.plain.Insert();
            holder.join();
        } else {
            int ticks = 0;
            bool otherThreadRan = false;
            QTimer ticker;
            QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
            ticker.start(50);
            QTimer::singleShot(600, release);
            StartProcedureThread([&] {
                StartProcedureThread([&] { otherThreadRan = true; });
                if (!test.plain.Open())
                    return;
                test.plain.Buffer().SetValue("PLN:Num", 1);
                status = test.plain.Insert();
                test.plain.Close();
            });
            QVERIFY(WaitForProgramThreads(10000));
            QVERIFY(otherThreadRan);
            QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks))); // the loop went on while it waited
        }
        QVERIFY2(status, qPrintable(status.Message()));
        sqlite3_close(other);
        qint64 count = 0;
        QVERIFY(test.plain.RecordCount(count));
        QCOMPARE(count, 1);
        test.plain.Close();
    }

    void aLockThatStaysIsReportedAfterTheWait()
    {
        // A shorter wait than the program's, so that the test does not wait seconds.
        RecordFile::SetLockWait(300);
        const auto restore = qScopeGuard([] { RecordFile::SetLockWait(-1); });
        TestCatalogue test;
        QVERIFY(test.plain.Open());
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(test.Path("Plain.tps")), &other, SQLITE_OPEN_READWRITE,
                                 nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

        test.plain.Buffer().SetValue("PLN:Num", 1);
        QElapsedTimer timer;
        timer.start();
        const Status status = test.plain.Insert();
        QCOMPARE(status.Code(), StoreError::Locked);
        QVERIFY(timer.elapsed() < 5000); // reported, never waited for without end
        QCOMPARE(status.Message(), QStringLiteral("The file is locked by another user."));
        qint32 number = 0;
        const Status numbering = test.plain.TakeNextNumber(number);
        QVERIFY2(numbering.Code() == StoreError::Locked, qPrintable(numbering.Message()));

        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QVERIFY(test.plain.Insert());
        test.plain.Close();
    }

    void aFileWithAllItsTablesOpensWhileAnotherUserWrites()
    {
        RecordFile::SetLockWait(300);
        const auto restore = qScopeGuard([] { RecordFile::SetLockWait(-1); });
        TestCatalogue test;
        QVERIFY(test.plain.Open()); // creates the file and its tables
        test.plain.Close();
        QVERIFY(!test.plain.FileIsOpen());
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(test.Path("Plain.tps")), &other, SQLITE_OPEN_READWRITE,
                                 nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

        const Status opened = test.plain.Open(); // reads only: nothing is missing
        QVERIFY2(opened, qPrintable(opened.Message()));
        qint64 count = -1;
        QVERIFY(test.plain.RecordCount(count));
        QCOMPARE(count, 0);
        test.plain.Buffer().SetValue("PLN:Num", 1);
        QCOMPARE(test.plain.Insert().Code(), StoreError::Locked);

        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        test.plain.Close();
    }

    void aReadInsideAReadOfTheSameStatementLeavesTheOuterReadWhole()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        for (int n = 1; n <= 3; ++n)
            QVERIFY(TestCatalogue::AddPerson(test.people, n, QString("p%1").arg(n), "Person"));
        Status status;
        RecordFile* file = RecordFile::Acquire(test.people, status);
        QVERIFY(file);
        const QString sql = QStringLiteral("SELECT 1 FROM sqlite_master");
        Statement outer = file->Prepare(sql, status);
        QCOMPARE(outer.Step(), SQLITE_ROW);
        int innerRows = 0;
        {
            Statement inner = file->Prepare(sql, status);
            while (inner.Step() == SQLITE_ROW)
                ++innerRows;
        }
        int outerRows = 1;
        while (outer.Step() == SQLITE_ROW)
            ++outerRows;
        QVERIFY(innerRows > 1);
        QCOMPARE(outerRows, innerRows);
        outer.Reset();
        file->Release();
        test.people.Close();
    }

    // A list asks its file's change number at every refresh tick and reads again only when it differs.
    void theChangeNumberChangesWithEveryCommitOfAnyConnection_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<bool>("changes");
        QTest::newRow("nothing written") << "none" << false;
        QTest::newRow("a record read") << "read" << false;
        QTest::newRow("a write of this program") << "own" << true;
        QTest::newRow("a transaction rolled back") << "rollback" << false;
        QTest::newRow("a write of another connection") << "other" << true;
        QTest::newRow("the file closed and opened again") << "reopen" << true;
    }
    void theChangeNumberChangesWithEveryCommitOfAnyConnection()
    {
        QFETCH(QString, write);
        QFETCH(bool, changes);
        TestCatalogue test;
        Table& plain = test.plain;
        QVERIFY(plain.Open());
        plain.Buffer().SetValue("PLN:Num", 1);
        QVERIFY(plain.Insert());
        const quint64 before = plain.ChangeCount();
        QCOMPARE(plain.ChangeCount(), before);
        if (write == "read") {
            plain.Buffer().SetValue("PLN:Num", 1);
            QVERIFY(plain.Fetch(0));
        } else if (write == "own") {
            plain.Buffer().SetValue("PLN:Text", "changed");
            QVERIFY(plain.Update());
        } else if (write == "rollback") {
            Transaction transaction(plain);
            QVERIFY(transaction.Begin());
            plain.Buffer().SetValue("PLN:Num", 2);
            QVERIFY(plain.Insert());
        } else if (write == "other") {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open_v2(QFile::encodeName(test.Path("Plain.tps")), &db, SQLITE_OPEN_READWRITE,
                                     nullptr),
                     SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "UPDATE Plain SET Text = 'other'", nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
        } else if (write == "reopen") {
            plain.Close();
            QVERIFY(plain.Open());
        }
        QCOMPARE(plain.ChangeCount() != before, changes);
        plain.Close();
    }

    // Views and filters build statements of many texts: the cache keeps a bounded number, and a statement
    // that is still stepping is never taken from under its reader.
    void theStatementCacheIsBoundedAndKeepsAStatementInUse()
    {
        TestCatalogue test;
        QVERIFY(test.people.Open());
        QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
        Status status;
        RecordFile* file = test.people.File();
        Statement reading = file->Prepare(QStringLiteral("SELECT Name FROM People"), status);
        QCOMPARE(reading.Step(), SQLITE_ROW);
        for (int n = 0; n < 3 * RecordFile::MaxCachedStatements; ++n) {
            Statement statement = file->Prepare(QStringLiteral("SELECT %1").arg(n), status);
            QCOMPARE(statement.Step(), SQLITE_ROW);
            QCOMPARE(statement.Int64(0), n);
        }
        QVERIFY(file->CachedStatements() <= RecordFile::MaxCachedStatements);
        QCOMPARE(reading.Column(0).toString(), QStringLiteral("Ann"));
        QCOMPARE(reading.Step(), SQLITE_DONE);
        reading.Reset();
        test.people.Close();
    }
};

QTEST_GUILESS_MAIN(RecordFilesTest)
#include "tst_RecordFiles.moc"
