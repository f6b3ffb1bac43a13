#include "platform/store/Table.h"

#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/ProcessOwner.h"
#include "platform/store/ProgramFault.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/TextValues.h"
#include "platform/store/WordIndex.h"

#include <unordered_map>

namespace jornix {

// What one program thread holds of one table.
struct TableThreadState
{
    Record buffer;
    Record saved;
    bool hasSaved = false;
    qint64 currentRow = 0;
    int openCount = 0;
};

// Every table's state on one thread, kept in the thread's context. A thread that ends with tables still
// open lets go of them, so their files close when no other thread holds them.
struct StoreThreadState
{
    std::unordered_map<quint64, TableThreadState> tables;
    ~StoreThreadState();
};

namespace {

std::unordered_map<quint64, Table*>& LiveTables()
{
    static auto* tables = new std::unordered_map<quint64, Table*>; // outlives every thread context
    return *tables;
}

quint64 NextTableId()
{
    static quint64 next = 0;
    return ++next;
}

QString Quote(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString LookupKey(const QString& name)
{
    return name.toCaseFolded();
}

QString SqlType(FieldType type)
{
    switch (type) {
    case FieldType::Real:
        return QStringLiteral("REAL NOT NULL DEFAULT 0");
    case FieldType::String:
    case FieldType::Memo:
        return QStringLiteral("TEXT NOT NULL DEFAULT ''");
    case FieldType::Blob:
        return QStringLiteral("BLOB NOT NULL DEFAULT x''");
    default:
        return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    }
}

bool IsBlank(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty();
    return value.toDouble() == 0.0;
}

} // namespace

// The condition "every component equals the record's value" of a key, with its values; blank tells whether
// the record is left out of an Opt key.
struct Table::KeyMatch
{
    QString sql;
    QVariantList values;
    bool blank = true;
};

Table::KeyMatch Table::MatchKey(int key, const Record& record) const
{
    KeyMatch match;
    QStringList terms;
    for (int component = 0; component < int(keys_[key].components.size()); ++component) {
        terms << KeyTermSql(key, component) + QStringLiteral(" = ?");
        match.values << KeyTermValue(key, component, record.Value(keys_[key].components[component]));
        match.blank = match.blank && IsBlank(match.values.back());
    }
    match.sql = terms.join(QStringLiteral(" AND "));
    return match;
}

StoreThreadState::~StoreThreadState()
{
    for (auto& [id, state] : tables) {
        auto table = LiveTables().find(id);
        if (state.openCount > 0 && table != LiveTables().end())
            table->second->ReleaseThreadHold();
    }
}

Table::Table(Catalogue& catalogue, QString prefix, QString fileName, QString tableName, int fileAttributes)
    : catalogue_(catalogue), id_(NextTableId()), prefix_(std::move(prefix)), fileName_(std::move(fileName)),
      tableName_(std::move(tableName)), attributes_(fileAttributes)
{
    LiveTables()[id_] = this;
}

Table::~Table()
{
    LiveTables().erase(id_);
    if (file_)
        file_->Release();
}

Table& Table::AddField(const QString& name, FieldType type, int width)
{
    const QString full = prefix_ + QLatin1Char(':') + name;
    if (FieldIndex(full) >= 0 || name.endsWith(QStringLiteral("_nocase"), Qt::CaseInsensitive))
        qFatal("Field %s declared twice or with a reserved name", qPrintable(full));
    fieldIndex_.insert(LookupKey(full), FieldCount());
    fieldIndex_.insert(LookupKey(name), FieldCount());
    fields_.push_back(FieldDef{full, name, type, width});
    folded_.push_back(false);
    return *this;
}

Table& Table::AddByte(const QString& name)
{
    return AddField(name, FieldType::Byte, 0);
}

Table& Table::AddShort(const QString& name)
{
    return AddField(name, FieldType::Short, 0);
}

Table& Table::AddLong(const QString& name)
{
    return AddField(name, FieldType::Long, 0);
}

Table& Table::AddReal(const QString& name)
{
    return AddField(name, FieldType::Real, 0);
}

Table& Table::AddString(const QString& name, int width)
{
    return AddField(name, FieldType::String, width);
}

Table& Table::AddMemo(const QString& name, int size)
{
    return AddField(name, FieldType::Memo, size);
}

Table& Table::AddBlob(const QString& name)
{
    return AddField(name, FieldType::Blob, 0);
}

Table& Table::AddKey(const QString& name, const QStringList& components, int flags,
                     const QString& description, bool autoNumber)
{
    KeyDef key{prefix_ + QLatin1Char(':') + name, description, {}, flags, autoNumber};
    for (const QString& component : components) {
        const int field = FieldIndex(component);
        if (field < 0 || fields_[field].type == FieldType::Blob)
            qFatal("Key %s names the unknown field %s", qPrintable(key.name), qPrintable(component));
        key.components.push_back(field);
        if (key.NoCase() && fields_[field].IsText())
            folded_[field] = true;
    }
    if (key.components.empty() ||
        (autoNumber && (key.components.size() != 1 || !fields_[key.components[0]].IsNumber())))
        qFatal("Key %s has no components or cannot be auto-numbered", qPrintable(key.name));
    keyIndex_.insert(LookupKey(key.name), KeyCount());
    keyIndex_.insert(LookupKey(name), KeyCount());
    keys_.push_back(std::move(key));
    return *this;
}

Table& Table::SetPrivateFields(const QString& flagField, const QString& ownerField)
{
    privateFlag_ = RequireField(flagField);
    privateOwner_ = RequireField(ownerField);
    if (privateFlag_ >= 0 && (!fields_[privateFlag_].IsNumber() || !fields_[privateOwner_].IsNumber()))
        ReportProgramFault(QStringLiteral("The private fields of %1 must be numbers.").arg(tableName_));
    return *this;
}

Table& Table::AddSchemaObject(const QString& name, const QString& sql)
{
    moreSchema_.push_back({name, sql});
    return *this;
}

Table& Table::AddWordIndex(const QStringList& fields)
{
    for (const QString& name : fields) {
        const int field = RequireField(name);
        if (field >= 0 &&
            (fields_[field].type == FieldType::String || fields_[field].type == FieldType::Memo))
            wordIndex_.push_back(field);
        else if (field >= 0)
            ReportProgramFault(
                QStringLiteral("The word index of %1 takes text fields only, not %2.").arg(tableName_, name));
    }
    return *this;
}

QString Table::QuotedName(const QString& name)
{
    return Quote(name);
}

QString Table::PrivateToSql()
{
    return QStringLiteral("\"_private_to\"");
}

int Table::FieldIndex(const QString& name) const
{
    return fieldIndex_.value(LookupKey(name), -1);
}

int Table::RequireField(const QString& name) const
{
    const int field = FieldIndex(name);
    if (field < 0)
        ReportProgramFault(QStringLiteral("The table %1 has no field %2.").arg(tableName_, name));
    return field;
}

int Table::KeyIndex(const QString& name) const
{
    return keyIndex_.value(LookupKey(name), -1);
}

int Table::AutoNumberKey() const
{
    for (int key = 0; key < KeyCount(); ++key) {
        if (keys_[key].autoNumber)
            return key;
    }
    return -1;
}

void Table::SetFilePath(const QString& path)
{
    if (!file_)
        path_ = path;
}

QString Table::TableSql() const
{
    return Quote(tableName_);
}

QString Table::ColumnSql(int field) const
{
    return Quote(fields_[field].column);
}

QString Table::FoldedColumnSql(int field) const
{
    return folded_[field] ? Quote(fields_[field].column + QStringLiteral("_nocase")) : QString();
}

QString Table::KeyTermSql(int key, int component) const
{
    const int field = keys_[key].components[component];
    const bool folded = keys_[key].NoCase() && fields_[field].IsText();
    return Quote(folded ? fields_[field].column + QStringLiteral("_nocase") : fields_[field].column);
}

QVariant Table::KeyTermValue(int key, int component, const QVariant& value) const
{
    const int field = keys_[key].components[component];
    if (keys_[key].NoCase() && fields_[field].IsText())
        return FoldedKeyText(value.toString());
    return StoredValue(fields_[field], value);
}

QString Table::SelectListSql(bool withBlobs) const
{
    QStringList columns;
    for (int field = 0; field < FieldCount(); ++field)
        columns << (withBlobs || fields_[field].type != FieldType::Blob ? ColumnSql(field)
                                                                        : QStringLiteral("NULL"));
    return columns.join(QStringLiteral(", ")) + QStringLiteral(", rowid");
}

QString Table::KeyIndexSql(int key) const
{
    const KeyDef& def = keys_[key];
    const QString index = tableName_ + QLatin1Char('_') + def.name.mid(prefix_.size() + 1);
    return Quote(!def.Unique() || def.Opt() ? index : index + QStringLiteral("_unique"));
}

QString Table::BlankKeySql(int key) const
{
    QStringList terms;
    for (int component = 0; component < int(keys_[key].components.size()); ++component) {
        const bool text = fields_[keys_[key].components[component]].IsText();
        terms << KeyTermSql(key, component) + (text ? QStringLiteral(" = ''") : QStringLiteral(" = 0"));
    }
    return QLatin1Char('(') + terms.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

std::vector<Table::SchemaObject> Table::Schema() const
{
    QStringList columns;
    for (int field = 0; field < FieldCount(); ++field) {
        columns << ColumnSql(field) + QLatin1Char(' ') + SqlType(fields_[field].type);
        if (folded_[field])
            columns << Quote(fields_[field].column + QStringLiteral("_nocase")) + QLatin1Char(' ') +
                           SqlType(FieldType::String);
    }
    if (HasPrivateFields())
        columns << PrivateToSql() + QStringLiteral(" INTEGER");
    const QString table = TableSql();
    std::vector<SchemaObject> schema{{tableName_, QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                                                      .arg(table, columns.join(QStringLiteral(", ")))}};
    if (HasPrivateFields()) {
        const QString index = tableName_ + QStringLiteral("_private");
        schema.push_back({index, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                     .arg(Quote(index), table, PrivateToSql())});
    }
    for (int key = 0; key < KeyCount(); ++key) {
        const KeyDef& def = keys_[key];
        QStringList terms;
        for (int component = 0; component < int(def.components.size()); ++component)
            terms << KeyTermSql(key, component);
        const QString index = tableName_ + QLatin1Char('_') + def.name.mid(prefix_.size() + 1);
        const QString on = QStringLiteral(" ON %1 (%2)").arg(table, terms.join(QStringLiteral(", ")));
        // Lists show every record in every order, so each key keeps a full index to read in its order; a
        // unique key that leaves out blank records enforces its uniqueness with a partial index beside it.
        if (!def.Unique() || def.Opt())
            schema.push_back({index, QStringLiteral("CREATE INDEX IF NOT EXISTS ") + Quote(index) + on});
        if (def.Unique()) {
            const QString unique = index + QStringLiteral("_unique");
            schema.push_back(
                {unique, QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS ") + Quote(unique) + on +
                             (def.Opt() ? QStringLiteral(" WHERE NOT ") + BlankKeySql(key) : QString())});
        }
        if (HasPrivateFields()) {
            const QString visible = index + QStringLiteral("_private");
            schema.push_back(
                {visible, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3, %4)")
                              .arg(Quote(visible), table, PrivateToSql(), terms.join(QStringLiteral(", ")))});
        }
    }
    if (!wordIndex_.empty())
        schema.push_back({WordIndex::SchemaName(*this), WordIndex::SchemaSql(*this, wordIndex_)});
    if (AutoNumberKey() >= 0) {
        schema.push_back({QStringLiteral("HighestNumbers"),
                          QStringLiteral("CREATE TABLE IF NOT EXISTS \"HighestNumbers\" (\"TableName\" TEXT "
                                         "PRIMARY KEY, \"Highest\" INTEGER NOT NULL)")});
        schema.push_back({QStringLiteral("PrimedRows"),
                          QStringLiteral("CREATE TABLE IF NOT EXISTS \"PrimedRows\" (\"TableName\" TEXT NOT "
                                         "NULL, \"RowId\" INTEGER NOT NULL, \"Owner\" TEXT NOT NULL, "
                                         "PRIMARY KEY (\"TableName\", \"RowId\"))")});
    }
    schema.insert(schema.end(), moreSchema_.begin(), moreSchema_.end());
    return schema;
}

void Table::ReadRow(void* handle, Record& record, bool withBlobs) const
{
    auto* statement = static_cast<sqlite3_stmt*>(handle);
    for (int field = 0; field < FieldCount(); ++field) {
        const FieldDef& def = fields_[field];
        switch (def.type) {
        case FieldType::Real:
            record.SetValue(field, sqlite3_column_double(statement, field));
            break;
        case FieldType::String:
        case FieldType::Memo:
            record.SetValue(
                field, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, field)),
                                         sqlite3_column_bytes(statement, field)));
            break;
        case FieldType::Blob:
            if (withBlobs)
                record.SetValue(field,
                                QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, field)),
                                           sqlite3_column_bytes(statement, field)));
            else
                record.SetValue(field, QByteArray());
            break;
        default:
            record.SetValue(field, qint64(sqlite3_column_int64(statement, field)));
        }
    }
}

