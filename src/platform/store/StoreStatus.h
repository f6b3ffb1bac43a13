#pragma once

#include <QString>

// The result of every operation of the record store. Nothing in the store throws: each operation says what
// went wrong, and the caller (the data layer's error reporter) decides what to show.
namespace jornix {

enum class StoreError
{
    None,
    NotFound,         // no record has these key values, or the current record is gone
    DuplicateKey,     // a unique key already holds these values; Status::Key() names it by its description
    FileNotFound,     // the file does not exist and may not be created
    FileOpenError,    // the file could not be opened: not a record file, wrong key, no permission
    FileCreateError,  // the file or its tables could not be created
    FileNotOpen,      // the table is not open on this thread
    ReadOnly,         // a write to a table whose file is read-only
    Locked,           // the file stays locked by another user or another thread's transaction
    NoCurrentRecord,  // update or delete without a record read or written on this thread
    Changed,          // the stored record is no longer the one read: another window or program changed it
    BadExpression,    // a filter, sort or range that cannot be used; the message names what is wrong
    TransactionError, // begin, commit or rollback failed
    Failed            // any other failure of the database
};

class Status
{
public:
    Status() = default;
    Status(StoreError code, QString message, QString file = {}, QString key = {})
        : code_(code), message_(std::move(message)), file_(std::move(file)), key_(std::move(key))
    {
    }

    bool Ok() const { return code_ == StoreError::None; }
    explicit operator bool() const { return Ok(); }
    StoreError Code() const { return code_; }
    const QString& Message() const { return message_; } // readable text of the error
    const QString& File() const { return file_; }       // the record file involved, when there is one
    const QString& Key() const { return key_; }         // DuplicateKey: the description of the key

private:
    StoreError code_ = StoreError::None;
    QString message_;
    QString file_;
    QString key_;
};

} // namespace jornix
