#pragma once

#include "platform/store/Layout.h"
#include "platform/store/Record.h"
#include "platform/store/StoreStatus.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace jornix {

class Catalogue;
class RecordFile;
struct TableThreadState;

// One table of the catalogue: its layout (declared once, as data) and its records in a record file.
//
// The layout drives the SQL schema: one column per field, named as the field without its prefix, plus a
// folded copy "<column>_nocase" of every text field that a NoCase key uses; one index per key over the key's
// columns (folded copies for NoCase keys), and for a unique key a unique index that, for an Opt key, is a
// partial index leaving out records whose components are all blank or 0.
//
// A table whose records may be private to the one who made them (SetPrivateFields) keeps beside them a
// column "_private_to": NULL for a record whose flag is 0, else the owner's id; and one index per key that
// leads with it, so that a view lists the rows a user may see in key order without reading the others.
//
// Buffer, current record, saved copy and open count belong to the running program thread: every thread has
// its own. The record file is opened at the first open on any thread and closed when no thread holds it.
class Table
{
public:
    // Tables are made by Catalogue::AddTable.
    Table(Catalogue& catalogue, QString prefix, QString fileName, QString tableName, int fileAttributes);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Layout. Field and key names are given without the prefix ("LogDate"); their full names carry it.
    Table& AddByte(const QString& name);
    Table& AddShort(const QString& name);
    Table& AddLong(const QString& name);
    Table& AddReal(const QString& name);
    Table& AddString(const QString& name, int width);
    Table& AddMemo(const QString& name, int size);
    Table& AddBlob(const QString& name);
    // Components by field name; flags from KeyFlag. Keys are registered in the order they are added.
    Table& AddKey(const QString& name, const QStringList& components, int flags, const QString& description,
                  bool autoNumber = false);
    // A record whose flag field is not 0 is private to the owner whose id its owner field holds. Declared
    // after the fields and before the file is first opened.
    Table& SetPrivateFields(const QString& flagField, const QString& ownerField);
    bool HasPrivateFields() const { return privateFlag_ >= 0; }
    // A word index over these text fields (WordIndex), for long reads that look for fragments of text
    // (WorkerRead::SetTextFragments). Declared before the file is first opened.
    Table& AddWordIndex(const QStringList& fields);
    const std::vector<int>& WordIndexFields() const { return wordIndex_; }
    // Further objects of the table's file that go with the table (bookkeeping tables, triggers), made after
    // the table's own when the object named `name` is missing: the statements must make that object last.
    // Declared before the file is first opened.
    Table& AddSchemaObject(const QString& name, const QString& sql);
    int PrivateFlagField() const { return privateFlag_; }
    int PrivateOwnerField() const { return privateOwner_; }

    const QString& Prefix() const { return prefix_; }       // "LOG"
    const QString& FileName() const { return fileName_; }   // base name of the record file: "Jornix"
    const QString& TableName() const { return tableName_; } // "LogFile"
    int FileAttributes() const { return attributes_; }
    Catalogue& OwnerCatalogue() const { return catalogue_; }

    int FieldCount() const { return int(fields_.size()); }
    const FieldDef& Field(int field) const { return fields_[field]; }
    // Field number by name, without regard to case, with or without the prefix; -1 when there is none.
    int FieldIndex(const QString& name) const;
    // The same for a name that the program itself spells: a name the table does not have is a program fault
    // (ReportProgramFault), and -1 is returned when the fault handler lets the program go on.
    int RequireField(const QString& name) const;
    int KeyCount() const { return int(keys_.size()); }
    const KeyDef& Key(int key) const { return keys_[key]; }
    int KeyIndex(const QString& name) const; // like FieldIndex
    int AutoNumberKey() const;               // -1 when no key is auto-numbered

    // The record file's full path, set at run time (the data folder is chosen at start). Ignored while the
    // file is open.
    void SetFilePath(const QString& path);
    const QString& FilePath() const { return path_; }

    // Opening, counted per thread. A missing file is created with all its tables when the table has the
    // Create attribute, never otherwise.
    Status Open();
    void Close();
    int OpenCount() const;   // of the running thread
    bool FileIsOpen() const; // on any thread

    // The running thread's record buffer and its saved copy.
    Record& Buffer();
    void ClearBuffer();
    void SaveBuffer();
    bool BufferUnchanged() const; // the buffer equals the copy saved last (true when none was saved)
    // The record last read or written on this thread (its row id), 0 when there is none.
    qint64 CurrentRow() const;

    // Reads into the buffer: the first record, in key order, whose key components equal the buffer's
    // values. A record left out of an Opt key is not found through it.
    Status Fetch(int key);
    Status FetchRow(qint64 rowId);
    // The stored values of a row into record; the buffer and the current record stay as they are.
    Status ReadStored(qint64 rowId, Record& record);
    Status RecordCount(qint64& count);
    // The record file's change number (RecordFile::ChangeCount); 0 while the file is not open.
    quint64 ChangeCount() const;

