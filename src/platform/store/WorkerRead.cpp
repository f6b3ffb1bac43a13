#include "platform/store/WorkerRead.h"

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
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
    std::atomic<int> done{0};     // workers that have ended
    std::atomic<bool> stop{false}; // a worker's take has ended the read
    std::atomic<int> wakes{0};
    std::mutex mutex; // guards progress, passed, taken and status
    ReadProgress progress;
    std::vector<qint64> passed; // per worker: the row ids it has passed in its part
    std::vector<qint64> taken;  // per worker: the rows it has handed on
    Status status;

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

// One worker: its own read-only connection, the rows of its part of the row ids (part of parts, by the
// highest row id when it starts; the last part has no upper end) in chunks.
void ReadOnWorker(const Table& table, const QString& sql, const QVariantList& values, bool readBlobs,
                  const WorkerRead::Take& take, Shared& shared, ThreadNumber waiting, int part, int parts)
{
    sqlite3* db = nullptr;
    Status status = RecordFile::OpenConnection(
        table.FilePath(), table.FileAttributes() & FileAttribute::Encrypt, SQLITE_OPEN_READONLY, db);
    sqlite3_stmt* statement = nullptr;
    qint64 highest = 0;
    if (status) {
        const QByteArray end =
            QStringLiteral("SELECT ifnull(max(rowid), 0) FROM %1").arg(table.TableSql()).toUtf8();
        if (sqlite3_prepare_v2(db, end.constData(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            highest = sqlite3_column_int64(statement, 0);
        {
            std::lock_guard lock(shared.mutex);
            shared.progress.end = std::max(shared.progress.end, highest);
        }
        sqlite3_finalize(statement);
        statement = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
            status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
    }
    QElapsedTimer sinceWake;
    sinceWake.start();
    const qint64 from = highest * part / parts;
    const qint64 to = part + 1 == parts ? std::numeric_limits<qint64>::max() : highest * (part + 1) / parts;
    qint64 after = from, taken = 0;
    bool more = status.Ok();
    while (more && !shared.cancel && !shared.stop) {
        BindValue(statement, 1, after);
        BindValue(statement, 2, to);
        for (int index = 0; index < values.size(); ++index)
            BindValue(statement, index + 3, values[index]);
        BindValue(statement, int(values.size()) + 3, WorkerRead::ChunkRows);
        int rows = 0, result = SQLITE_DONE;
        Record record(table);
        while (!shared.cancel && !shared.stop && (result = sqlite3_step(statement)) == SQLITE_ROW) {
            ++rows;
            after = sqlite3_column_int64(statement, table.FieldCount());
            table.ReadRow(statement, record, readBlobs);
            ++taken;
            if (!take(record, after)) {
                shared.stop = true;
                more = false;
                break;
            }
        }
        if (!shared.cancel && !shared.stop && more && result != SQLITE_DONE) {
            status = Failed(db, QStringLiteral("The records could not be read"), table.FilePath());
            more = false;
        }
        sqlite3_reset(statement); // lets go of the file's lock between chunks
        more = more && rows == WorkerRead::ChunkRows;
        {
            std::lock_guard lock(shared.mutex);
            shared.passed[std::size_t(part)] = (more ? std::min(after, to) : std::min(to, highest)) - from;
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
    {
        std::lock_guard lock(shared.mutex);
        if (!status && shared.status)
            shared.status = status;
        shared.taken[std::size_t(part)] = taken;
        shared.Sum();
    }
    if (++shared.done == parts) {
        shared.finished = true;
        WakeFromWorker(waiting);
    }
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

} // namespace

WorkerRead::WorkerRead(const Table& table) : table_(table) {}

Status WorkerRead::Run(const Take& take, const Progress& progress)
{
    cancelled_ = false;
    if (YieldsHeld())
        return Status(StoreError::Locked,
                      QStringLiteral("A long read cannot wait while this window holds a write transaction."),
                      table_.FilePath());
    if (table_.FilePath().isEmpty())
        return Status(StoreError::FileNotFound,
                      QStringLiteral("The table %1 has no file name.").arg(table_.TableName()));
    // The filter's values are taken here, on the calling thread: a bound name may read its state.
    QVariantList values;
    for (const SqlParameter& parameter : filter_.parameters)
        values << parameter.Value();
    QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid > ? AND rowid <= ?")
            .arg(table_.SelectListSql(readBlobs_), table_.TableSql());
    if (!filter_.sql.isEmpty())
        sql += QStringLiteral(" AND (") + filter_.sql + QLatin1Char(')');
    sql += QStringLiteral(" ORDER BY rowid LIMIT ?");

    Shared shared;
    shared.passed.assign(std::size_t(workers_), 0);
    shared.taken.assign(std::size_t(workers_), 0);
    const ThreadNumber waiting = CurrentThread();
    WorkerGuard guard{shared, {}};
    for (int part = 0; part < workers_; ++part)
        guard.workers.emplace_back(ReadOnWorker, std::cref(table_), sql, values, readBlobs_, std::cref(take),
                                   std::ref(shared), waiting, part, workers_);
    const auto current = [&shared] {
        std::lock_guard lock(shared.mutex);
        return shared.progress;
    };
    if (waiting > 0) {
        int seen = 0;
        while (!shared.finished) {
            WaitUntil([&] { return shared.finished || shared.wakes != seen; }, WaitKind::Work);
            if (!shared.finished && shared.wakes == seen) {
                shared.cancel = true; // the thread is being ended: it may not wait any more
                break;
            }
            seen = shared.wakes;
            if (progress && !shared.cancel && !shared.finished && !progress(current()))
                shared.cancel = true;
        }
    }
    guard.Join();
    cancelled_ = shared.cancel;
    if (progress && !cancelled_)
        progress(current());
    std::lock_guard lock(shared.mutex);
    return shared.status;
}

} // namespace jornix
