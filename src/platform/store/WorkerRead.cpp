#include "platform/store/WorkerRead.h"

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/ReadTally.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/WordIndex.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

namespace jornix {
namespace {

// How often the worker wakes the waiting thread to show its progress.
constexpr int ProgressIntervalMs = 50;

// What the worker and the waiting thread share.
struct Shared
{
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<int> done{0};      // workers that have ended
    std::atomic<bool> stop{false}; // a worker's take has ended the read
    std::atomic<int> wakes{0};
    std::mutex mutex; // guards progress, passed, taken and status
    ReadProgress progress;
    std::vector<qint64> passed; // per worker: the row ids it has passed in its part
    std::vector<qint64> taken;  // per worker: the rows it has handed on
    Status status;

    ReadProgress Current()
    {
        std::lock_guard lock(mutex);
        return progress;
    }
    // With the mutex held: the parts' progress as one.
    void Sum()
    {
        progress.at = 0;
        progress.rowsTaken = 0;
        for (std::size_t part = 0; part < passed.size(); ++part) {
            progress.at += passed[part];
            progress.rowsTaken += taken[part];
        }
    }
};

void WakeFromWorker(ThreadNumber thread)
{
    // The scheduler lives on the GUI thread: the wake is queued to its loop.
    if (thread > 0 && QCoreApplication::instance())
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [thread] { WakeThread(thread); }, Qt::QueuedConnection);
}

Status Failed(sqlite3* db, const QString& what, const QString& path)
{
    return Status(StoreError::Failed,
                  what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db)) + '.', path);
}

// What every worker reads: the statement's text and its filter's values, for a part of the row ids or of
// the rows a word index gave.
struct Plan
{
    const Table& table;
    // Its parameters: over every row, the row ids after (1) and up to (2), the filter's values, the
    // chunk's length; over the given rows, the row id (1) and the filter's values.
    QString sql;
    QVariantList values;
    bool readBlobs = false;
    const std::vector<qint64>* rows = nullptr; // the rows to read; nullptr: every row
    std::vector<int> keyFields; // read out of a key's index alone: its fields, in the statement's order
    QString rowSql;             // the same fields of one row by its id (1)
};

Status OpenWorkerConnection(const Table& table, sqlite3*& db)
{
    return RecordFile::OpenConnection(table.FilePath(), table.FileAttributes() & FileAttribute::Encrypt,
                                      SQLITE_OPEN_READONLY, db);
}