    // Writes of the buffer's record. Insert refuses a duplicate of a unique key and names the first such key,
    // in registration order, by its description. Update and Delete act on the current record.
    Status Insert();
    Status Update();
    Status Delete();
    // The same, for a record read earlier: nothing is written and StoreError::Changed is given when the
    // stored record no longer equals `read` (another window or another copy of the program changed it).
    Status Update(const Record& read);
    Status Delete(const Record& read);
    // The insert of a primed record: the row that holds the record's number while its form is open. It is
    // marked as this process's until it is updated or deleted; a mark whose process has ended (killed,
    // crashed) is removed with its row when the table is next opened, so the row never becomes a record.
    Status InsertPrimed();
    // The rows marked as primed, with the processes that hold them (ProcessOwner).
    Status PrimedRows(std::vector<std::pair<qint64, QString>>& rows);
    // The next record number for the auto-numbered key: one above the highest ever given in this table,
    // so that numbers of deleted records are never given again. A record written with a number of its own
    // above that highest raises it in the same transaction.
    Status TakeNextNumber(qint32& number);

    // Derived data of a record (a plain-text copy of a document, say), kept in the same record file and
    // written in the same transaction as the record: called on the running thread's connection after each
    // insert or update of a row (record: the values written) and before each delete (record: nullptr). A
    // failure undoes the write. It must not give way (no dialogs, no yields).
    using DerivedWrite = std::function<Status(Table& table, qint64 rowId, const Record* record)>;
    void SetDerivedWrite(DerivedWrite write) { derivedWrite_ = std::move(write); }
    const DerivedWrite& GetDerivedWrite() const { return derivedWrite_; }
    // Called when the table's record file is opened for it (its first open in the process, or its first
    // after every thread had closed it), to bring derived data up to date; its failure fails no open.
    using FileOpened = std::function<void(Table& table)>;
    void SetFileOpened(FileOpened opened) { fileOpened_ = std::move(opened); }

    // SQL pieces, shared with views and expressions.
    QString TableSql() const;           // quoted table name
    QString ColumnSql(int field) const; // quoted column of a field
    // The quoted column of a text field's folded copy (kept for the keys that compare without regard to
    // case), empty when it has none.
    QString FoldedColumnSql(int field) const;
    QString KeyIndexSql(int key) const;               // quoted name of the index that holds every record of a key
    QString KeyTermSql(int key, int component) const; // the column a key orders by
    QVariant KeyTermValue(int key, int component, const QVariant& value) const;
    // Every field's column, then rowid; without BLOBs, a NULL in their place, so that a read that leaves
    // them out never loads their pages.
    QString SelectListSql(bool withBlobs = true) const;
    QString BlankKeySql(int key) const;             // true for a record left out of an Opt key
    static QString PrivateToSql();                  // the quoted "_private_to" column
    static QString QuotedName(const QString& name); // a name in SQL
    void ReadRow(void* statement, Record& record, bool withBlobs) const;
    RecordFile* File() const { return file_; }
    // The table, its indexes, its word index and the highest numbers' table, each with the statements that
    // create it.
    struct SchemaObject
    {
        QString name;
        QString sql;
    };
    std::vector<SchemaObject> Schema() const;
    Status CheckOpen() const; // FileNotOpen unless the table is open on the running thread

private:
    friend struct StoreThreadState;
    Table& AddField(const QString& name, FieldType type, int width);
    struct KeyMatch;
    KeyMatch MatchKey(int key, const Record& record) const;
    Status ReadRowInto(qint64 rowId, Record& record); // the stored row's values, blobs with them
    TableThreadState& State() const;
    Status CheckWritable() const;
    Status CheckUniqueKeys(const Record& record, qint64 ownRow);
    void ReleaseThreadHold();
    Status WriteRecord(bool insert, const Record* read = nullptr, bool primed = false);
    Status DeleteRow(const Record* read);
    Status CheckStillAsRead(qint64 row, const Record& read);
    Status MarkPrimed(qint64 row);   // within the running write
    Status UnmarkPrimed(qint64 row); // within the running write
    void RemoveAbandonedPrimedRows();
    Status KeepHighestNumber(qint64 number); // within the running write

    Catalogue& catalogue_;
    const quint64 id_;
    QString prefix_, fileName_, tableName_;
    int attributes_ = 0;
    QString path_;
    std::vector<FieldDef> fields_;
    std::vector<bool> folded_; // per field: it has a folded copy
    std::vector<KeyDef> keys_;
    int privateFlag_ = -1, privateOwner_ = -1;
    std::vector<int> wordIndex_;
    std::vector<SchemaObject> moreSchema_;
    QHash<QString, int> fieldIndex_;
    QHash<QString, int> keyIndex_;
    RecordFile* file_ = nullptr;
    int threadHolds_ = 0; // threads on which the table is open
    DerivedWrite derivedWrite_;
    FileOpened fileOpened_;
};

} // namespace jornix
