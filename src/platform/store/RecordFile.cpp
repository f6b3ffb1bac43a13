#include "platform/store/RecordFile.h"

#include "platform/store/Catalogue.h"
#include "platform/store/Sqlite.h"
#include "platform/store/StepBudget.h"
#include "platform/store/TextValues.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sodium.h>

namespace jornix {
namespace {

// A statement that meets a lock held by another user (a read during another copy's commit, a commit
// while another copy reads) waits this long, blocking: such locks last milliseconds.
constexpr int BusyTimeoutMs = 250;
constexpr int BusyPauseMs = 5;

// The most that the page cache of a file's shared connection may hold (KiB).
constexpr int CacheKiB = 128 * 1024;

// A write that meets another user's write lock at its start waits as long as a person would accept, giving
// way meanwhile (below), before it is reported as locked.
int& LockWaitMs()
{
    static int wait = RecordFile::DefaultLockWaitMs;
    return wait;
}

// Set while a transaction's start is tried: its waits are the caller's, not SQLite's. Per OS thread, since
// the start never gives way while SQLite runs it.
thread_local bool startingTransaction = false;

int BusyHandler(void*, int tries)
{
    if (startingTransaction || tries * BusyPauseMs >= BusyTimeoutMs)
        return 0;
    sqlite3_sleep(BusyPauseMs);
    return 1;
}

// A pause between tries to start a write: the other program threads and windows go on meanwhile; off a
// program thread (tools, tests) or where giving way is held, the OS thread sleeps.
void PauseForLock(int milliseconds)
{
    if (CurrentThread() != 0 && !YieldsHeld())
        WaitMilliseconds(milliseconds);
    else
        QThread::msleep(ulong(milliseconds));
}

// The cipher settings of every enciphered file, set explicitly so that a later SQLCipher with other defaults
// still reads the files written now: AES-256-CBC, 4,096-byte pages (a full scan costs half what the 1 KB
// default costs), PBKDF2 with 64,000 iterations (unused with the raw key, which needs no stretching), two
// iterations for the HMAC key, and an HMAC (SHA-1) over every page.
constexpr const char* CipherSettings[] = {
    "PRAGMA cipher = 'aes-256-cbc'", "PRAGMA cipher_page_size = 4096", "PRAGMA kdf_iter = 64000",
    "PRAGMA fast_kdf_iter = 2",      "PRAGMA cipher_use_hmac = ON",
};

QHash<QString, RecordFile*>& OpenFiles()
{
    // Never destroyed: thread contexts that release their tables may outlive static destruction order.
    static auto* files = new QHash<QString, RecordFile*>;
    return *files;
}

QByteArray& OwnerKey()
{
    static QByteArray key;
    return key;
}

// The last change number given to any file of the process.
quint64& LastChangeNumber()
{
    static quint64 last = 0;
    return last;
}

QString ToQString(const unsigned char* text, int bytes)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

// upper() of SQLite knows ASCII only; expressions need every letter.
void UpperFunction(sqlite3_context* context, int, sqlite3_value** values)
{
    const QByteArray upper =
        ToQString(sqlite3_value_text(values[0]), sqlite3_value_bytes(values[0])).toUpper().toUtf8();
    sqlite3_result_text(context, upper.constData(), int(upper.size()), SQLITE_TRANSIENT);
}

// A text folded as the keys fold it (FoldedKeyText), for sorts without regard to case. Most texts are ASCII:
// those are folded byte by byte, without a round trip through QString.
void FoldFunction(sqlite3_context* context, int, sqlite3_value** values)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    int bytes = sqlite3_value_bytes(values[0]);
    bool ascii = true;
    for (int at = 0; at < bytes && ascii; ++at)
        ascii = static_cast<unsigned char>(text[at]) < 0x80;
    if (!ascii) {
        const QByteArray folded = FoldedKeyText(ToQString(sqlite3_value_text(values[0]), bytes)).toUtf8();
        sqlite3_result_text(context, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
        return;
    }
    while (bytes > 0 && text[bytes - 1] == ' ')
        --bytes;
    char* folded = static_cast<char*>(sqlite3_malloc(bytes + 1));
    if (!folded) {
        sqlite3_result_error_nomem(context);
        return;
    }
    for (int at = 0; at < bytes; ++at)
        folded[at] = text[at] >= 'A' && text[at] <= 'Z' ? char(text[at] + ('a' - 'A')) : text[at];
    sqlite3_result_text(context, folded, bytes, sqlite3_free);
}

// Whether the first text contains the second, without regard to case.
void ContainsFunction(sqlite3_context* context, int, sqlite3_value** values)
{
    const QString text = ToQString(sqlite3_value_text(values[0]), sqlite3_value_bytes(values[0]));
    const QString part = ToQString(sqlite3_value_text(values[1]), sqlite3_value_bytes(values[1]));
    sqlite3_result_int(context, text.toCaseFolded().contains(part.toCaseFolded()) ? 1 : 0);
}

} // namespace

void SetOwnerPassword(const QString& password, const QByteArray& salt)
{
    if (salt.size() < qsizetype(crypto_generichash_KEYBYTES_MIN) ||
        salt.size() > qsizetype(crypto_generichash_KEYBYTES_MAX))
        qFatal("The salt of the record files' key must have 16 to 64 bytes");
    if (sodium_init() < 0)
        qFatal("libsodium could not be initialised");
    const QByteArray text = password.toUtf8();
    unsigned char raw[32];
    crypto_generichash(raw, sizeof raw, reinterpret_cast<const unsigned char*>(text.constData()),
                       quint64(text.size()), reinterpret_cast<const unsigned char*>(salt.constData()),
                       size_t(salt.size()));
    OwnerKey() = "x'" + QByteArray(reinterpret_cast<const char*>(raw), sizeof raw).toHex() + "'";
    sodium_memzero(raw, sizeof raw);
}

Statement::~Statement()
{
    Reset();
}

void Statement::Reset()
{
    if (statement_) {
        if (owned_) {
            sqlite3_finalize(statement_);
        } else {
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
        }
        statement_ = nullptr;
    }
}

void BindValue(sqlite3_stmt* statement, int index, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::QString: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::UnknownType:
        sqlite3_bind_null(statement, index);
        break;
    default:
        sqlite3_bind_int64(statement, index, value.toLongLong());
    }
}

