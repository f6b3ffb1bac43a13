#pragma once

#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QStringList>

// The work a record file's connection does while it is watched: the statements run that read a table, and
// the steps of SQLite's virtual machine and the sorts in every statement, as SQLite's trace reports them.
namespace jornix::test {

class StatementWork
{
public:
    explicit StatementWork(const Table& table) : db_(table.File()->Handle()), table_(table.TableName())
    {
        sqlite3_trace_v2(db_, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, Trace, this);
    }
    ~StatementWork() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    StatementWork(const StatementWork&) = delete;
    StatementWork& operator=(const StatementWork&) = delete;

    void Clear()
    {
        reads = 0;
        steps = 0;
        sorts = 0;
        texts.clear();
    }

    int reads = 0;     // statements run that name the table
    qint64 steps = 0;  // virtual machine steps of every statement run
    int sorts = 0;     // sorts of every statement run
    QStringList texts; // of the statements that name the table

private:
    static int Trace(unsigned type, void* context, void* statement, void* text)
    {
        auto* work = static_cast<StatementWork*>(context);
        auto* handle = static_cast<sqlite3_stmt*>(statement);
        if (type == SQLITE_TRACE_STMT) {
            const QString sql = QString::fromUtf8(static_cast<const char*>(text));
            if (!sql.startsWith(QLatin1String("--")) && sql.contains(Table::QuotedName(work->table_))) {
                ++work->reads;
                work->texts << sql;
            }
        } else if (type == SQLITE_TRACE_PROFILE) {
            work->steps += sqlite3_stmt_status(handle, SQLITE_STMTSTATUS_VM_STEP, 1);
            work->sorts += sqlite3_stmt_status(handle, SQLITE_STMTSTATUS_SORT, 1);
        }
        return 0;
    }

    sqlite3* db_;
    QString table_;
};

} // namespace jornix::test
