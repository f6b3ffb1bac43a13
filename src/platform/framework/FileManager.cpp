#include "platform/framework/FileManager.h"

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include <QFile>

#include <memory>
#include <optional>
#include <unordered_map>

namespace jornix {

// What one program thread holds of one access object.
struct FileManager::ThreadState
{
    qint64 primedRow = 0; // the row that PrepareRecord added for the buffer's record
    int failedField = -1; // the field that failed the last validation
    Status lastStatus;
    std::unique_ptr<Transaction> transaction;
    QStringList pendingRemovals;   // side files of deletes in the open transaction
    std::optional<Record> watched; // the stored record that writes hold on to (Watch)
};

namespace {

// Tries of taking a number and adding the row before the user is asked.
constexpr int AutoNumberTries = 3;

using ManagerStates = std::unordered_map<const FileManager*, std::shared_ptr<void>>;

void RemoveFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        // A file that cannot be removed stays; nothing is told.
        if (QFile::exists(path))
            QFile::remove(path);
    }
}

} // namespace

FileManager::ThreadState& FileManager::State() const
{
    auto& states = CurrentContext().Slot<ManagerStates>();
    std::shared_ptr<void>& state = states[this];
    if (!state)
        state = std::make_shared<ThreadState>();
    return *static_cast<ThreadState*>(state.get());
}

void FileManager::Init(Table& table, ErrorReporter& errors)
{
    table_ = &table;
    errors_ = &errors;
}

void FileManager::Kill()
{
    table_ = nullptr;
    errors_ = nullptr;
}

Record& FileManager::Buffer() const
{
    return table_->Buffer();
}

ErrorValues FileManager::ValuesOf(const Status& status) const
{
    // The messages put their own full stop after the error's text.
    QString text = status.Message();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return {status.File().isEmpty() ? table_->FilePath() : status.File(), text, {}, {}};
}

int FileManager::Open()
{
    const Status status = table_->Open();
    if (status)
        return Severity::Benign;
    State().lastStatus = status;
    return errors_->Throw(status.Code() == StoreError::FileCreateError ? ErrorId::FileCreation
                                                                       : ErrorId::FileAccess,
                          ValuesOf(status));
}

void FileManager::Close()
{
    table_->Close();
}

int FileManager::PrepareRecord(bool leaveBuffer)
{
    ThreadState& state = State();
    state.primedRow = 0;
    if (!leaveBuffer)
        table_->ClearBuffer();
    SetFieldDefaults();
    const int key = table_->AutoNumberKey();
    if (key < 0)
        return Severity::Benign;
    const int field = table_->Key(key).components.front();
    for (;;) {
        for (int attempt = 0; attempt < AutoNumberTries; ++attempt) {
            qint32 number = 0;
            Status status = table_->TakeNextNumber(number);
            if (status) {
                Buffer().SetValue(field, number);
                status = table_->InsertPrimed();
            }
            state.lastStatus = status;
            if (status) {
                state.primedRow = table_->CurrentRow();
                return Severity::Benign;
            }
        }
        const int level = errors_->Throw(ErrorId::AutoIncrement, ValuesOf(state.lastStatus));
        if (level != Severity::Benign)
            return level;
    }
}

qint64 FileManager::PrimedRow() const
{
    return State().primedRow;
}

int FileManager::ValidateField(int, bool)
{
    return Severity::Benign;
}

int FileManager::ValidateRecord(bool showMessages)
{
    ThreadState& state = State();
    state.failedField = -1;
    for (int field = 0; field < table_->FieldCount(); ++field) {
        if (const int level = ValidateField(field, showMessages); level != Severity::Benign) {
            state.failedField = field;
            state.lastStatus =
                Status(StoreError::Failed,
                       QStringLiteral("The value of %1 was refused.").arg(table_->Field(field).name),
                       table_->FilePath());
            return level;
        }
    }
    return Severity::Benign;
}

int FileManager::Write(bool insert)
{
    ThreadState& state = State();
    state.lastStatus = {};
    if (const int level = ValidateRecord(false); level != Severity::Benign)
        return level;
    Status status;
    bool rewrite = insert && state.primedRow != 0;
    if (rewrite && table_->CurrentRow() != state.primedRow) {
        // Another record was read meanwhile: make the primed row current again, keeping the buffer.
        const Record values = Buffer();
        status = table_->FetchRow(state.primedRow);
        Buffer() = values;
        if (status.Code() == StoreError::NotFound) {
            rewrite = false; // the primed row was removed meanwhile: add the record anew
            status = {};
        }
    }
    if (status) {
        if (insert && !rewrite)
            status = table_->Insert();
        else if (!insert && state.watched)
            status = table_->Update(*state.watched);
        else
            status = table_->Update();
    }
    state.lastStatus = status;
    if (!status)
        return Severity::Notify;
    if (insert)
        state.primedRow = 0;
    if (!insert && state.watched)
        table_->ReadStored(table_->CurrentRow(), *state.watched);
    return Severity::Benign;
}