TableThreadState& Table::State() const
{
    auto& tables = CurrentContext().Slot<StoreThreadState>().tables;
    auto state = tables.find(id_);
    if (state == tables.end())
        state = tables.emplace(id_, TableThreadState{Record(*this), Record(*this)}).first;
    return state->second;
}

Status Table::Open()
{
    TableThreadState& state = State();
    if (state.openCount++ > 0)
        return {};
    if (!file_) {
        Status status;
        file_ = RecordFile::Acquire(*this, status);
        if (!file_) {
            state.openCount = 0;
            return status;
        }
        ++threadHolds_;
        RemoveAbandonedPrimedRows();
        if (fileOpened_)
            fileOpened_(*this);
        return {};
    }
    ++threadHolds_;
    return {};
}

void Table::Close()
{
    TableThreadState& state = State();
    if (state.openCount == 0)
        return;
    if (--state.openCount == 0) {
        state.currentRow = 0;
        ReleaseThreadHold();
    }
}

void Table::ReleaseThreadHold()
{
    if (--threadHolds_ == 0 && file_) {
        file_->Release();
        file_ = nullptr;
    }
}

int Table::OpenCount() const
{
    return State().openCount;
}

bool Table::FileIsOpen() const
{
    return file_ != nullptr;
}

Record& Table::Buffer()
{
    return State().buffer;
}

