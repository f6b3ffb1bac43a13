#pragma once

#include "platform/store/StoreStatus.h"

namespace jornix {

class RecordFile;
class Table;

// A transaction on the record file of a table (BEGIN IMMEDIATE, so that a lock held by another user shows at
// the start, after a short wait, and never halfway through). The writes of the thread that began it join it;
// it is rolled back when it ends without Commit. Never keep one open across a yield.
class Transaction
{
public:
    explicit Transaction(Table& table);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Status Begin(); // the table must be open on the running thread
    Status Commit();
    void Rollback();
    bool Active() const { return file_ != nullptr; }

private:
    Table& table_;
    RecordFile* file_ = nullptr;
};

} // namespace jornix
