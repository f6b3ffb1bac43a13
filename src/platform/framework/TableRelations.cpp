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

int TableRelations::Update()
{
    if (!useTransactions_)
        return access_->Update();
    if (const int level = access_->BeginTransaction(); level != Level::Benign)
        return level;
    const int level = access_->Update();
    if (level != Level::Benign) {
        access_->RollbackTransaction();
        return level;
    }
    return access_->CommitTransaction();
}

int TableRelations::Delete(bool ask)
{
    // Asked before the transaction begins: no transaction stays open while the user decides.
    if (ask && ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                              QStringLiteral("Confirm Delete"),
                              QStringLiteral("Are you sure you want to delete the highlighted record?"),
                              MessageButton::No) != MessageButton::Yes)
        return Level::Cancel;
    if (!useTransactions_)
        return access_->DeleteRecord();
    if (const int level = access_->BeginTransaction(); level != Level::Benign)
        return level;
    const int level = access_->DeleteRecord();
    if (level != Level::Benign) {
        access_->RollbackTransaction();
        return level;
    }
    return access_->CommitTransaction();
}

} // namespace jornix
