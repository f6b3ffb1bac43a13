#pragma once

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Layout.h"
#include "platform/store/StoreStatus.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace jornix {

class Table;

// Binds a value by its type (from 1): numbers, texts as UTF-8, bytes, and an invalid value as NULL.
void BindValue(sqlite3_stmt* statement, int index, const QVariant& value);

// A prepared statement taken from a file's cache; reset when it goes out of scope, so that no statement
// stays open beyond the operation that used it.
class Statement
{
public:
    Statement() = default;
    // An owned statement is finalised when done; a cached one is only reset for its next use.
    explicit Statement(sqlite3_stmt* statement, bool owned = false) : statement_(statement), owned_(owned) {}
    Statement(Statement&& other) noexcept : statement_(other.statement_), owned_(other.owned_)
    {
        other.statement_ = nullptr;
    }
    Statement(const Statement&) = delete;
    ~Statement();

    explicit operator bool() const { return statement_ != nullptr; }
    sqlite3_stmt* Handle() const { return statement_; }
    void Bind(int index, const QVariant& value); // from 1
    int Step();                                  // an SQLite result code
    void Reset();                                // done with it before the end of its scope
    qint64 Int64(int column) const;
    QVariant Column(int column) const; // by the column's stored type

private:
    sqlite3_stmt* statement_ = nullptr;
    bool owned_ = false;
};

// One record file: an SQLCipher database shared by every thread and every table it holds.
class RecordFile
{
public:
    // The open file of this path, opened (and created with the tables of the file when allowed) when it is
    // not open yet. Each successful call holds the file once more.
    static RecordFile* Acquire(const Table& table, Status& status);
    void Release(); // closes the file when nothing holds it any more

    // Opens a connection to a record file as every connection of the store is opened: keyed and with the
    // cipher settings when encrypted, the short busy timeout, the store's SQL functions, and a first read
    // that shows whether the key fits. The caller closes db, also after a failure.
    static Status OpenConnection(const QString& path, bool encrypted, int openFlags, sqlite3*& db);

    const QString& Path() const { return path_; }
    bool ReadOnly() const { return readOnly_; }
    static constexpr int MaxCachedStatements = 64;
    Statement Prepare(const QString& sql, Status& status);
    // A statement of its own, finalised when done: for a read that sorts many rows, which a statement
    // reset for its next use runs markedly slower.
    Statement PrepareOwned(const QString& sql, Status& status);
    int CachedStatements() const { return int(statements_.size()); }
    Status Execute(const QString& sql);                       // a statement without parameters or rows
    Status Error(StoreError code, const QString& what) const; // what failed, with SQLite's message
    sqlite3* Handle() const { return db_; }

    // Transactions. An explicit transaction belongs to the thread that began it; a write of that thread
    // joins it, a write of another thread is refused as locked. A write lock held by another user is
    // waited for up to LockWait() milliseconds, the running program thread giving way between tries (the
    // other windows go on); only then is the write refused as locked.
    Status Begin();
    static constexpr int DefaultLockWaitMs = 3000;
    static void SetLockWait(int milliseconds); // a negative value restores the default
    static int LockWait();
    Status Commit();
    void Rollback();
    bool InTransaction() const { return transactionThread_ >= 0; }
    ThreadNumber TransactionThread() const { return transactionThread_; }

    // A number that differs from every earlier answer once the file has changed: a commit of this
    // connection, or of any other connection or process (PRAGMA data_version). Numbers are never given
    // twice in a process, not even by a file closed and opened again, so a reader that keeps the last number
    // it saw knows whether it must read again.
    quint64 ChangeCount();

    ~RecordFile();

private:
    RecordFile() = default;
    Status OpenDatabase(const Table& table);
    Status HasSchemaObject(const QString& name, bool& present);

    QString path_;
    sqlite3* db_ = nullptr;
    bool readOnly_ = false;
    int holds_ = 0;
    ThreadNumber transactionThread_ = -1;
    // Prepared statements by their text, at most MaxCachedStatements of them: the one used longest ago
    // makes room for a new one.
    struct Cached
    {
        sqlite3_stmt* statement = nullptr;
        quint64 lastUse = 0;
    };
    QHash<QString, Cached> statements_;
    quint64 uses_ = 0;
    qint64 dataVersion_ = -1;
    quint64 changes_ = 0;
    void NoteChange();
    void FinalizeStatements();
    void MakeRoomInCache();
};

// A write that runs in the thread's open transaction or, when there is none, in a transaction of its own.
class WriteScope
{
public:
    explicit WriteScope(RecordFile& file);
    ~WriteScope(); // rolls back an own transaction that was not committed
    const Status& Started() const { return status_; }
    Status Commit();

private:
    RecordFile& file_;
    Status status_;
    bool own_ = false;
    bool done_ = false;
};

} // namespace jornix
