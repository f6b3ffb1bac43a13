#include "platform/framework/TableRelations.h"

#include "platform/framework/FileManager.h"
#include "platform/runtime/MessageBox.h"
#include "platform/store/Table.h"

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
    // The record as it stands when the user is asked. Another window or program that changes it while the
    // question is up (or since the record was read) makes the delete ask again, about what is stored now.
    access_->Watch();
    for (;;) {
        // Asked before the transaction begins: no transaction stays open while the user decides.
        if (ask && ShowMessageBox(MessageButton::Yes | MessageButton::No, MessageIcon::Question,
                                  QStringLiteral("Confirm Delete"),
                                  QStringLiteral("Are you sure you want to delete the highlighted record?"),
                                  MessageButton::No) != MessageButton::Yes) {
            access_->Unwatch();
            return Severity::Cancel;
        }
        const int level = Write(&FileManager::DeleteRecord);
        if (access_->LastStatus().Code() != StoreError::Changed) {
            access_->Unwatch();
            return level;
        }
        Table& table = access_->GetTable();
        table.FetchRow(table.CurrentRow());
        access_->Watch();
        ask = true;
    }
}

} // namespace jornix
