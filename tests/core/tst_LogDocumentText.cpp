#include "core/LogDocumentText.h"

#include "core/DataLayer.h"
#include "core/Tables.h"
#include "documents/TXEdit.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/richtext/HeadersFooters.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/richtext/TextFields.h"
#include "platform/richtext/TextFormat.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "core/DataFolder.h"
#include "documents/StoredDocument.h"

#include <QtTest>

#include <map>

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
        copies << QStringLiteral("%1:%2")
                      .arg(statement.Int64(0))
                      .arg(statement.Column(1).toString().simplified());
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

// The plain text of a stored document as the document component's own control gives it: loaded into the
// control and saved as plain text.
QString PlainTextInTheControl(const QByteArray& blob)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    edit.LoadFromBlob(blob);
    const QString text = QString::fromUtf8(control.Save(TextFormat::PlainText).bytes);
    edit.Kill();
    return text;
}

// A stored document made in the control by `make`.
QByteArray DocumentMadeWith(const std::function<void(RichTextControl&)>& make)
{
    RichTextControl control;
    TXEdit edit;
    edit.Init(&control);
    make(control);
    QByteArray blob;
    edit.SaveToBlob(blob);
    edit.Kill();
    return blob;
}

// Events written in one transaction, each with a short description and no notes.
bool AddPlainEvents(int first, int count)
{
    Transaction transaction(Log());
    if (!transaction.Begin())
        return false;
    for (int i = 0; i < count; ++i) {
        Log().ClearBuffer();
        AccessLOG->SetFieldDefaults();
        Log().Buffer().SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Event %1").arg(i));
        Log().Buffer().SetValue(QStringLiteral("LOG:LogNum"), first + i);
        if (!Log().Insert())
            return false;
    }
    return bool(transaction.Commit());
}

// The work of every statement that the connections of the store run while it is watched: the virtual
// machine's steps of each run, added up by the statement's text.
class StatementWork
{
public:
    StatementWork()
    {
        watched = this;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(&StatementWork::Watch));
    }
    ~StatementWork()
    {
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&StatementWork::Watch));
        watched = nullptr;
    }
    StatementWork(const StatementWork&) = delete;
    StatementWork& operator=(const StatementWork&) = delete;

    std::map<QString, int> steps;

