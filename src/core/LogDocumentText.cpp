#include "core/LogDocumentText.h"

#include "documents/TXEdit.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QLabel>
#include <QProgressBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <vector>

namespace jornix {
namespace {

// The copy of a document holds its whole text, whatever its length.
constexpr int TextSize = 1 << 30;

// The plain text of a stored document, as the document component's control gives it when the document is
// loaded into it and saved as plain text, read into a bare text document: no control to build and no
// layout, which made most of the time of an event's write.
class Converter
{
public:
    std::optional<QString> PlainTextOf(const QByteArray& blob)
    {
        if (!TXEdit::IsTXDocument(blob))
            return std::nullopt;
        QByteArray bytes = blob;
        DocumentPageHeader header;
        TXEdit::StripPageHeader(bytes, header);
        // A document that cannot be read leaves the text empty, as it leaves the control.
        ReadOwnFormat(bytes, document_);
        return QString::fromUtf8(RichTextControl::PlainTextOf(document_));
    }

private:
    QTextDocument document_;
};

struct Columns
{
    Table& log;
    Table& text;
    int logNumber = log.RequireField(QStringLiteral("LOG:LogNum"));
    int document = log.RequireField(QStringLiteral("LOG:LogDoc"));
    int textNumber = text.RequireField(QStringLiteral("LOGTXT:LogNum"));
    int plainText = text.RequireField(QStringLiteral("LOGTXT:PlainText"));