qint64 HighestRowId(sqlite3* db, const Table& table)
{
    sqlite3_stmt* statement = nullptr;
    qint64 highest = 0;
    const QByteArray end =
        QStringLiteral("SELECT ifnull(max(rowid), 0) FROM %1").arg(table.TableSql()).toUtf8();
    if (sqlite3_prepare_v2(db, end.constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        highest = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return highest;
}

// The worker's part of the rows: the row ids after `from` up to `to` (the last part has no upper end), or
// the places from `from` to before `to` in the plan's rows.
struct Part
{
    qint64 from = 0, to = 0;
};

// One worker: its own read-only connection, the rows of its part in chunks, each chunk under one lock of the
// file.
void ReadOnWorker(const Plan& plan, const WorkerRead::Take& take, Shared& shared, ThreadNumber waiting,
                  int part, int parts)
{
    const Table& table = plan.table;
    sqlite3* db = nullptr;
    Status status = OpenWorkerConnection(table, db);
    sqlite3_stmt* statement = nullptr;
    Part range;
    qint64 highest = 0; // over every row: the highest row id when the read began
    if (status) {
        const qint64 end = plan.rows ? qint64(plan.rows->size()) : HighestRowId(db, table);
        highest = end;
        {
            std::lock_guard lock(shared.mutex);
            shared.progress.end = std::max(shared.progress.end, end);
        }
        range.from = end * part / parts;
        range.to =
            part + 1 == parts && !plan.rows ? std::numeric_limits<qint64>::max() : end * (part + 1) / parts;
        const QByteArray text = plan.sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
            status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
    }
    const auto bindValues = [&](int first) {
        for (int index = 0; index < plan.values.size(); ++index)
            BindValue(statement, index + first, plan.values[index]);
    };
    QElapsedTimer sinceWake;
    sinceWake.start();
    qint64 after = range.from, taken = 0;
    bool more = status.Ok();
    Record record(table);
    // The next row of the statement to the take; false at the end of the chunk, a failure or a stop.
    const auto takeRow = [&](int& result) {
        if (shared.cancel || shared.stop || (result = sqlite3_step(statement)) != SQLITE_ROW)
            return false;
        table.ReadRow(statement, record, plan.readBlobs);
        ++taken;
        if (!take(record, sqlite3_column_int64(statement, table.FieldCount()))) {
            shared.stop = true;
            more = false;
            return false;
        }
        return true;
    };
    while (more && !shared.cancel && !shared.stop) {
        int result = SQLITE_DONE;
        if (plan.rows) {
            // A point read per row, the chunk in one read transaction rather than a lock per row.
            const qint64 end = std::min(range.to, after + WorkerRead::ChunkRows);
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            for (; after < end && more && !shared.cancel && !shared.stop; ++after) {
                BindValue(statement, 1, (*plan.rows)[std::size_t(after)]);
                bindValues(2);
                while (takeRow(result)) {
                }
                sqlite3_reset(statement);
                if (result != SQLITE_DONE && result != SQLITE_ROW)
                    break;
            }
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            more = more && after < range.to;
        } else {
            // A chunk spans at most ChunkRows row ids, not rows passed: a filter that passes few rows
            // would otherwise keep one step (and the file's lock) for the whole table, with no progress
            // shown and no cancel heard meanwhile. Rows added beyond the highest id at the start come in
            // chunks of ChunkRows rows.
            const bool window = after < highest;
            const qint64 upper = window ? std::min(range.to, after + WorkerRead::ChunkRows) : range.to;
            BindValue(statement, 1, after);
            BindValue(statement, 2, upper);
            bindValues(3);
            BindValue(statement, int(plan.values.size()) + 3, WorkerRead::ChunkRows);
            int rows = 0;
            while (takeRow(result)) {
                ++rows;
                after = sqlite3_column_int64(statement, table.FieldCount());
            }
            if (!shared.stop && !shared.cancel && more) {
                if (window && upper < range.to && result == SQLITE_DONE)
                    after = upper;
                else
                    more = rows == WorkerRead::ChunkRows;
            }
            sqlite3_reset(statement); // lets go of the file's lock between chunks
        }
        if (!shared.cancel && !shared.stop && result != SQLITE_DONE && result != SQLITE_ROW) {
            status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
            more = false;
        }
        {
            std::lock_guard lock(shared.mutex);
            const qint64 end = plan.rows ? range.to : std::min(range.to, shared.progress.end);
            shared.passed[std::size_t(part)] = (more ? std::min(after, range.to) : end) - range.from;
            shared.taken[std::size_t(part)] = taken;
            shared.Sum();
        }
        if (sinceWake.elapsed() >= ProgressIntervalMs) {
            sinceWake.restart();
            ++shared.wakes;
            WakeFromWorker(waiting);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    ReadTally::Add(table.TableName(), taken);
    {
        std::lock_guard lock(shared.mutex);
        if (!status && shared.status)
            shared.status = status;
        shared.taken[std::size_t(part)] = taken;
        shared.Sum();
    }
}

// The given rows out of a key's index, in one pass over it: the index is small beside rows that carry long
// texts or documents, and it is read under one lock of the file.
void ReadKeyOnWorker(const Plan& plan, const WorkerRead::Take& take, Shared& shared)
{
    const Table& table = plan.table;
    const std::vector<qint64>& rows = *plan.rows;
    sqlite3* db = nullptr;
    Status status = OpenWorkerConnection(table, db);
    sqlite3_stmt* statement = nullptr;
    // A few rows are read each by its row id (the start of the row only, up to the key's fields), rather
    // than the whole index passed.
    const bool few = status && qint64(rows.size()) < HighestRowId(db, table) / 16;
    if (status && !rows.empty()) {
        const QByteArray text = few ? plan.rowSql.toUtf8() : plan.sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
            status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
    }
    {
        std::lock_guard lock(shared.mutex);
        shared.progress.end = qint64(rows.size());
    }
    Record record(table);
    const int rowIdColumn = int(plan.keyFields.size());
    qint64 entries = 0, rowsRead = 0, taken = 0;
    std::size_t next = 0; // of the rows read by their ids
    int result = SQLITE_DONE;
    if (few)
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    while (status && !rows.empty() && !shared.cancel && !shared.stop) {
        if (few) {
            if (next == rows.size()) {
                result = SQLITE_DONE;
                break;
            }
            sqlite3_reset(statement);
            sqlite3_bind_int64(statement, 1, rows[next++]);
            if ((result = sqlite3_step(statement)) == SQLITE_DONE)
                continue;
            if (result != SQLITE_ROW)
                break;
            ++rowsRead;
        } else if ((result = sqlite3_step(statement)) == SQLITE_ROW) {
            ++entries;
            if (!std::binary_search(rows.begin(), rows.end(), sqlite3_column_int64(statement, rowIdColumn)))
                continue;
        } else {
            break;
        }
        const qint64 rowId = sqlite3_column_int64(statement, rowIdColumn);
        for (int column = 0; column < rowIdColumn; ++column) {
            const int field = plan.keyFields[std::size_t(column)];
            if (table.Field(field).IsText())
                record.SetValue(field, QString::fromUtf8(
                                           reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                           sqlite3_column_bytes(statement, column)));
            else if (table.Field(field).type == FieldType::Real)
                record.SetValue(field, sqlite3_column_double(statement, column));
            else
                record.SetValue(field, qint64(sqlite3_column_int64(statement, column)));
        }
        ++taken;
        if (!take(record, rowId)) {
            shared.stop = true;
            break;
        }
    }
    if (few)
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (status && !shared.cancel && !shared.stop && result != SQLITE_DONE)
        status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
    sqlite3_finalize(statement);
    sqlite3_close(db);
    ReadTally::Add(table.TableName(), rowsRead, entries);
    std::lock_guard lock(shared.mutex);
    if (!status && shared.status)
        shared.status = status;
    shared.passed[0] = qint64(rows.size());
    shared.taken[0] = taken;
    shared.Sum();
}

// Ends the worker however the waiting thread leaves Run, also when its fiber is unwound at the end of the
// program: the worker is told to stop and joined.
struct WorkerGuard
{
    Shared& shared;
    std::vector<std::thread> workers;
    void Join()
    {
        for (std::thread& worker : workers)
            if (worker.joinable())
                worker.join();
    }
    ~WorkerGuard()
    {
        shared.cancel = true;
        Join();
    }
};

// Runs work(part) for every part on a thread of its own while the calling program thread gives way,
// hearing of the progress; returns when every thread has ended, with whether the work was cancelled.
bool RunOnWorkers(int parts, const std::function<void(int part)>& work, Shared& shared,
                  const WorkerRead::Progress& progress)
{
    shared.passed.assign(std::size_t(parts), 0);
    shared.taken.assign(std::size_t(parts), 0);
    const ThreadNumber waiting = CurrentThread();
    WorkerGuard guard{shared, {}};
    for (int part = 0; part < parts; ++part)
        guard.workers.emplace_back([&work, &shared, waiting, part, parts] {
            work(part);
            if (++shared.done == parts) {
                shared.finished = true;
                WakeFromWorker(waiting);
            }
        });
    if (waiting > 0) {
        int seen = 0;
        while (!shared.finished) {
            WaitUntil([&] { return shared.finished || shared.wakes != seen; }, WaitKind::Work);
            if (!shared.finished && shared.wakes == seen) {
                shared.cancel = true; // the thread is being ended: it may not wait any more
                break;
            }
            seen = shared.wakes;
            if (progress && !shared.cancel && !shared.finished && !progress(shared.Current()))
                shared.cancel = true;
        }
    }
    guard.Join();
    return shared.cancel;
}

// The rows that the word index gives for the fragments, with the rows whose field holds one of the values;
// nothing when the index cannot narrow the read.
std::optional<std::vector<qint64>> NarrowedRows(const Table& table, const QStringList& fragments, int field,
                                                const std::vector<qint64>& values, bool keyOnly,
                                                Status& status)
{
    sqlite3* db = nullptr;
    std::optional<std::vector<qint64>> rows;
    status = OpenWorkerConnection(table, db);
    if (status) {
        // Reading a row by its id costs about what passing it in a full read does: beyond half the rows
        // the full read is as quick, and it runs on every worker. Out of a key's index, every row is cheap.
        const qint64 most = keyOnly ? std::numeric_limits<qint64>::max()
                                    : std::max<qint64>(HighestRowId(db, table) / 2, WorkerRead::ChunkRows);
        rows = WordIndex::Candidates(db, table, fragments, most, status);
        if (rows && qint64(rows->size() + values.size()) > most)
            rows.reset();
        if (rows && field >= 0 && !values.empty()) {
            sqlite3_stmt* statement = nullptr;
            const QByteArray sql = QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ?")
                                       .arg(table.TableSql(), table.ColumnSql(field))
                                       .toUtf8();
            if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
                status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            for (std::size_t n = 0; status && n < values.size(); ++n) {
                sqlite3_bind_int64(statement, 1, values[n]);
                int result;
                while ((result = sqlite3_step(statement)) == SQLITE_ROW)
                    rows->push_back(sqlite3_column_int64(statement, 0));
                sqlite3_reset(statement);
                if (result != SQLITE_DONE)
                    status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
            }
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_finalize(statement);
            std::sort(rows->begin(), rows->end());
            rows->erase(std::unique(rows->begin(), rows->end()), rows->end());
            if (qint64(rows->size()) > most)
                rows.reset();
        }
    }
    sqlite3_close(db);
    if (!status)
        rows.reset();
    return rows;
}

} // namespace

WorkerRead::WorkerRead(const Table& table) : table_(table) {}

Status WorkerRead::Run(const Take& take, const Progress& progress)
{
    cancelled_ = false;
    narrowed_ = false;
    if (YieldsHeld())
        return Status(StoreError::Locked,
                      QStringLiteral("A long read cannot wait while this window holds a write transaction."),
                      table_.FilePath());
    if (table_.FilePath().isEmpty())
        return Status(StoreError::FileNotFound,
                      QStringLiteral("The table %1 has no file name.").arg(table_.TableName()));
    Plan plan{table_, {}, {}, readBlobs_, nullptr, {}, {}};
    // The filter's values are taken here, on the calling thread: a bound name may read its state.
    for (const SqlParameter& parameter : filter_.parameters)
        plan.values << parameter.Value();
    const QString filter = filter_.sql.isEmpty() ? QString() : QStringLiteral(" AND (") + filter_.sql + ')';

    std::optional<std::vector<qint64>> rows;
    if (!fragments_.isEmpty() && !table_.WordIndexFields().empty()) {
        Shared shared;
        Status status;
        cancelled_ = RunOnWorkers(
            1,
            [&](int) {
                rows = NarrowedRows(table_, fragments_, alsoField_, alsoValues_, key_ >= 0, status);
            },
            shared, {});
        if (!status || cancelled_)
            return status;
        narrowed_ = rows.has_value();
    }
    if (rows && key_ >= 0) {
        plan.rows = &*rows;
        QStringList columns;
        for (const int field : table_.Key(key_).components) {
            plan.keyFields.push_back(field);
            columns << table_.ColumnSql(field);
        }
        plan.sql = QStringLiteral("SELECT %1, rowid FROM %2 INDEXED BY %3")
                       .arg(columns.join(QStringLiteral(", ")), table_.TableSql(), table_.KeyIndexSql(key_));
        plan.rowSql = QStringLiteral("SELECT %1, rowid FROM %2 WHERE rowid = ?")
                          .arg(columns.join(QStringLiteral(", ")), table_.TableSql());
        Shared shared;
        cancelled_ = RunOnWorkers(
            1, [&](int) { ReadKeyOnWorker(plan, take, shared); }, shared, progress);
        if (progress && !cancelled_)
            progress(shared.Current());
        std::lock_guard lock(shared.mutex);
        return shared.status;
    }
    if (rows) {
        plan.rows = &*rows;
        plan.sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                       .arg(table_.SelectListSql(readBlobs_), table_.TableSql()) +
                   filter;
    } else {
        plan.sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid > ? AND rowid <= ?")
                       .arg(table_.SelectListSql(readBlobs_), table_.TableSql()) +
                   filter + QStringLiteral(" ORDER BY rowid LIMIT ?");
    }
    Shared shared;
    const ThreadNumber waiting = CurrentThread();
    cancelled_ = RunOnWorkers(
        workers_, [&](int part) { ReadOnWorker(plan, take, shared, waiting, part, workers_); }, shared,
        progress);
    if (progress && !cancelled_)
        progress(shared.Current());
    std::lock_guard lock(shared.mutex);
    return shared.status;
}

} // namespace jornix
