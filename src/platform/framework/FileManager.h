#pragma once

#include "platform/framework/ErrorReporter.h"
#include "platform/store/StoreStatus.h"

#include <QStringList>

namespace jornix {

class Record;
class Table;

// Reads, primes, validates and writes the records of one table through the running thread's record buffer.
// A program derives one access object per table and overrides the slots it needs (defaults, checks,
// what follows a write). Results are levels (Severity::Benign = 0 is success); failures are told through the
// error reporter, except by the quiet operations, which leave the store's answer in LastStatus().
class FileManager
{
public:
    FileManager() = default;
    virtual ~FileManager() = default;
    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    void Init(Table& table, ErrorReporter& errors);
    virtual void Kill();

    Table& GetTable() const { return *table_; }
    ErrorReporter& Errors() const { return *errors_; }
    Record& Buffer() const; // of the running thread

    // Opening, counted per thread; a failure is told (a missing file that may not be created, a file that
    // cannot be opened or created are fatal).
    int Open();
    void Close();

    // Clears the buffer (unless told to leave it), sets the defaults and, for a numbered table, takes the
    // next number and adds the row at once, so that the number is the record's. Three failed tries in a row
    // ask "Auto Increment Error"; Yes tries again, No gives Severity::Cancel.
    virtual int PrepareRecord(bool leaveBuffer = false);
    // The row that the last PrepareRecord of this thread added for the buffer's record and that no insert
    // or delete has taken since; 0 when it added none (a table without an auto-numbered key).
    qint64 PrimedRow() const;
    virtual void SetFieldDefaults() {}
    // Checks one field of the buffer (the store's field number); 0 when it may be written.
    virtual int ValidateField(int field, bool showMessages);
    // Every field in order, stopping at the first that fails.
    int ValidateRecord(bool showMessages);

    // Writes of the buffer. Each validates the whole record first; a record that fails is not written. An
    // insert of a primed record rewrites the row that priming added.
    virtual int Insert();
    int InsertQuiet(); // no messages, and none of the program's additions to Insert
    int Update();      // UpdateQuiet, then the message of its failure
    virtual int UpdateQuiet();
    // Deletes the record last read or written on this thread.
    virtual int DeleteRecord();

    // Reads the record whose key values equal the buffer's; FetchQuiet tells nothing when there is none.
    int Fetch(int key);
    int FetchQuiet(int key);

    void SaveBuffer();
    bool BufferUnchanged() const;

    // Holds on to the stored version of this thread's current record (as it stands now, whatever the
    // buffer holds). Until Unwatch, Update and DeleteRecord of this thread write only while the stored
    // record still equals it; when another window or another copy of the program has changed it meanwhile,
    // nothing is written and LastStatus() is StoreError::Changed (Update tells it with the message
    // RecordChanged; DeleteRecord tells nothing, its caller decides). A write that succeeds holds on to
    // what it wrote.
    Status Watch();
    void Unwatch();
    bool Watching() const;
    // The stored version held on to; a blank record when none is.
    const Record& Watched() const;

    // The store's answer to the last quiet operation of this thread.
    Status LastStatus() const;

    // Transactions on the table's file, begun and ended by the relation manager. Messages wait until the
    // transaction has ended, and so do the side files given to RemoveFilesAfterCommit.
    int BeginTransaction();
    int CommitTransaction();
    void RollbackTransaction();
    // Removes the files once the write has committed: now, unless this thread's transaction is open.
    void RemoveFilesAfterCommit(const QStringList& paths);

protected:
    // Tells the failure of the last quiet write of this thread and returns the reporter's level.
    int ReportWriteFailure(int errorId);
    ErrorValues ValuesOf(const Status& status) const;

private:
    struct ThreadState;
    ThreadState& State() const;
    int Write(bool insert);

    Table* table_ = nullptr;
    ErrorReporter* errors_ = nullptr;
};

} // namespace jornix