    QString Delete() const
    {
        return QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(text.TableSql(), text.ColumnSql(textNumber));
    }
    QString Insert() const
    {
        return QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
            .arg(text.TableSql(), text.ColumnSql(textNumber), text.ColumnSql(plainText));
    }
};

Status Run(RecordFile& file, const QString& sql, const QVariantList& values)
{
    Status status;
    Statement statement = file.Prepare(sql, status);
    if (!statement)
        return status;
    for (int index = 0; index < values.size(); ++index)
        statement.Bind(index + 1, values[index]);
    if (statement.Step() != SQLITE_DONE)
        return file.Error(StoreError::Failed, QStringLiteral("The text of the notes could not be written"));
    return {};
}

// One event's copy in place of the one it had; a blank text where it holds no document, so that the event
// counts as copied.
Status WriteCopy(RecordFile& file, const Columns& columns, qint32 number, const std::optional<QString>& text)
{
    if (Status status = Run(file, columns.Delete(), {number}); !status)
        return status;
    return Run(file, columns.Insert(), {number, text.value_or(QString())});
}

Status WriteOf(const Columns& columns, Table& log, qint64 rowId, const Record* record)
{
    RecordFile& file = *log.File();
    if (record) {
        Converter converter;
        return WriteCopy(file, columns, record->Long(columns.logNumber),
                         converter.PlainTextOf(record->Blob(columns.document)));
    }
    // Before a delete: the copy of the row's event goes with it.
    return Run(file,
               QStringLiteral("DELETE FROM %1 WHERE %2 = (SELECT %3 FROM %4 WHERE rowid = ?)")
                   .arg(columns.text.TableSql(), columns.text.ColumnSql(columns.textNumber),
                        log.ColumnSql(columns.logNumber), log.TableSql()),
               {rowId});
}

// The events whose copy may be missing or out of date are listed in a table beside the copies, kept by the
// file itself so that every writer keeps it: triggers list an event when it is written (by this program,
// an older one or the plain shell) and take it off when its copy is written, in the same transaction. A
// file that lacks the list (made before it, or before the copies) gets it with every event that has no
// copy yet. Opening a file then reads only that list, however many events it holds.
constexpr auto MissingTable = "LogTextMissing";
constexpr auto CopyWritten = "LogText_copy_written"; // the last object made: its absence remakes the list

QString MissingSql()
{
    return Table::QuotedName(QString::fromLatin1(MissingTable));
}

QString MissingListSql(const Columns& columns)
{
    const Table& log = columns.log;
    const QString number = log.ColumnSql(columns.logNumber);
    const QString listed =
        QStringLiteral("INSERT OR IGNORE INTO %1 VALUES (new.%2);").arg(MissingSql(), number);
    const auto trigger = [&](const QString& name, const QString& when, const QString& table,
                             const QString& body) {
        return QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 %2 ON %3 BEGIN %4 END; ")
            .arg(Table::QuotedName(name), when, table, body);
    };
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 INTEGER PRIMARY KEY); ")
               .arg(MissingSql(), number) +
           trigger(log.TableName() + QStringLiteral("_copy_inserted"), QStringLiteral("AFTER INSERT"),
                   log.TableSql(), listed) +
           trigger(log.TableName() + QStringLiteral("_copy_updated"),
                   QStringLiteral("AFTER UPDATE OF %1, %2").arg(number, log.ColumnSql(columns.document)),
                   log.TableSql(), listed) +
           QStringLiteral("INSERT OR IGNORE INTO %1 SELECT %2 FROM %3 WHERE %2 NOT IN (SELECT %4 FROM %5); ")
               .arg(MissingSql(), number, log.TableSql(), columns.text.ColumnSql(columns.textNumber),
                    columns.text.TableSql()) +
           // A copy deleted while its event stays (by another program) is missing again; a deleted event
           // needs none.
           trigger(
               columns.text.TableName() + QStringLiteral("_copy_deleted"), QStringLiteral("AFTER DELETE"),
               columns.text.TableSql(),
               QStringLiteral("INSERT OR IGNORE INTO %1 SELECT old.%2 WHERE EXISTS (SELECT 1 FROM %3 WHERE "
                              "%4 = old.%2);")
                   .arg(MissingSql(), columns.text.ColumnSql(columns.textNumber), log.TableSql(), number)) +
           trigger(log.TableName() + QStringLiteral("_copy_unneeded"), QStringLiteral("AFTER DELETE"),
                   log.TableSql(),
                   QStringLiteral("DELETE FROM %1 WHERE %2 = old.%2;").arg(MissingSql(), number)) +
           trigger(QString::fromLatin1(CopyWritten), QStringLiteral("AFTER INSERT"), columns.text.TableSql(),
                   QStringLiteral("DELETE FROM %1 WHERE %2 = new.%3;")
                       .arg(MissingSql(), number, columns.text.ColumnSql(columns.textNumber)));
}

// The listed events, up to `most` of them (their number and notes; no notes and no event as an invalid
// value), and whether the list holds more.
struct Listed
{
    qint32 number;
    QVariant document; // invalid when no event holds the number any more
};

bool ReadListed(const Columns& columns, RecordFile& file, int most, std::vector<Listed>& listed, bool& more)
{
    listed.clear();
    Status status;
    Statement statement = file.Prepare(
        QStringLiteral("SELECT missing.%1, event.%2, event.rowid FROM %3 AS missing LEFT JOIN %4 AS event ON "
                       "event.%1 = missing.%1 ORDER BY missing.%1 LIMIT ?")
            .arg(columns.log.ColumnSql(columns.logNumber), columns.log.ColumnSql(columns.document),
                 MissingSql(), columns.log.TableSql()),
        status);
    if (!statement)
        return false;
    statement.Bind(1, most + 1);
    int result;
    while ((result = statement.Step()) == SQLITE_ROW) {
        const bool event = sqlite3_column_type(statement.Handle(), 2) != SQLITE_NULL;
        listed.push_back(
            {qint32(statement.Int64(0)), event ? QVariant(statement.Column(1).toByteArray()) : QVariant()});
    }
    more = int(listed.size()) > most;
    if (more)
        listed.pop_back();
    return result == SQLITE_DONE;
}

// Writes the copies of the listed events in one transaction and takes them off the list; false when it
// failed (nothing is written, they stay listed).
bool WriteListed(const Columns& columns, RecordFile& file, const std::vector<Listed>& listed)
{
    Converter converter;
    WriteScope scope(file);
    if (!scope.Started())
        return false;
    const QString unlist = QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                               .arg(MissingSql(), columns.log.ColumnSql(columns.logNumber));
    for (const Listed& event : listed) {
        const Status written =
            event.document.isValid()
                ? WriteCopy(file, columns, event.number, converter.PlainTextOf(event.document.toByteArray()))
                : Run(file, unlist, {event.number});
        if (!written)
            return false;
    }
    return bool(scope.Commit());
}

// The events converted in one turn of the program: a short list is done while the file opens; a longer one
// (a file of an older version, many events written by another program) on a thread of its own, in turns of
// this many, with its progress shown, the other windows going on in between.
constexpr int EventsPerTurn = 50;

// The progress of a long fill: how many of the events have their copies.
class FillProgress : public QWidget
{
public:
    explicit FillProgress(int count) : QWidget(nullptr, Qt::Dialog), bar_(new QProgressBar(this))
    {
        setObjectName(QStringLiteral("NotesCopiesProgress"));
        setWindowTitle(QStringLiteral("Jornix"));
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(QStringLiteral("Preparing the notes of the log events for Search..."), this);
        layout->addWidget(text);
        layout->addWidget(bar_);
        bar_->setObjectName(QStringLiteral("Progress"));
        bar_->setRange(0, count);
        bar_->setValue(0);
        show();
    }
    void Advance(int done) { bar_->setValue(qMin(bar_->value() + done, bar_->maximum())); }

private:
    QProgressBar* bar_;
};

// Counts the list, without reading beyond `most` numbers.
int CountListed(RecordFile& file, int most)
{
    Status status;
    Statement statement = file.Prepare(
        QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM %1 LIMIT ?)").arg(MissingSql()), status);
    if (!statement)
        return 0;
    statement.Bind(1, most);
    return statement.Step() == SQLITE_ROW ? int(statement.Int64(0)) : 0;
}

void FillOnThread(const Columns& columns)
{
    Table& log = columns.log;
    if (!log.Open())
        return;
    RecordFile* file = log.File();
    // The list is counted as far as a bar needs; beyond that the bar stays full until the end.
    FillProgress progress(CountListed(*file, 1 << 30));
    std::vector<Listed> listed;
    bool more = true;
    while (more && !file->InTransaction() && ReadListed(columns, *file, EventsPerTurn, listed, more) &&
           WriteListed(columns, *file, listed)) {
        progress.Advance(int(listed.size()));
        YieldNow(); // the bar paints, the other windows go on
    }
    log.Close();
}

bool& FillRunning()
{
    static bool running = false;
    return running;
}

// The listed events get their copies; numbers that no event holds any more leave the list.
void FillMissingCopies(const Columns& columns, Table& log)
{
    RecordFile* file = log.File();
    if (!file || file->ReadOnly() || file->InTransaction() || FillRunning())
        return;
    std::vector<Listed> listed;
    bool more = false;
    if (!ReadListed(columns, *file, EventsPerTurn, listed, more) || listed.empty())
        return;
    if (!more) {
        WriteListed(columns, *file, listed); // tried again at the next open when it fails
        return;
    }
    FillRunning() = true;
    StartProcedureThread([columns] {
        struct Done
        {
            ~Done() { FillRunning() = false; }
        } done;
        FillOnThread(columns);
    });
}

} // namespace

void AddLogDocumentText(Catalogue& catalogue, Table& logEvents)
{
    Table& text = catalogue.AddTable(QString::fromLatin1(LogTextPrefix), logEvents.FileName(),
                                     QStringLiteral("LogText"), logEvents.FileAttributes());
    text.AddLong("LogNum").AddMemo("PlainText", TextSize);
    text.AddKey("LogNumK", {"LogNum"}, KeyFlag::Primary | KeyFlag::Opt, "by Log Number");
    text.AddWordIndex({QStringLiteral("PlainText")});
    const Columns columns{logEvents, text};
    text.AddSchemaObject(QString::fromLatin1(CopyWritten), MissingListSql(columns));
    QStringList searched;
    for (const char* field : LogSearchFields)
        searched << QString::fromLatin1(field);
    logEvents.AddWordIndex(searched);
    logEvents.SetDerivedWrite([columns](Table& log, qint64 rowId, const Record* record) {
        return WriteOf(columns, log, rowId, record);
    });
    logEvents.SetFileOpened([columns](Table& log) { FillMissingCopies(columns, log); });
}

std::optional<QString> PlainTextOfDocument(const QByteArray& blob)
{
    Converter converter;
    return converter.PlainTextOf(blob);
}

} // namespace jornix
