#pragma once

namespace jornix {

class FileManager;

// How windows open and close a table and change or delete its records: opening is counted per thread
// (the file opens at the thread's first use and closes when its count returns to 0); changes and deletions
// run inside a transaction when the manager is told to use them.
class TableRelations
{
public:
    TableRelations() = default;
    virtual ~TableRelations() = default;
    TableRelations(const TableRelations&) = delete;
    TableRelations& operator=(const TableRelations&) = delete;

    void Init(FileManager& access, bool useTransactions);
    virtual void Kill();
    FileManager& Access() const { return *access_; }

    int Open();
    void Close();
    // Rewrites the current record of this thread (FileManager::Update: a watched record only while it is
    // stored as read).
    int Update();
    // Deletes the current record of this thread; with ask set, only after "Confirm Delete" is answered Yes
    // (otherwise Severity::Cancel). A record that another window or program changed since it was read (or
    // while the question was up) is not deleted: the buffer takes the stored record and the question is
    // asked again.
    int Delete(bool ask = true);

private:
    // Runs one write of the access object, inside a transaction when told to use them.
    int Write(int (FileManager::*write)());

    FileManager* access_ = nullptr;
    bool useTransactions_ = false;
};

} // namespace jornix