void Table::ClearBuffer()
{
    State().buffer.Clear();
}

void Table::SaveBuffer()
{
    TableThreadState& state = State();
    state.saved = state.buffer;
    state.hasSaved = true;
}

bool Table::BufferUnchanged() const
{
    const TableThreadState& state = State();
    return !state.hasSaved || state.buffer == state.saved;
}

qint64 Table::CurrentRow() const
{
    return State().currentRow;
}

Status Table::CheckOpen() const
{
    if (!file_ || State().openCount == 0)
        return Status(StoreError::FileNotOpen, QStringLiteral("The table %1 is not open.").arg(tableName_),
                      path_);
    return {};
}

Status Table::CheckWritable() const
{
    if (Status status = CheckOpen(); !status)
        return status;
    if (file_->ReadOnly())
        return Status(StoreError::ReadOnly, QStringLiteral("The file is read-only."), file_->Path());
    return {};
}

Status Table::Fetch(int key)
{
    if (Status status = CheckOpen(); !status)
        return status;
    if (key < 0 || key >= KeyCount())
        return Status(StoreError::Failed, QStringLiteral("The table %1 has no such key.").arg(tableName_));
    const KeyDef& def = keys_[key];
    TableThreadState& state = State();
    const KeyMatch match = MatchKey(key, state.buffer);
    if (def.Opt() && match.blank)
        return Status(StoreError::NotFound, QStringLiteral("No record has these key values."), file_->Path());
    Status status;
    Statement statement = file_->Prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY rowid LIMIT 1")
                                             .arg(SelectListSql(), TableSql(), match.sql),
                                         status);
    if (!statement)
        return status;
    for (int index = 0; index < match.values.size(); ++index)
        statement.Bind(index + 1, match.values[index]);
    const int result = statement.Step();
    if (result == SQLITE_ROW) {
        ReadRow(statement.Handle(), state.buffer, true);
        state.currentRow = statement.Int64(FieldCount());
        return {};
    }
    if (result == SQLITE_DONE)
        return Status(StoreError::NotFound, QStringLiteral("No record has these key values."), file_->Path());
    return file_->Error(StoreError::Failed, QStringLiteral("The record could not be read"));
}

