#pragma once

#include "platform/store/StoreStatus.h"

#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace jornix {

class Record;
class Table;

// An existing record file read as it stands, from the first record to the last, for an import. It is opened
// read-only on a connection of its own (never the shared one of RecordFile), its table's columns are checked
// against the layout, and a read transaction holds the file until the snapshot is destroyed: no other
// connection or process commits a write to it meanwhile, and the file is never written, never created. As
// the connection is nobody else's, the reader may yield between records while the transaction stays open.
class FileSnapshot
{
public:
    // Opens the file of the path as a file of the layout's table (its name, its fields, enciphered or plain
    // by its attributes). Refused, with nullptr: a path that is no regular file (FileNotFound); a file that
    // is not a record file of the store, damaged or keyed otherwise (FileOpenError); a file without the table
    // or without a column of one of its fields (FileOpenError, naming them); a file that another connection
    // or process is writing or has locked (Locked).
    static std::unique_ptr<FileSnapshot> Open(const Table& layout, const QString& path, Status& status);
    ~FileSnapshot(); // ends the read transaction and closes the file
    FileSnapshot(const FileSnapshot&) = delete;
    FileSnapshot& operator=(const FileSnapshot&) = delete;

    qint64 RecordCount() const { return count_; }
    // Reads the next record in physical order into the record (one of the layout's table): texts cut to
    // their fields' widths as they are read. false at the end, with status Ok, or after a failure.
    bool Next(Record& record, Status& status);

private:
    FileSnapshot(const Table& layout, const QString& path) : layout_(layout), path_(path) {}
    Status Start();
    Status Failure(StoreError code, const QString& what) const;

    const Table& layout_;
    QString path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* rows_ = nullptr;
    qint64 count_ = 0;
    bool done_ = false;
};

// Whether the database has the layout's table with a column for every one of its fields (in any order,
// among others); FileOpenError names the table or the missing columns.
Status CheckColumns(sqlite3* db, const Table& layout, const QString& path);

} // namespace jornix