private:
    static inline StatementWork* watched = nullptr;

    static int Watch(sqlite3* db, char**, const void*)
    {
        sqlite3_trace_v2(db, SQLITE_TRACE_PROFILE, &StatementWork::Ran, nullptr);
        return SQLITE_OK;
    }
    static int Ran(unsigned, void*, void* statement, void*)
    {
        auto* handle = static_cast<sqlite3_stmt*>(statement);
        const int steps = sqlite3_stmt_status(handle, SQLITE_STMTSTATUS_VM_STEP, 1);
        if (watched)
            watched->steps[QString::fromUtf8(sqlite3_sql(handle))] += steps;
        return 0;
    }
};

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

    void theCopyIsThePlainTextThatTheDocumentControlGives_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("contains"); // a part of the text, so that a blank copy cannot pass
        QTest::newRow("lines") << StoredDocument("Buy milk\nand bread\n\n\tthen home") << "and bread";
        QTest::newRow("empty document") << StoredDocument(QString()) << "";
        QTest::newRow("beyond ASCII") << StoredDocument("Grüße, straße 😀 naïve\u00a0space") << "straße 😀";
        QTest::newRow("formatted, listed and in a table") << DocumentMadeWith([](RichTextControl& control) {
            control.setHtml("<p><b>bold</b> and <i>italic</i></p><ul><li>first</li><li>second</li></ul>"
                            "<table><tr><td>cell one</td><td>cell two</td></tr></table><p>after</p>");
        }) << "cell two";
        QTest::newRow("a picture between words") << DocumentMadeWith([](RichTextControl& control) {
            control.setPlainText("before after");
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::red);
            control.document()->addResource(QTextDocument::ImageResource, QUrl("picture.png"), image);
            QTextCursor cursor(control.document());
            cursor.setPosition(7);
            cursor.insertImage("picture.png");
        }) << "after";
        QTest::newRow("headers, footers and a field") << DocumentMadeWith([](RichTextControl& control) {
            control.setPlainText("body text");
            control.SetHeaderFooterOn(HeaderFooter::Header, true);
            control.SetHeaderFooterText(HeaderFooter::Header, "the header");
            control.SetHeaderFooterOn(HeaderFooter::Footer, true);
            control.SetHeaderFooterText(HeaderFooter::Footer, "the footer");
            QTextCursor cursor(control.document());
            cursor.movePosition(QTextCursor::End);
            control.Fields().Insert(cursor, "field text");
        }) << "body text";
        QByteArray damaged = StoredDocument("damaged");
        damaged.replace(damaged.size() - 40, 40, QByteArray(40, 'x'));
        QTest::newRow("a damaged document") << damaged << "";
        QTest::newRow("bytes that are no document")
            << QByteArray("plain words, not stored as a document") << "";
    }
    void theCopyIsThePlainTextThatTheDocumentControlGives()
    {
        QFETCH(QByteArray, document);
        QFETCH(QString, contains);
        const std::optional<QString> copy = PlainTextOfDocument(document);
        QCOMPARE(copy, TXEdit::IsTXDocument(document) ? std::optional(PlainTextInTheControl(document))
                                                      : std::nullopt);
        QVERIFY2(copy.value_or(QString()).contains(contains), qPrintable(copy.value_or("(none)")));
        // One conversion after another gives each document's own text.
        QCOMPARE(PlainTextOfDocument(StoredDocument("next")), QString("next\n"));
        QCOMPARE(PlainTextOfDocument(document), copy);
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

    // Reopening the log events is what the program does at every start: however many events the file holds,
    // the statements it runs do the same work.
    void aSecondOpenDoesNoWorkThatGrowsWithTheEvents()
    {
        const auto reopened = [] {
            RelationsLOG->Close();
            const StatementWork work;
            if (RelationsLOG->Open() != Level::GoOn)
                return std::map<QString, int>{};
            return work.steps;
        };
        AddEvent(Writer::Insert, StoredDocument(QStringLiteral("notes")));
        QVERIFY(AddPlainEvents(100, 10));
        reopened(); // the first open after the writes may still have work to do
        const std::map<QString, int> few = reopened();
        QVERIFY(!few.empty());
        QVERIFY(AddPlainEvents(200, 2000));
        reopened();
        const std::map<QString, int> many = reopened();
        for (const auto& [sql, steps] : many) {
            const auto before = few.find(sql);
            QVERIFY2(before != few.end(),
                     qPrintable(QStringLiteral("run only with more events: %1").arg(sql)));
            QVERIFY2(steps <= before->second,
                     qPrintable(QStringLiteral("%1 steps (%2 with 2,000 events fewer): %3")
                                    .arg(steps)
                                    .arg(before->second)
                                    .arg(sql)));
        }
        QCOMPARE(many.size(), few.size());
    }

    // Events whose copies are missing or out of date, as files of older versions and other programs leave
    // them: they get their copies when the table is next opened, and only they are converted.
    void eventsWithoutTheirCopyGetItAtTheNextOpen_data()
    {
        QTest::addColumn<QStringList>("statements"); // %1 the event with notes, %2 the one without
        QTest::addColumn<QVariant>("document");      // bound to each statement's parameter, if it has one
        QTest::addColumn<QStringList>("copies");     // %1, %2 as above
        QTest::newRow("a data folder made before the copies were kept")
            << QStringList{"DROP TABLE LogText"} << QVariant() << QStringList{"%1:old notes", "%2:"};
        QTest::newRow("a data folder made before the copies' list of missing ones")
            << QStringList{"DROP TRIGGER LogText_copy_written",    "DROP TRIGGER LogFile_copy_inserted",
                           "DROP TRIGGER LogFile_copy_updated",    "DROP TRIGGER LogText_copy_deleted",
                           "DROP TRIGGER LogFile_copy_unneeded",   "DROP TABLE LogTextMissing",
                           "DELETE FROM LogText WHERE LogNum = %1"}
            << QVariant() << QStringList{"%1:old notes", "%2:"};
        QTest::newRow("an event written by another program")
            << QStringList{"INSERT INTO LogFile (LogNum, LogDescription, LogDoc) VALUES (77, 'shell', ?)"}
            << QVariant(StoredDocument(QStringLiteral("from the shell")))
            << QStringList{"%1:old notes", "%2:", "77:from the shell"};
        QTest::newRow("notes changed by another program")
            << QStringList{"UPDATE LogFile SET LogDoc = ? WHERE LogNum = %2"}
            << QVariant(StoredDocument(QStringLiteral("new notes")))
            << QStringList{"%1:old notes", "%2:new notes"};
        QTest::newRow("copies deleted by another program")
            << QStringList{"DELETE FROM LogText"} << QVariant() << QStringList{"%1:old notes", "%2:"};
        QTest::newRow("an event written and deleted by another program")
            << QStringList{"INSERT INTO LogFile (LogNum, LogDescription) VALUES (78, 'gone')",
                           "DELETE FROM LogFile WHERE LogNum = 78"}
            << QVariant() << QStringList{"%1:old notes", "%2:"};
    }
    void eventsWithoutTheirCopyGetItAtTheNextOpen()
    {
        QFETCH(QStringList, statements);
        QFETCH(QVariant, document);
        QFETCH(QStringList, copies);
        const qint32 withNotes = AddEvent(Writer::Insert, StoredDocument(QStringLiteral("old notes")));
        const qint32 without = AddEvent(Writer::Insert, QByteArray());
        RecordFile* file = Log().File();
        const auto numbered = [&](const QString& text) {
            return QString(text)
                .replace(QStringLiteral("%1"), QString::number(withNotes))
                .replace(QStringLiteral("%2"), QString::number(without));
        };
        for (const QString& text : statements) {
            Status status;
            Statement statement = file->Prepare(numbered(text), status);
            QVERIFY2(statement, qPrintable(status.Message()));
            if (sqlite3_bind_parameter_count(statement.Handle()) > 0)
                statement.Bind(1, document);
            QCOMPARE(statement.Step(), SQLITE_DONE);
        }
        RelationsLOG->Close();
        QVERIFY(!Log().FileIsOpen());
        QVERIFY(RelationsLOG->Open() == Level::GoOn);
        for (QString& copy : copies)
            copy = numbered(copy);
        QCOMPARE(CopiesOnFile(), copies);
        Status status;
        Statement listed =
            Log().File()->Prepare(QStringLiteral("SELECT count(*) FROM LogTextMissing"), status);
        QVERIFY(listed && listed.Step() == SQLITE_ROW);
        QCOMPARE(listed.Int64(0), 0);
    }

    // An older data folder with many events: the open goes on at once, and a thread of its own writes the
    // copies in short turns while its progress shows.
    void manyMissingCopiesAreWrittenOnAThreadOfTheirOwn()
    {
        const qint32 withNotes = AddEvent(Writer::Insert, StoredDocument(QStringLiteral("old notes")));
        QVERIFY(AddPlainEvents(1000, 300));
        QVERIFY(Log().File()->Execute(QStringLiteral("DROP TABLE LogText")));
        RelationsLOG->Close();
        QVERIFY(RelationsLOG->Open() == Level::GoOn);
        QVERIFY(CopiesOnFile().size() < 301);
        const auto progress = [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == QLatin1String("NotesCopiesProgress") && window->isVisible())
                    return window;
            return static_cast<QWidget*>(nullptr);
        };
        QTRY_VERIFY(progress());
        QVERIFY(WaitForProgramThreads(60000));
        QVERIFY(!progress());
        const QStringList copies = CopiesOnFile();
        QCOMPARE(copies.size(), 301);
        QCOMPARE(copies.first(), QStringLiteral("%1:old notes").arg(withNotes));
        Status status;
        Statement listed =
            Log().File()->Prepare(QStringLiteral("SELECT count(*) FROM LogTextMissing"), status);
        QVERIFY(listed && listed.Step() == SQLITE_ROW);
        QCOMPARE(listed.Int64(0), 0);
    }

    void cleanupTestCase() { EndProgramThreads(); }
};

QTEST_MAIN(LogDocumentTextTest)
#include "tst_LogDocumentText.moc"