Status Table::FetchRow(qint64 rowId)
{
    TableThreadState& state = State();
    const Status status = ReadRowInto(rowId, state.buffer);
    if (status)
        state.currentRow = rowId;
    return status;
}

Status Table::ReadStored(qint64 rowId, Record& record)
{
    record = Record(*this);
    return ReadRowInto(rowId, record);
}

Status Table::ReadRowInto(qint64 rowId, Record& record)
{
    if (Status status = CheckOpen(); !status)
        return status;
    Status status;
    Statement statement = file_->Prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(SelectListSql(), TableSql()), status);
    if (!statement)
        return status;
    statement.Bind(1, rowId);
    const int result = statement.Step();
    if (result == SQLITE_ROW) {
        ReadRow(statement.Handle(), record, true);
        return {};
    }
    if (result == SQLITE_DONE)
        return Status(StoreError::NotFound, QStringLiteral("The record no longer exists."), file_->Path());
    return file_->Error(StoreError::Failed, QStringLiteral("The record could not be read"));
}

Status Table::CheckStillAsRead(qint64 row, const Record& read)
{
    Record stored;
    if (Status status = ReadStored(row, stored); !status)
        return status;
    if (stored != read)
        return Status(
            StoreError::Changed,
            QStringLiteral("The record was changed by another window or program since it was read."),
            file_->Path());
    return {};
}

