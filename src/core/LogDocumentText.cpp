#include "core/LogDocumentText.h"

#include "documents/TXEdit.h"
#include "platform/richtext/OwnFormat.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QTextDocument>

#include <vector>

namespace jornix {
namespace {

// Plain text (format 1) of the whole document.
constexpr int PlainText = 1;
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
    const QString listed = QStringLiteral("INSERT OR IGNORE INTO %1 VALUES (new.%2);").arg(MissingSql(), number);
    const auto trigger = [&](const QString& name, const QString& when, const QString& table, const QString& body) {
        return QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 %2 ON %3 BEGIN %4 END; ")
            .arg(Table::QuotedName(name), when, table, body);
    };
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 INTEGER PRIMARY KEY); ").arg(MissingSql(), number) +
           trigger(log.TableName() + QStringLiteral("_copy_inserted"), QStringLiteral("AFTER INSERT"),
                   log.TableSql(), listed) +
           trigger(log.TableName() + QStringLiteral("_copy_updated"),
                   QStringLiteral("AFTER UPDATE OF %1, %2").arg(number, log.ColumnSql(columns.document)),
                   log.TableSql(), listed) +
           QStringLiteral("INSERT OR IGNORE INTO %1 SELECT %2 FROM %3 WHERE %2 NOT IN (SELECT %4 FROM %5); ")
               .arg(MissingSql(), number, log.TableSql(), columns.text.ColumnSql(columns.textNumber),
                    columns.text.TableSql()) +
           trigger(QString::fromLatin1(CopyWritten), QStringLiteral("AFTER INSERT"), columns.text.TableSql(),
                   QStringLiteral("DELETE FROM %1 WHERE %2 = new.%3;")
                       .arg(MissingSql(), number, columns.text.ColumnSql(columns.textNumber)));
}

// The listed events get their copies; numbers that no event holds any more leave the list.
void FillMissingCopies(const Columns& columns, Table& log)
{
    RecordFile* file = log.File();
    if (!file || file->ReadOnly() || file->InTransaction())
        return;
    struct Missing
    {
        qint32 number;
        QByteArray document;
    };
    std::vector<Missing> missing;
    bool listed = false;
    {
        Status status;
        Statement statement = file->Prepare(
            QStringLiteral("SELECT missing.%1, event.%2, event.rowid FROM %3 AS missing LEFT JOIN %4 AS event ON event.%1 = "
                           "missing.%1")
                .arg(log.ColumnSql(columns.logNumber), log.ColumnSql(columns.document), MissingSql(),
                     log.TableSql()),
            status);
        if (!statement)
            return;
        while (statement.Step() == SQLITE_ROW) {
            listed = true;
            if (sqlite3_column_type(statement.Handle(), 2) != SQLITE_NULL)
                missing.push_back({qint32(statement.Int64(0)), statement.Column(1).toByteArray()});
        }
    }
    if (!listed)
        return;
    Converter converter;
    WriteScope scope(*file);
    if (!scope.Started())
        return;
    for (const Missing& event : missing)
        if (!WriteCopy(*file, columns, event.number, converter.PlainTextOf(event.document)))
            return; // rolled back; tried again at the next open
    if (!Run(*file, QStringLiteral("DELETE FROM %1").arg(MissingSql()), {}))
        return;
    scope.Commit();
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
