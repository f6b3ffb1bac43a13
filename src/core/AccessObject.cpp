#include "core/AccessObject.h"

#include "core/BroadcastRefresh.h"
#include "core/Tables.h"
#include "platform/runtime/Clock.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Record.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include <QFileInfo>

#include <algorithm>

namespace jornix {
namespace {

// Whether a record of the table holds this value in the field, read through a key that starts with it.
bool ValueTaken(Table& table, int field, qint32 value)
{
    for (int key = 0; key < table.KeyCount(); ++key) {
        if (table.Key(key).components.front() != field)
            continue;
        View view(table);
        view.SetOrder(key);
        qint64 count = 0;
        if (!view.SetRange({value}, {value}) || !view.Count(count))
            return false;
        return count > 0;
    }
    return false;
}

} // namespace

void AccessObject::Init(ErrorReporter& errors, FileManager*& reference)
{
    Table* table = JornixCatalogue().FindTable(rules_.prefix);
    if (!table)
        qFatal("The table %s is not in the catalogue", qPrintable(rules_.prefix));
    FileManager::Init(*table, errors);
    listFields_.clear();
    for (const ValueList& list : rules_.valueLists) {
        listFields_.push_back(table->RequireField(list.field));
    }
    reference_ = &reference;
    reference = this;
}

void AccessObject::Kill()
{
    FileManager::Kill();
    if (reference_)
        *reference_ = nullptr;
    reference_ = nullptr;
}

void AccessObject::SetFieldDefaults()
{
    Record& buffer = Buffer();
    for (const auto& [field, value] : rules_.defaults)
        buffer.SetValue(field, value);
    if (!rules_.timeOfDayIdField.isEmpty()) {
        // Two records primed in the same hundredth of a second would share an id: take the next free one.
        const int field = GetTable().RequireField(rules_.timeOfDayIdField);
        qint32 id = Clock();
        if (GetTable().OpenCount() > 0) {
            while (ValueTaken(GetTable(), field, id))
                ++id;
        }
        buffer.SetValue(field, id);
    }
    FileManager::SetFieldDefaults();
}

int AccessObject::ValidateField(int field, bool showMessages)
{
    int level = FileManager::ValidateField(field, showMessages);
    const auto found = std::find(listFields_.begin(), listFields_.end(), field);
    if (found == listFields_.end())
        return level;
    const ValueList& list = rules_.valueLists[std::size_t(found - listFields_.begin())];
    const qint32 value = Buffer().Long(field);
    if (std::find(list.values.begin(), list.values.end(), value) == list.values.end())
        level = Severity::Notify;
    if (level != Severity::Benign && showMessages)
        level = Errors().Throw(ErrorId::FieldNotInList, {{}, {}, list.fieldText, list.listText});
    return level;
}

void AccessObject::AfterWrite()
{
    if (rules_.refreshAfterWrites)
        BroadcastRefresh();
}

int AccessObject::Insert()
{
    const int level = FileManager::Insert();
    AfterWrite();
    return level;
}

int AccessObject::UpdateQuiet()
{
    const int level = FileManager::UpdateQuiet();
    AfterWrite();
    return level;
}

QStringList AccessObject::SideFilesOfBuffer() const
{
    const int key = GetTable().AutoNumberKey();
    if (rules_.sideFiles.isEmpty() || key < 0)
        return {};
    const QString number = QString::number(Buffer().Long(GetTable().Key(key).components.front()));
    // The side files lie in the data folder, beside the table's record file.
    const QString folder = QFileInfo(GetTable().FilePath()).absolutePath() + QLatin1Char('/');
    QStringList paths;
    for (const QString& name : rules_.sideFiles)
        paths << folder + name.arg(number);
    return paths;
}

int AccessObject::DeleteRecord()
{
    const QStringList sideFiles = SideFilesOfBuffer();
    const int level = FileManager::DeleteRecord();
    if (level == Severity::Benign)
        RemoveFilesAfterCommit(sideFiles);
    AfterWrite();
    return level;
}

} // namespace jornix