Status Table::RecordCount(qint64& count)
{
    count = 0;
    if (Status status = CheckOpen(); !status)
        return status;
    Status status;
    Statement statement = file_->Prepare(QStringLiteral("SELECT count(*) FROM %1").arg(TableSql()), status);
    if (!statement)
        return status;
    if (statement.Step() != SQLITE_ROW)
        return file_->Error(StoreError::Failed, QStringLiteral("The records could not be counted"));
    count = statement.Int64(0);
    return {};
}

quint64 Table::ChangeCount() const
{
    return file_ ? file_->ChangeCount() : 0;
}

Status Table::CheckUniqueKeys(const Record& record, qint64 ownRow)
{
    for (int key = 0; key < KeyCount(); ++key) {
        const KeyDef& def = keys_[key];
        if (!def.Unique())
            continue;
        const KeyMatch match = MatchKey(key, record);
        if (def.Opt() && match.blank)
            continue;
        Status status;
        Statement statement = file_->Prepare(
            QStringLiteral("SELECT 1 FROM %1 WHERE %2 AND rowid <> ? LIMIT 1").arg(TableSql(), match.sql),
            status);
        if (!statement)
            return status;
        for (int index = 0; index < match.values.size(); ++index)
            statement.Bind(index + 1, match.values[index]);
        statement.Bind(int(match.values.size()) + 1, ownRow);
        const int result = statement.Step();
        if (result == SQLITE_ROW)
            return Status(
                StoreError::DuplicateKey,
                QStringLiteral("The record duplicates an entry of the key %1.").arg(def.description),
                file_->Path(), def.description);
        if (result != SQLITE_DONE)
            return file_->Error(StoreError::Failed, QStringLiteral("The keys could not be checked"));
    }
    return {};
}

