#include "platform/store/FileSnapshot.h"
#include "platform/store/Record.h"
#include "platform/store/Sqlite.h"
#include "platform/store/TestCatalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace jornix;
using namespace jornix::test;

namespace {

// A connection of the test's own, as another program has one; closed with the object.
struct Connection
{
    sqlite3* db = nullptr;
    explicit Connection(const QString& path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
    }
    ~Connection() { sqlite3_close(db); }
    int Run(const QString& sql)
    {
        return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
};

QByteArray FileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A plain file with the People layout of the archive table and three people, added out of number order.
QString WritePeople(const TestCatalogue& test, const QString& name = "People.tps")
{
    const QString path = test.Path(name);
    Connection file(path);
    for (const Table::SchemaObject& object : test.archive.Schema())
        file.Run(object.sql);
    file.Run("INSERT INTO People (Num, Login, Name) VALUES (3, 'cy', 'Cy'), (1, 'ann', 'Ann'), "
             "(2, 'averyverylonglogin', 'Bo')");
    return path;
}

} // namespace

class FileSnapshotTest : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryRecordInPhysicalOrderAndNeverWrites()
    {
        TestCatalogue test;
        const QString path = WritePeople(test);
        const QByteArray before = FileHash(path);
        Status status;
        auto snapshot = FileSnapshot::Open(test.archive, path, status);
        QVERIFY2(snapshot, qPrintable(status.Message()));
        QCOMPARE(snapshot->RecordCount(), 3);
        Record record(test.archive);
        QStringList read;
        while (snapshot->Next(record, status))
            read << QString::number(record.Long(0)) + ":" + record.Text(1);
        QVERIFY(status.Ok());
        QCOMPARE(read, QStringList({"3:cy", "1:ann", "2:averyveryl"})); // the login cut to its 10 characters
        QVERIFY(!snapshot->Next(record, status));                       // the end stays the end
        snapshot.reset();
        QCOMPARE(FileHash(path), before);
        QVERIFY(!QFile::exists(path + "-journal"));
    }

    void aFileThatIsNotOfTheLayoutIsRefused_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("a folder") << "folder" << int(StoreError::FileNotFound) << "no file";
        QTest::newRow("not a database") << "text" << int(StoreError::FileOpenError) << "could not be read";
        QTest::newRow("an enciphered file")
            << "enciphered" << int(StoreError::FileOpenError) << "could not be read";
        QTest::newRow("without the table")
            << "no table" << int(StoreError::FileOpenError) << "The file has no table People.";
        QTest::newRow("without some columns") << "columns" << int(StoreError::FileOpenError)
                                              << "The table People of the file has no column Score, Notes.";
        QTest::newRow("written by another connection")
            << "writer" << int(StoreError::Locked) << "being written";
        QTest::newRow("locked by another connection") << "exclusive" << int(StoreError::Locked) << "locked";
    }
    void aFileThatIsNotOfTheLayoutIsRefused()
    {
        QFETCH(QString, fixture);
        QFETCH(int, code);
        QFETCH(QString, message);
        TestCatalogue test;
        QString path = test.Path("Other.tps");
        std::unique_ptr<Connection> other;
        if (fixture == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (fixture == "text") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        } else if (fixture == "enciphered") {
            QVERIFY(test.people.Open()); // the same table name, in an enciphered file
            QVERIFY(TestCatalogue::AddPerson(test.people, 1, "ann", "Ann"));
            test.people.Close();
            path = test.Path("Main.tps");
        } else {
            path = WritePeople(test);
            other = std::make_unique<Connection>(path);
            if (fixture == "no table")
                QCOMPARE(other->Run("DROP TABLE People"), SQLITE_OK);
            else if (fixture == "columns")
                QCOMPARE(
                    other->Run("CREATE TABLE Short AS SELECT Num, Login, Name, Born, Rank, Flag, Photo FROM "
                               "People; DROP TABLE People; ALTER TABLE Short RENAME TO People"),
                    SQLITE_OK);
            else if (fixture == "writer")
                QCOMPARE(other->Run("BEGIN IMMEDIATE; INSERT INTO People (Num) VALUES (9)"), SQLITE_OK);
            else if (fixture == "exclusive")
                QCOMPARE(other->Run("BEGIN EXCLUSIVE"), SQLITE_OK);
        }
        Status status;
        QVERIFY(!FileSnapshot::Open(test.archive, path, status));
        QCOMPARE(int(status.Code()), code);
        QVERIFY2(status.Message().contains(message), qPrintable(status.Message()));
    }

    void noWriterCommitsWhileTheSnapshotIsOpen()
    {
        TestCatalogue test;
        const QString path = WritePeople(test);
        Status status;
        auto snapshot = FileSnapshot::Open(test.archive, path, status);
        QVERIFY(snapshot);
        Connection other(path);
        QCOMPARE(other.Run("INSERT INTO People (Num) VALUES (9)"), SQLITE_BUSY);
        snapshot.reset();
        QCOMPARE(other.Run("INSERT INTO People (Num) VALUES (9)"), SQLITE_OK);
    }
};

QTEST_GUILESS_MAIN(FileSnapshotTest)
#include "tst_FileSnapshot.moc"
