#include "platform/store/FileSnapshot.h"

#include "platform/store/Record.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QFile>
#include <QSet>
#include <QStringList>

#include <filesystem>

namespace jornix {
namespace {

QString Quote(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

bool IsRegularFile(const QString& path)
{
    // A pipe or a device would block or never end when read; a folder is no file.
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(QFile::encodeName(path).toStdString()),
                                            error);
}

// Every field's column, texts cut to their width so that an oversized value is never read whole.
QString SelectList(const Table& layout)
{
    QStringList columns;
    for (int field = 0; field < layout.FieldCount(); ++field) {
        const FieldDef& def = layout.Field(field);
        columns << (def.IsText() ? QStringLiteral("substr(%1, 1, %2)").arg(Quote(def.column)).arg(def.width)
                                 : Quote(def.column));
    }
    return columns.join(QStringLiteral(", "));
}

} // namespace

Status CheckColumns(sqlite3* db, const Table& layout, const QString& path)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("PRAGMA table_info(%1)").arg(Quote(layout.TableName())).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        return Status(StoreError::FileOpenError,
                      QStringLiteral("The tables of the file could not be read: %1.")
                          .arg(QString::fromUtf8(sqlite3_errmsg(db))),
                      path);
    QSet<QString> columns; // SQLite's column names compare without regard to ASCII case
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW)
        columns.insert(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1))).toLower());
    sqlite3_finalize(statement);
    if (result != SQLITE_DONE)
        return Status(StoreError::FileOpenError,
                      QStringLiteral("The tables of the file could not be read: %1.")
                          .arg(QString::fromUtf8(sqlite3_errmsg(db))),
                      path);
    if (columns.isEmpty())
        return Status(StoreError::FileOpenError,
                      QStringLiteral("The file has no table %1.").arg(layout.TableName()), path);
    QStringList missing;
    for (int field = 0; field < layout.FieldCount(); ++field) {
        if (!columns.contains(layout.Field(field).column.toLower()))
            missing << layout.Field(field).column;
    }
    if (!missing.isEmpty())
        return Status(StoreError::FileOpenError,
                      QStringLiteral("The table %1 of the file has no column %2.")
                          .arg(layout.TableName(), missing.join(QStringLiteral(", "))),
                      path);
    return {};
}

std::unique_ptr<FileSnapshot> FileSnapshot::Open(const Table& layout, const QString& path, Status& status)
{
    if (!IsRegularFile(path)) {
        status = Status(StoreError::FileNotFound, QStringLiteral("There is no file of this name."), path);
        return nullptr;
    }
    std::unique_ptr<FileSnapshot> snapshot(new FileSnapshot(layout, path));
    status = snapshot->Start();
    if (!status)
        snapshot.reset();
    return snapshot;
}

Status FileSnapshot::Start()
{
    const bool encrypted = layout_.FileAttributes() & FileAttribute::Encrypt;
    if (Status status = RecordFile::OpenConnection(path_, encrypted, SQLITE_OPEN_READONLY, db_); !status) {
        const int code = db_ ? sqlite3_errcode(db_) : SQLITE_ERROR;
        return code == SQLITE_BUSY || code == SQLITE_LOCKED
                   ? Status(StoreError::Locked, QStringLiteral("The file is locked by another program."),
                            path_)
                   : status;
    }
    // The first read inside the transaction takes the shared lock that keeps writers from committing.
    if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Failure(StoreError::FileOpenError, QStringLiteral("The file could not be read"));
    // A writer that has begun before us could still commit once we let go: the file is refused while
    // another connection or process holds its write lock.
    sqlite3_file* file = nullptr;
    int reserved = 0;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods || file->pMethods->xCheckReservedLock(file, &reserved) != SQLITE_OK || reserved)
        return Status(StoreError::Locked, QStringLiteral("The file is being written by another program."),
                      path_);
    if (Status status = CheckColumns(db_, layout_, path_); !status)
        return status;

    const QString table = Quote(layout_.TableName());
    sqlite3_stmt* count = nullptr;
    const QByteArray countSql = QStringLiteral("SELECT count(*) FROM %1").arg(table).toUtf8();
    const bool counted =
        sqlite3_prepare_v2(db_, countSql.constData(), int(countSql.size()), &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW;
    if (counted)
        count_ = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    if (!counted)
        return Failure(StoreError::FileOpenError,
                       QStringLiteral("The records of the file could not be counted"));

    const QByteArray rowsSql =
        QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(SelectList(layout_), table).toUtf8();
    if (sqlite3_prepare_v2(db_, rowsSql.constData(), int(rowsSql.size()), &rows_, nullptr) != SQLITE_OK)
        return Failure(StoreError::FileOpenError,
                       QStringLiteral("The records of the file could not be read"));
    return {};
}

Status FileSnapshot::Failure(StoreError code, const QString& what) const
{
    const int result = sqlite3_errcode(db_);
    if (result == SQLITE_BUSY || result == SQLITE_LOCKED)
        return Status(StoreError::Locked, QStringLiteral("The file is locked by another program."), path_);
    return Status(code, QStringLiteral("%1: %2.").arg(what, QString::fromUtf8(sqlite3_errmsg(db_))), path_);
}

FileSnapshot::~FileSnapshot()
{
    sqlite3_finalize(rows_);
    if (db_) {
        if (!sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
}

bool FileSnapshot::Next(Record& record, Status& status)
{
    status = {};
    if (done_)
        return false; // a step after the end would read from the start again
    const int result = sqlite3_step(rows_);
    if (result == SQLITE_ROW) {
        layout_.ReadRow(rows_, record, true);
        return true;
    }
    done_ = true;
    if (result != SQLITE_DONE)
        status = Failure(StoreError::Failed, QStringLiteral("A record of the file could not be read"));
    return false;
}

} // namespace jornix
