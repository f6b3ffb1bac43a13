#include "platform/store/Record.h"

#include "platform/store/Table.h"
#include "platform/store/TextValues.h"

namespace jornix {

QVariant BlankValue(FieldType type)
{
    switch (type) {
    case FieldType::Real:
        return QVariant(0.0);
    case FieldType::String:
    case FieldType::Memo:
        return QVariant(QString());
    case FieldType::Blob:
        return QVariant(QByteArray());
    default:
        return QVariant(qint32(0));
    }
}

QVariant StoredValue(const FieldDef& field, const QVariant& value)
{
    switch (field.type) {
    case FieldType::Byte:
        return QVariant(qint32(quint8(value.toLongLong())));
    case FieldType::Short:
        return QVariant(qint32(qint16(value.toLongLong())));
    case FieldType::Long:
        return QVariant(qint32(value.toLongLong()));
    case FieldType::Real:
        return QVariant(value.toDouble());
    case FieldType::String:
    case FieldType::Memo:
        return QVariant(StripTrailingBlanks(CutToWidth(value.toString(), field.width)));
    case FieldType::Blob:
        return QVariant(value.toByteArray());
    }
    return {};
}

Record::Record(const Table& table) : table_(&table)
{
    values_.resize(table.FieldCount());
    Clear();
}

QVariant Record::Value(int field) const
{
    return field >= 0 && field < FieldCount() ? values_[field] : QVariant();
}

QVariant Record::Value(const QString& name) const
{
    return table_ ? Value(table_->RequireField(name)) : QVariant();
}

int Record::FieldNumber(const QString& name) const
{
    return table_ ? table_->RequireField(name) : -1;
}

qint32 Record::Long(int field) const
{
    return Value(field).toInt();
}

double Record::Real(int field) const
{
    return Value(field).toDouble();
}

QString Record::Text(int field) const
{
    return Value(field).toString();
}

QByteArray Record::Blob(int field) const
{
    return Value(field).toByteArray();
}

bool Record::SetValue(int field, const QVariant& value)
{
    if (!table_ || field < 0 || field >= FieldCount())
        return false;
    values_[field] = StoredValue(table_->Field(field), value);
    return true;
}

bool Record::SetValue(const QString& name, const QVariant& value)
{
    return table_ && SetValue(table_->RequireField(name), value);
}

void Record::Clear()
{
    for (int field = 0; field < FieldCount(); ++field)
        values_[field] = BlankValue(table_->Field(field).type);
}

bool Record::operator==(const Record& other) const
{
    return table_ == other.table_ && values_ == other.values_;
}

} // namespace jornix