Status Table::WriteRecord(bool insert, const Record* read, bool primed)
{
    if (Status status = CheckWritable(); !status)
        return status;
    TableThreadState& state = State();
    if (!insert && state.currentRow == 0)
        return Status(StoreError::NoCurrentRecord, QStringLiteral("No record was read to be changed."),
                      file_->Path());
    WriteScope scope(*file_);
    if (!scope.Started())
        return scope.Started();
    // Compared inside the write's transaction, so that no other writer can come in between.
    if (read) {
        if (Status status = CheckStillAsRead(state.currentRow, *read); !status)
            return status;
    }
    if (Status status = CheckUniqueKeys(state.buffer, insert ? 0 : state.currentRow); !status)
        return status;

    QStringList columns;
    QVariantList values;
    for (int field = 0; field < FieldCount(); ++field) {
        columns << ColumnSql(field);
        values << state.buffer.Value(field);
        if (folded_[field]) {
            columns << Quote(fields_[field].column + QStringLiteral("_nocase"));
            values << FoldedKeyText(state.buffer.Text(field));
        }
    }
    if (HasPrivateFields()) {
        columns << PrivateToSql();
        values << (state.buffer.Long(privateFlag_) != 0 ? state.buffer.Value(privateOwner_) : QVariant());
    }
    QString sql;
    if (insert) {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(TableSql(), columns.join(QStringLiteral(", ")),
                       QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    } else {
        sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                  .arg(TableSql(), columns.join(QStringLiteral(" = ?, ")));
        values << state.currentRow;
    }
    Status status;
    Statement statement = file_->Prepare(sql, status);
    if (!statement)
        return status;
    for (int index = 0; index < values.size(); ++index)
        statement.Bind(index + 1, values[index]);
    if (statement.Step() != SQLITE_DONE) {
        if (sqlite3_errcode(file_->Handle()) == SQLITE_CONSTRAINT)
            return file_->Error(StoreError::DuplicateKey, QStringLiteral("The record duplicates a key"));
        return file_->Error(StoreError::Failed, QStringLiteral("The record could not be written"));
    }
    if (!insert && sqlite3_changes(file_->Handle()) == 0)
        return Status(StoreError::NotFound, QStringLiteral("The record no longer exists."), file_->Path());
    const qint64 row = insert ? sqlite3_last_insert_rowid(file_->Handle()) : state.currentRow;
    statement.Reset();
    if (derivedWrite_) {
        if (Status derived = derivedWrite_(*this, row, &state.buffer); !derived)
            return derived;
    }
    // A number written by hand (a first-run record, a migrated one) is given out as if it had been taken,
    // so that deleting the record never frees it.
    if (const int key = AutoNumberKey(); key >= 0) {
        if (Status kept = KeepHighestNumber(state.buffer.Long(keys_[key].components.front())); !kept)
            return kept;
        // A primed row is marked as this process's; a record written into it is no longer primed.
        if (Status marked = primed ? MarkPrimed(row) : UnmarkPrimed(row); !marked)
            return marked;
    }
    if (Status committed = scope.Commit(); !committed)
        return committed;
    state.currentRow = row;
    return {};
}

Status Table::MarkPrimed(qint64 row)
{
    Status status;
    Statement statement =
        file_->Prepare(QStringLiteral("INSERT OR REPLACE INTO \"PrimedRows\" (\"TableName\", \"RowId\", "
                                      "\"Owner\") VALUES (?, ?, ?)"),
                       status);
    if (!statement)
        return status;
    statement.Bind(1, tableName_);
    statement.Bind(2, row);
    statement.Bind(3, ProcessOwner::ThisProcess());
    if (statement.Step() != SQLITE_DONE)
        return file_->Error(StoreError::Failed, QStringLiteral("The primed row could not be marked"));
    return {};
}

Status Table::UnmarkPrimed(qint64 row)
{
    Status status;
    Statement statement = file_->Prepare(
        QStringLiteral("DELETE FROM \"PrimedRows\" WHERE \"TableName\" = ? AND \"RowId\" = ?"), status);
    if (!statement)
        return status;
    statement.Bind(1, tableName_);
    statement.Bind(2, row);
    if (statement.Step() != SQLITE_DONE)
        return file_->Error(StoreError::Failed, QStringLiteral("The primed row could not be unmarked"));
    return {};
}

Status Table::PrimedRows(std::vector<std::pair<qint64, QString>>& rows)
{
    rows.clear();
    if (Status status = CheckOpen(); !status)
        return status;
    if (AutoNumberKey() < 0)
        return {};
    Status status;
    Statement statement = file_->Prepare(
        QStringLiteral("SELECT \"RowId\", \"Owner\" FROM \"PrimedRows\" WHERE \"TableName\" = ? ORDER BY 1"),
        status);
    if (!statement)
        return status;
    statement.Bind(1, tableName_);
    int result = SQLITE_ROW;
    while ((result = statement.Step()) == SQLITE_ROW)
        rows.emplace_back(statement.Int64(0), statement.Column(1).toString());
    if (result != SQLITE_DONE)
        return file_->Error(StoreError::Failed, QStringLiteral("The primed rows could not be read"));
    return {};
}

void Table::RemoveAbandonedPrimedRows()
{
    if (AutoNumberKey() < 0 || file_->ReadOnly())
        return;
    std::vector<std::pair<qint64, QString>> rows;
    // A file that keeps no marks (made without its numbering tables) has nothing to remove.
    if (!PrimedRows(rows))
        return;
    for (const auto& [row, owner] : rows) {
        // The rows of a copy of the program that is still running stay: their forms are open.
        if (ProcessOwner::MayBeRunning(owner))
            continue;
        TableThreadState& state = State();
        const qint64 current = state.currentRow;
        state.currentRow = row;
        // A failure leaves the row to the next start; a row gone already leaves only its mark.
        if (DeleteRow(nullptr).Code() == StoreError::NotFound) {
            WriteScope scope(*file_);
            if (scope.Started() && UnmarkPrimed(row))
                scope.Commit();
        }
        state.currentRow = current == row ? 0 : current;
    }
}

Status Table::Insert()
{
    return WriteRecord(true);
}

Status Table::InsertPrimed()
{
    return WriteRecord(true, nullptr, true);
}

Status Table::Update()
{
    return WriteRecord(false);
}

Status Table::Update(const Record& read)
{
    return WriteRecord(false, &read);
}

Status Table::Delete()
{
    return DeleteRow(nullptr);
}

Status Table::Delete(const Record& read)
{
    return DeleteRow(&read);
}

Status Table::DeleteRow(const Record* read)
{
    if (Status status = CheckWritable(); !status)
        return status;
    TableThreadState& state = State();
    if (state.currentRow == 0)
        return Status(StoreError::NoCurrentRecord, QStringLiteral("No record was read to be deleted."),
                      file_->Path());
    WriteScope scope(*file_);
    if (!scope.Started())
        return scope.Started();
    if (read) {
        if (Status status = CheckStillAsRead(state.currentRow, *read); !status)
            return status;
    }
    if (derivedWrite_) {
        if (Status derived = derivedWrite_(*this, state.currentRow, nullptr); !derived)
            return derived;
    }
    Status status;
    Statement statement =
        file_->Prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(TableSql()), status);
    if (!statement)
        return status;
    statement.Bind(1, state.currentRow);
    if (statement.Step() != SQLITE_DONE)
        return file_->Error(StoreError::Failed, QStringLiteral("The record could not be deleted"));
    if (sqlite3_changes(file_->Handle()) == 0)
        return Status(StoreError::NotFound, QStringLiteral("The record no longer exists."), file_->Path());
    statement.Reset();
    if (AutoNumberKey() >= 0) {
        if (Status unmarked = UnmarkPrimed(state.currentRow); !unmarked)
            return unmarked;
    }
    if (Status committed = scope.Commit(); !committed)
        return committed;
    state.currentRow = 0;
    return {};
}

