#include "platform/framework/ListLocator.h"

#include "platform/framework/BrowseList.h"
#include "platform/store/Table.h"

#include <limits>

namespace jornix {

void ListLocator::Init(int entryControl, const QString& fieldName, bool caseInsensitive, BrowseList& list)
{
    list_ = &list;
    entry_ = entryControl;
    field_ = list.ListView().ViewTable().RequireField(fieldName);
    caseInsensitive_ = caseInsensitive;
    text_.clear();
}

void ListLocator::TakeCharacter(QChar character)
{
    if (character == QLatin1Char('\b'))
        text_.chop(1);
    else if (character.isPrint())
        text_ += character;
    else
        return;
    Locate(text_);
}

void ListLocator::Locate(const QString& text)
{
    if (!list_)
        return;
    text_ = text;
    View& view = list_->ListView();
    const Table& table = view.ViewTable();
    const int key = view.OrderKey();
    if (key < 0 || table.Key(key).components.empty() || table.Key(key).components.front() != field_)
        return;
    // A position before every row whose first key value reaches the text: the remaining components at
    // their lowest and a row id below every row's.
    Position position;
    const std::vector<int>& components = table.Key(key).components;
    for (size_t component = 0; component < components.size(); ++component) {
        const FieldDef& field = table.Field(components[component]);
        const bool isText = field.type == FieldType::String || field.type == FieldType::Memo;
        QVariant value;
        if (component == 0)
            value = isText ? QVariant(text) : QVariant(text.toDouble());
        else
            value = isText ? QVariant(QString()) : QVariant(-std::numeric_limits<double>::max());
        position.values << table.KeyTermValue(key, int(component), value);
    }
    position.rowId = std::numeric_limits<qint64>::min();
    list_->ReadFrom(position);
}

} // namespace jornix