void Statement::Bind(int index, const QVariant& value)
{
    BindValue(statement_, index, value);
}

int Statement::Step()
{
    return sqlite3_step(statement_);
}

qint64 Statement::Int64(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

QVariant Statement::Column(int column) const
{
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QVariant(
            ToQString(sqlite3_column_text(statement_, column), sqlite3_column_bytes(statement_, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                                   sqlite3_column_bytes(statement_, column)));
    default:
        return {};
    }
}

RecordFile* RecordFile::Acquire(const Table& table, Status& status)
{
    const QString path = QFileInfo(table.FilePath()).absoluteFilePath();
    if (table.FilePath().isEmpty()) {
        status = Status(StoreError::FileNotFound,
                        QStringLiteral("The table %1 has no file name.").arg(table.TableName()));
        return nullptr;
    }
    auto& files = OpenFiles();
    RecordFile* file = files.value(path);
    if (!file) {
        file = new RecordFile;
        file->path_ = path;
        status = file->OpenDatabase(table);
        if (!status) {
            delete file;
            return nullptr;
        }
        files.insert(path, file);
    }
    ++file->holds_;
    status = {};
    return file;
}

void RecordFile::Release()
{
    if (--holds_ > 0)
        return;
    OpenFiles().remove(path_);
    delete this;
}

void RecordFile::FinalizeStatements()
{
    for (const Cached& cached : std::as_const(statements_))
        sqlite3_finalize(cached.statement);
    statements_.clear();
}

void RecordFile::MakeRoomInCache()
{
    while (statements_.size() >= MaxCachedStatements) {
        // A statement still stepping for a caller further up stays.
        auto oldest = statements_.end();
        for (auto cached = statements_.begin(); cached != statements_.end(); ++cached) {
            if (!sqlite3_stmt_busy(cached->statement) &&
                (oldest == statements_.end() || cached->lastUse < oldest->lastUse))
                oldest = cached;
        }
        if (oldest == statements_.end())
            return;
        sqlite3_finalize(oldest->statement);
        statements_.erase(oldest);
    }
}

RecordFile::~RecordFile()
{
    FinalizeStatements();
    if (db_) {
        Rollback();
        sqlite3_close(db_);
    }
}

Status RecordFile::OpenConnection(const QString& path, bool encrypted, int openFlags, sqlite3*& db)
{
    const auto failed = [&](const QString& what) {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        return Status(StoreError::FileOpenError,
                      detail.isEmpty() ? what + QLatin1Char('.') : what + QStringLiteral(": ") + detail + '.',
                      path);
    };
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, openFlags, nullptr) != SQLITE_OK)
        return failed(QStringLiteral("The file could not be opened"));
    if (encrypted) {
        if (OwnerKey().isEmpty())
            return Status(StoreError::FileOpenError, QStringLiteral("No owner password is set."), path);
        sqlite3_key(db, OwnerKey().constData(), int(OwnerKey().size()));
        for (const char* setting : CipherSettings) {
            if (sqlite3_exec(db, setting, nullptr, nullptr, nullptr) != SQLITE_OK)
                return failed(QStringLiteral("The cipher settings were refused"));
        }
    }
    sqlite3_busy_handler(db, BusyHandler, nullptr);
    StepBudget::Install(db);
    // The first read shows whether the key (or its absence) fits the file.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failed(QStringLiteral("The file could not be read"));
    sqlite3_create_function(db, "jornix_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, UpperFunction,
                            nullptr, nullptr);
    sqlite3_create_function(db, "jornix_fold", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, FoldFunction,
                            nullptr, nullptr);
    sqlite3_create_function(db, "jornix_contains", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            ContainsFunction, nullptr, nullptr);
    return {};
}

