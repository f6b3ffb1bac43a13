#pragma once

#include <QString>
#include <QVariant>

#include <functional>

// What a control shows and writes: a program variable, or a field of a table's record buffer. A binding reads
// and writes through the running program thread, so a field binding always reaches the buffer of the thread
// whose window shows it.
namespace jornix {

struct ValueBinding
{
    std::function<QVariant()> read;
    std::function<void(const QVariant&)> write;
    QString fieldName; // the field's full name when bound to a record field ("LOG:LogDate"); empty otherwise

    explicit operator bool() const { return bool(read); }
};

// A program variable of one of the types that controls show.
template <class T> ValueBinding Bind(T& variable)
{
    return ValueBinding{[&variable] { return QVariant::fromValue(variable); },
                        [&variable](const QVariant& value) { variable = value.value<T>(); },
                        {}};
}

// A field of a table's record buffer by its full name ("USR:LoginID", case does not matter); the name is
// checked when the binding is made. Works with any
// table type whose Buffer() gives the running thread's record with Value(name) and SetValue(name, value).
template <class Table> ValueBinding BindField(Table& table, const QString& fieldName)
{
    table.Buffer().FieldNumber(fieldName); // a name the table does not have is a fault of the window now
    return ValueBinding{
        [&table, fieldName] { return table.Buffer().Value(fieldName); },
        [&table, fieldName](const QVariant& value) { table.Buffer().SetValue(fieldName, value); }, fieldName};
}

} // namespace jornix
