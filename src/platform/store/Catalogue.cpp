#include "platform/store/Catalogue.h"

#include <QFileInfo>

namespace jornix {
namespace {

// "LOG:" and "LOG" name the same table.
QString BarePrefix(const QString& prefix)
{
    return prefix.endsWith(QLatin1Char(':')) ? prefix.chopped(1) : prefix;
}

} // namespace

Table& Catalogue::AddTable(const QString& prefix, const QString& fileName, const QString& tableName,
                           int fileAttributes)
{
    // The store keeps the highest record numbers of each file in a table of this name.
    if (tableName.compare(QLatin1String("HighestNumbers"), Qt::CaseInsensitive) == 0)
        qFatal("The table name %s is reserved", qPrintable(tableName));
    tables_.push_back(
        std::make_unique<Table>(*this, BarePrefix(prefix), fileName, tableName, fileAttributes));
    return *tables_.back();
}

Table* Catalogue::FindTable(const QString& prefix) const
{
    const QString bare = BarePrefix(prefix);
    for (const auto& table : tables_) {
        if (table->Prefix().compare(bare, Qt::CaseInsensitive) == 0)
            return table.get();
    }
    return nullptr;
}

std::pair<Table*, int> Catalogue::FindField(const QString& fullName) const
{
    const qsizetype colon = fullName.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {nullptr, -1};
    Table* table = FindTable(fullName.left(colon));
    const int field = table ? table->FieldIndex(fullName) : -1;
    return {field >= 0 ? table : nullptr, field};
}

void Catalogue::SetFolder(const QString& folder, const QString& extension)
{
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    for (const auto& table : tables_) {
        if (!table->FileName().isEmpty())
            table->SetFilePath(base + table->FileName() + extension);
    }
}

std::vector<const Table*> Catalogue::TablesOfFile(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    std::vector<const Table*> result;
    for (const auto& table : tables_) {
        if (!table->FilePath().isEmpty() && QFileInfo(table->FilePath()).absoluteFilePath() == wanted)
            result.push_back(table.get());
    }
    return result;
}

} // namespace jornix
