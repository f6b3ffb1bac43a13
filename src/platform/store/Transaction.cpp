#include "platform/store/Transaction.h"

#include "platform/store/RecordFile.h"
#include "platform/store/Table.h"

namespace jornix {

Transaction::Transaction(Table& table) : table_(table) {}

Transaction::~Transaction()
{
    Rollback();
}

Status Transaction::Begin()
{
    if (file_)
        return Status(StoreError::TransactionError, QStringLiteral("The transaction has already begun."));
    if (Status status = table_.CheckOpen(); !status)
        return status;
    if (Status status = table_.File()->Begin(); !status)
        return status;
    file_ = table_.File();
    return {};
}

Status Transaction::Commit()
{
    if (!file_)
        return Status(StoreError::TransactionError, QStringLiteral("No transaction has begun."));
    RecordFile* file = file_;
    file_ = nullptr;
    if (table_.File() != file)
        return Status(StoreError::TransactionError,
                      QStringLiteral("The file was closed during the transaction."));
    return file->Commit();
}

void Transaction::Rollback()
{
    // A file closed meanwhile has rolled back on closing.
    if (file_ && table_.File() == file_)
        file_->Rollback();
    file_ = nullptr;
}

} // namespace jornix