int FileManager::ReportWriteFailure(int errorId)
{
    ThreadState& state = State();
    if (state.failedField >= 0) {
        // Validated again with messages, so that the field's own check tells what is wrong.
        const int level = ValidateField(state.failedField, true);
        return level != Severity::Benign ? level : Severity::Notify;
    }
    const Status status = state.lastStatus;
    if (status.Code() == StoreError::Changed)
        return errors_->Throw(ErrorId::RecordChanged, ValuesOf(status));
    if (status.Code() == StoreError::DuplicateKey)
        return errors_->Throw(ErrorId::DuplicateKey, {status.File(), status.Message(), {}, status.Key()});
    return errors_->Throw(errorId, ValuesOf(status));
}

int FileManager::Insert()
{
    const int level = Write(true);
    return level == Severity::Benign ? level : ReportWriteFailure(ErrorId::RecordInsert);
}

int FileManager::InsertQuiet()
{
    return Write(true);
}

int FileManager::Update()
{
    const int level = UpdateQuiet();
    return level == Severity::Benign ? level : ReportWriteFailure(ErrorId::RecordNotUpdated);
}

int FileManager::UpdateQuiet()
{
    return Write(false);
}

int FileManager::DeleteRecord()
{
    ThreadState& state = State();
    const qint64 row = table_->CurrentRow();
    const Status status = state.watched ? table_->Delete(*state.watched) : table_->Delete();
    state.lastStatus = status;
    if (status.Code() == StoreError::Changed)
        return Severity::Notify;
    if (!status)
        return errors_->Throw(ErrorId::RecordNotDeleted, ValuesOf(status));
    state.watched.reset();
    if (row == state.primedRow)
        state.primedRow = 0;
    return Severity::Benign;
}

int FileManager::Fetch(int key)
{
    const Status status = table_->Fetch(key);
    State().lastStatus = status;
    return status ? Severity::Benign : errors_->Throw(ErrorId::RecordRetrieval, ValuesOf(status));
}

int FileManager::FetchQuiet(int key)
{
    const Status status = table_->Fetch(key);
    State().lastStatus = status;
    return status ? Severity::Benign : Severity::Notify;
}

void FileManager::SaveBuffer()
{
    table_->SaveBuffer();
}

bool FileManager::BufferUnchanged() const
{
    return table_->BufferUnchanged();
}

Status FileManager::Watch()
{
    ThreadState& state = State();
    Record stored;
    const Status status = table_->ReadStored(table_->CurrentRow(), stored);
    if (status)
        state.watched = std::move(stored);
    else
        state.watched.reset();
    return status;
}

void FileManager::Unwatch()
{
    State().watched.reset();
}

bool FileManager::Watching() const
{
    return State().watched.has_value();
}

const Record& FileManager::Watched() const
{
    static const Record blank;
    const ThreadState& state = State();
    return state.watched ? *state.watched : blank;
}

Status FileManager::LastStatus() const
{
    return State().lastStatus;
}

int FileManager::BeginTransaction()
{
    ThreadState& state = State();
    auto transaction = std::make_unique<Transaction>(*table_);
    if (const Status status = transaction->Begin(); !status) {
        state.lastStatus = status;
        return errors_->Throw(ErrorId::TransactionCancelled, ValuesOf(status));
    }
    state.transaction = std::move(transaction);
    state.pendingRemovals.clear();
    errors_->HoldMessages();
    return Severity::Benign;
}

int FileManager::CommitTransaction()
{
    ThreadState& state = State();
    if (!state.transaction)
        return Severity::Benign;
    const Status status = state.transaction->Commit();
    state.transaction.reset();
    const QStringList removals = std::exchange(state.pendingRemovals, {});
    if (status)
        RemoveFiles(removals);
    errors_->ReleaseMessages();
    if (status)
        return Severity::Benign;
    state.lastStatus = status;
    return errors_->Throw(ErrorId::TransactionCancelled, ValuesOf(status));
}

void FileManager::RollbackTransaction()
{
    ThreadState& state = State();
    if (!state.transaction)
        return;
    state.transaction.reset(); // rolls back
    state.pendingRemovals.clear();
    errors_->ReleaseMessages();
}

void FileManager::RemoveFilesAfterCommit(const QStringList& paths)
{
    ThreadState& state = State();
    if (state.transaction)
        state.pendingRemovals << paths;
    else
        RemoveFiles(paths);
}

} // namespace jornix
