#pragma once

#include "platform/store/Table.h"

#include <memory>
#include <vector>

namespace jornix {

// The tables of a program, declared once as data. A table is found by its prefix and a field by its full
// name, without regard to case ("LOG:LogDate" = "LOG:LOGDATE").
class Catalogue
{
public:
    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // fileName is the record file's base name ("Jornix"); several tables may share one file. Empty for a
    // table whose file is chosen at run time.
    Table& AddTable(const QString& prefix, const QString& fileName, const QString& tableName,
                    int fileAttributes);

    int TableCount() const { return int(tables_.size()); }
    Table& TableAt(int index) const { return *tables_[index]; }
    Table* FindTable(const QString& prefix) const; // "LOG" or "LOG:"
    // The table and field number of a full field name; {nullptr, -1} when there is none.
    std::pair<Table*, int> FindField(const QString& fullName) const;
    // Sets the path of every table that names a file: folder + file name + extension.
    void SetFolder(const QString& folder, const QString& extension = QStringLiteral(".tps"));
    // The tables whose record file is this path.
    std::vector<const Table*> TablesOfFile(const QString& path) const;

private:
    std::vector<std::unique_ptr<Table>> tables_;
};

// The owner password of the enciphered record files, a constant of the program, and the program's own salt
// (16 to 64 bytes). The raw key is derived from them once per process (BLAKE2b-256 of the password keyed
// with the salt), so that opening a file costs no key stretching.
void SetOwnerPassword(const QString& password, const QByteArray& salt);

} // namespace jornix
