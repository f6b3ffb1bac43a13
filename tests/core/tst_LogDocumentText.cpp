#include "core/LogDocumentText.h"

#include "core/DataLayer.h"
#include "core/Tables.h"
#include "documents/TXEdit.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include "core/DataFolder.h"
#include "documents/StoredDocument.h"

#include <QtTest>

using namespace jornix;
using jornix::test::StoredDocument;

namespace {

Table& Log()
{
    return AccessLOG->GetTable();
}

// The copies as the table holds them: "number:text", the text without its line ends.
QStringList CopiesOnFile()
{
    RecordFile* file = Log().File();
    Status status;
    Statement statement =
        file->Prepare(QStringLiteral("SELECT LogNum, PlainText FROM LogText ORDER BY LogNum"), status);
    QStringList copies;
    while (statement && statement.Step() == SQLITE_ROW)
        copies << QStringLiteral("%1:%2").arg(statement.Int64(0)).arg(
                      statement.Column(1).toString().simplified());
    return copies;
}

qint32 Number()
{
    return Log().Buffer().Long(Log().FieldIndex(QStringLiteral("LOG:LogNum")));
}

enum class Writer
{
    Insert,      // the event editor and Copy
    InsertQuiet, // the migration
    Store        // straight into the table
};

qint32 AddEvent(Writer writer, const QVariant& document)
{
    Log().ClearBuffer();
    AccessLOG->SetFieldDefaults();
    Log().Buffer().SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Event"));
    if (writer != Writer::Store)
        AccessLOG->PrepareRecord(true);
    Log().Buffer().SetValue(QStringLiteral("LOG:LogDoc"), document);
    switch (writer) {
    case Writer::Insert:
        AccessLOG->Insert();
        break;
    case Writer::InsertQuiet:
        AccessLOG->InsertQuiet();
        break;
    case Writer::Store:
        Log().Buffer().SetValue(QStringLiteral("LOG:LogNum"), 900);
        Log().Insert();
        break;
    }
    return Number();
}

} // namespace

class LogDocumentTextTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::DataFolder> folder;

    void RemoveEvents()
    {
        View all(Log());
        std::vector<ViewRow> rows;
        QVERIFY(all.Read({}, Direction::Forward, 1000, rows));
        for (const ViewRow& row : rows) {
            QVERIFY(Log().FetchRow(row.position.rowId));
            QVERIFY(Log().Delete());
        }
    }

private slots:
    void init()
    {
        folder = std::make_unique<test::DataFolder>();
        QVERIFY(RelationsLOG->Open() == Level::GoOn);
    }
    void cleanup()
    {
        RelationsLOG->Close();
        folder.reset();
    }

    void everyWriterOfAnEventWritesTheCopyOfItsNotes_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<QVariant>("document");
        QTest::addColumn<QString>("copy");
        const QVariant notes = StoredDocument(QStringLiteral("Buy milk\nand bread"));
        QTest::newRow("the form's insert") << int(Writer::Insert) << notes << "Buy milk and bread";
        QTest::newRow("the migration's insert") << int(Writer::InsertQuiet) << notes << "Buy milk and bread";
        QTest::newRow("a write straight to the table") << int(Writer::Store) << notes << "Buy milk and bread";
        QTest::newRow("no document") << int(Writer::Insert) << QVariant(QByteArray()) << "";
        QTest::newRow("bytes that are no document")
            << int(Writer::Insert) << QVariant(QByteArray("plain words, not stored as a document")) << "";
    }
    void everyWriterOfAnEventWritesTheCopyOfItsNotes()
    {
        QFETCH(int, writer);
        QFETCH(QVariant, document);
        QFETCH(QString, copy);
        const qint32 number = AddEvent(Writer(writer), document);
        QCOMPARE(CopiesOnFile(), QStringList{QStringLiteral("%1:%2").arg(number).arg(copy)});
    }

    void aChangedEventHasItsNewNotesAndADeletedOneNone()
    {
        const qint32 kept = AddEvent(Writer::Insert, StoredDocument(QStringLiteral("first")));
        const qint32 deleted = AddEvent(Writer::Insert, StoredDocument(QStringLiteral("second")));
        QVERIFY(Log().Delete());
        Log().Buffer().SetValue(QStringLiteral("LOG:LogNum"), kept);
        QCOMPARE(AccessLOG->Fetch(Log().KeyIndex(QStringLiteral("LOG:LogNumK"))), 0);
        Log().Buffer().SetValue(QStringLiteral("LOG:LogDoc"), StoredDocument(QStringLiteral("changed")));
        QCOMPARE(AccessLOG->Update(), 0);
        QVERIFY(deleted != kept);
        QCOMPARE(CopiesOnFile(), QStringList{QStringLiteral("%1:changed").arg(kept)});
    }

    // A data folder of a version that kept no copies: its events get theirs when the table is opened.
    void eventsOfAnOlderDataFolderGetTheirCopiesAtTheFirstOpen()
    {
        const qint32 withNotes = AddEvent(Writer::Insert, StoredDocument(QStringLiteral("old notes")));
        const qint32 without = AddEvent(Writer::Insert, QByteArray());
        QVERIFY(Log().File()->Execute(QStringLiteral("DROP TABLE LogText")));
        RelationsLOG->Close();
        QVERIFY(!Log().FileIsOpen());
        QVERIFY(RelationsLOG->Open() == Level::GoOn);
        QCOMPARE(CopiesOnFile(),
                 (QStringList{QStringLiteral("%1:old notes").arg(withNotes), QStringLiteral("%1:").arg(without)}));
    }
};

QTEST_MAIN(LogDocumentTextTest)
#include "tst_LogDocumentText.moc"
