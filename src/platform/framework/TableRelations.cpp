#include "platform/framework/TableRelations.h"

#include "platform/framework/FileManager.h"
#include "platform/runtime/MessageBox.h"

namespace jornix {

void TableRelations::Init(FileManager& access, bool useTransactions)
{
    access_ = &access;
    useTransactions_ = useTransactions;
}

void TableRelations::Kill()
{
    access_ = nullptr;
}

int TableRelations::Open()
{
    return access_->Open();
}

void TableRelations::Close()
{
    access_->Close();
}

int TableRelations::Write(int (FileManager::*write)())
{
    if (!useTransactions_)
        return (access_->*write)();
    if (const int level = access_->BeginTransaction(); level != Severity::Benign)
        return level;
    if (const int level = (access_->*write)(); level != Severity::Benign) {
        access_->RollbackTransaction();
        return level;
    }
    return access_->CommitTransaction();
}

int TableRelations::Update()
{
    return Write(&FileManager::Update);
}

int TableRelations::Delete(bool ask)
{
    // Asked before the transaction begins: no transaction stays open while the user decides.
    if (ask && ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                              QStringLiteral("Confirm Delete"),
                              QStringLiteral("Are you sure you want to delete the highlighted record?"),
                              MessageButton::No) != MessageButton::Yes)
        return Severity::Cancel;
    return Write(&FileManager::DeleteRecord);
}

} // namespace jornix
