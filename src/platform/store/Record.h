#pragma once

#include "platform/store/Layout.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

namespace jornix {

class Table;

// The values of one record of a table, typed by its fields. A value is kept as the field stores it: a text
// cut to its width and without trailing blanks, a number wrapped to its field's size.
class Record
{
public:
    Record() = default;
    explicit Record(const Table& table);

    const Table* Owner() const { return table_; }
    int FieldCount() const { return int(values_.size()); }

    QVariant Value(int field) const; // invalid for a field the table does not have
    // By name: a name the table does not have is a program fault (Table::RequireField).
    QVariant Value(const QString& name) const;
    int FieldNumber(const QString& name) const; // the same check; -1 when the program goes on
    qint32 Long(int field) const; // Byte, Short and Long fields
    double Real(int field) const;
    QString Text(int field) const; // String and Memo fields
    QByteArray Blob(int field) const;

    // Stores a value, converted and cut as the field keeps it; false for an unknown field.
    bool SetValue(int field, const QVariant& value);
    bool SetValue(const QString& name, const QVariant& value);

    void Clear(); // every field blank or 0
    bool operator==(const Record& other) const;
    bool operator!=(const Record& other) const { return !(*this == other); }

private:
    const Table* table_ = nullptr;
    std::vector<QVariant> values_;
};

// The blank value of a field type: 0, 0.0, an empty text or empty bytes.
QVariant BlankValue(FieldType type);
// A value converted to what a field of this type and width keeps.
QVariant StoredValue(const FieldDef& field, const QVariant& value);

} // namespace jornix