Status RecordFile::OpenDatabase(const Table& table)
{
    const int attributes = table.FileAttributes();
    const bool exists = QFileInfo::exists(path_);
    readOnly_ = attributes & FileAttribute::ReadOnly;
    if (!exists && (readOnly_ || !(attributes & FileAttribute::Create)))
        return Status(StoreError::FileNotFound, QStringLiteral("The file does not exist."), path_);

    const int flags =
        readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    if (Status status = OpenConnection(path_, attributes & FileAttribute::Encrypt, flags, db_); !status)
        return exists ? status : Status(StoreError::FileCreateError, status.Message(), path_);
    if (!readOnly_) {
        if (Status status = Execute(QStringLiteral("PRAGMA journal_mode=DELETE")); !status)
            return Status(StoreError::FileOpenError, status.Message(), path_);
    }
    // The shared connection keeps what it has read deciphered: SQLite's default of about 2 MB holds a
    // small part of a file of 100,000 records, so that reads in one order of rows placed in another read
    // and decipher the same pages again and again. Pages are allocated as they are read, so a small file
    // costs only its own size.
    if (Status status = Execute(QStringLiteral("PRAGMA cache_size = -%1").arg(CacheKiB)); !status)
        return Status(StoreError::FileOpenError, status.Message(), path_);

    if (!readOnly_ && (attributes & FileAttribute::Create)) {
        // Creates what is missing: a new file gets all its tables, an older one its missing tables and
        // indexes. A file that has them all is only read, so that opening it never waits for a write lock.
        std::vector<Table::SchemaObject> missing;
        for (const Table* other : table.OwnerCatalogue().TablesOfFile(table.FilePath())) {
            for (Table::SchemaObject& object : other->Schema()) {
                bool present = false;
                if (Status status = HasSchemaObject(object.name, present); !status)
                    return Status(StoreError::FileOpenError, status.Message(), path_);
                if (!present)
                    missing.push_back(std::move(object));
            }
        }
        if (missing.empty())
            return {};
        Status status = Begin();
        for (const Table::SchemaObject& object : missing) {
            if (!status)
                break;
            status = Execute(object.sql);
        }
        status = status ? Commit() : status;
        if (!status) {
            Rollback();
            FinalizeStatements();
            sqlite3_close(db_);
            db_ = nullptr;
            if (!exists)
                QFile::remove(path_);
            return Status(StoreError::FileCreateError, status.Message(), path_);
        }
    }
    return {};
}

Status RecordFile::HasSchemaObject(const QString& name, bool& present)
{
    Status status;
    Statement statement = Prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"), status);
    if (!statement)
        return status;
    statement.Bind(1, name);
    const int result = statement.Step();
    if (result != SQLITE_ROW && result != SQLITE_DONE)
        return Error(StoreError::Failed, QStringLiteral("The tables of the file could not be read"));
    present = result == SQLITE_ROW;
    return {};
}

Statement RecordFile::Prepare(const QString& sql, Status& status)
{
    auto cached = statements_.find(sql);
    sqlite3_stmt* statement = cached == statements_.end() ? nullptr : cached->statement;
    if (statement)
        cached->lastUse = ++uses_;
    // The cached statement may still be stepping for a caller further up (a read inside a read): that one
    // gets a statement of its own rather than having its read reset under it.
    const bool cachedIsBusy = statement && sqlite3_stmt_busy(statement);
    if (!statement || cachedIsBusy) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
            status = Error(StoreError::Failed, QStringLiteral("A statement could not be prepared"));
            return {};
        }
        if (cachedIsBusy) {
            status = {};
            return Statement(statement, true);
        }
        MakeRoomInCache();
        statements_.insert(sql, Cached{statement, ++uses_});
    }
    status = {};
    return Statement(statement);
}