Status Table::KeepHighestNumber(qint64 number)
{
    Status status;
    Statement statement = file_->Prepare(
        QStringLiteral("INSERT OR REPLACE INTO \"HighestNumbers\" (\"TableName\", \"Highest\") "
                       "SELECT ?1, max(?2, ifnull((SELECT \"Highest\" FROM \"HighestNumbers\" "
                       "WHERE \"TableName\" = ?1), 0))"),
        status);
    if (!statement)
        return status;
    statement.Bind(1, tableName_);
    statement.Bind(2, number);
    if (statement.Step() != SQLITE_DONE)
        return file_->Error(StoreError::Failed, QStringLiteral("The highest number could not be kept"));
    return {};
}

Status Table::TakeNextNumber(qint32& number)
{
    number = 0;
    const int key = AutoNumberKey();
    if (key < 0)
        return Status(StoreError::Failed,
                      QStringLiteral("The table %1 has no auto-numbered key.").arg(tableName_));
    if (Status status = CheckWritable(); !status)
        return status;
    WriteScope scope(*file_);
    if (!scope.Started())
        return scope.Started();
    Status status;
    qint64 highest = 0;
    {
        // The records' own highest counts too: rows written before the file kept its highest numbers.
        Statement statement = file_->Prepare(
            QStringLiteral("SELECT max((SELECT ifnull(max(%1), 0) FROM %2), "
                           "ifnull((SELECT \"Highest\" FROM \"HighestNumbers\" WHERE \"TableName\" = ?), 0))")
                .arg(KeyTermSql(key, 0), TableSql()),
            status);
        if (!statement)
            return status;
        statement.Bind(1, tableName_);
        if (statement.Step() != SQLITE_ROW)
            return file_->Error(StoreError::Failed, QStringLiteral("The highest number could not be read"));
        highest = statement.Int64(0);
    }
    if (Status kept = KeepHighestNumber(highest + 1); !kept)
        return kept;
    if (Status committed = scope.Commit(); !committed)
        return committed;
    number = qint32(highest + 1);
    return {};
}

} // namespace jornix