Statement RecordFile::PrepareOwned(const QString& sql, Status& status)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        status = Error(StoreError::Failed, QStringLiteral("A statement could not be prepared"));
        return {};
    }
    status = {};
    return Statement(statement, true);
}

Status RecordFile::Execute(const QString& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return {};
    const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return Status(StoreError::Failed, text, path_);
}

Status RecordFile::Error(StoreError code, const QString& what) const
{
    const int result = db_ ? sqlite3_errcode(db_) : SQLITE_ERROR;
    if (result == SQLITE_BUSY || result == SQLITE_LOCKED)
        code = StoreError::Locked;
    else if (result == SQLITE_READONLY)
        code = StoreError::ReadOnly;
    const QString detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    return Status(code,
                  detail.isEmpty() ? what + QLatin1Char('.')
                                   : what + QStringLiteral(": ") + detail + QLatin1Char('.'),
                  path_);
}

void RecordFile::NoteChange()
{
    changes_ = ++LastChangeNumber();
}

quint64 RecordFile::ChangeCount()
{
    if (changes_ == 0)
        NoteChange();
    Status status;
    Statement statement = Prepare(QStringLiteral("PRAGMA data_version"), status);
    if (statement && statement.Step() == SQLITE_ROW) {
        const qint64 version = statement.Int64(0);
        if (version != dataVersion_) {
            if (dataVersion_ >= 0)
                NoteChange();
            dataVersion_ = version;
        }
    } else {
        NoteChange(); // unknown: read again rather than show what may be old
    }
    return changes_;
}

Status RecordFile::Begin()
{
    if (InTransaction())
        return Status(TransactionThread() == CurrentThread() ? StoreError::TransactionError
                                                             : StoreError::Locked,
                      QStringLiteral("A transaction is already open on this file."), path_);
    if (readOnly_)
        return Status(StoreError::ReadOnly, QStringLiteral("The file is read-only."), path_);
    const QDeadlineTimer deadline(LockWaitMs());
    int pause = 2;
    for (;;) {
        startingTransaction = true;
        const int result = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        startingTransaction = false;
        if (result == SQLITE_OK)
            break;
        Status status =
            Error(StoreError::TransactionError, QStringLiteral("The transaction could not begin"));
        if (status.Code() != StoreError::Locked)
            return status;
        if (deadline.hasExpired())
            return Status(StoreError::Locked, QStringLiteral("The file is locked by another user."), path_);
        PauseForLock(int(std::min<qint64>(pause, std::max<qint64>(1, deadline.remainingTime()))));
        pause = std::min(pause * 2, 40);
        // Another program thread of this process may have begun a write meanwhile on the shared connection.
        if (InTransaction())
            return Status(StoreError::Locked, QStringLiteral("A transaction is already open on this file."),
                          path_);
    }
    transactionThread_ = CurrentThread();
    HoldYields();
    return {};
}

void RecordFile::SetLockWait(int milliseconds)
{
    LockWaitMs() = milliseconds < 0 ? DefaultLockWaitMs : milliseconds;
}

int RecordFile::LockWait()
{
    return LockWaitMs();
}

Status RecordFile::Commit()
{
    if (!InTransaction())
        return Status(StoreError::TransactionError, QStringLiteral("No transaction is open."), path_);
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Status status =
            Error(StoreError::TransactionError, QStringLiteral("The transaction could not be committed"));
        Rollback();
        return status;
    }
    ReleaseYields(transactionThread_);
    transactionThread_ = -1;
    NoteChange();
    return {};
}

void RecordFile::Rollback()
{
    if (!InTransaction())
        return;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    ReleaseYields(transactionThread_);
    transactionThread_ = -1;
}

WriteScope::WriteScope(RecordFile& file) : file_(file)
{
    if (file.ReadOnly())
        status_ = Status(StoreError::ReadOnly, QStringLiteral("The file is read-only."), file.Path());
    else if (!file.InTransaction())
        own_ = (status_ = file.Begin()).Ok();
    else if (file.TransactionThread() != CurrentThread())
        status_ = Status(StoreError::Locked,
                         QStringLiteral("The file is locked by another window's transaction."), file.Path());
}

WriteScope::~WriteScope()
{
    if (own_ && !done_)
        file_.Rollback();
}

Status WriteScope::Commit()
{
    done_ = true;
    return own_ ? file_.Commit() : Status();
}

} // namespace jornix
