#pragma once

#include "platform/framework/FileManager.h"

#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace jornix {

class ErrorReporter;
class Table;

// A field whose value, as a whole number, must be one of a list. The message names the field and the list
// with the given texts.
struct ValueList
{
    QString field;
    std::vector<int> values;
    QString fieldText;
    QString listText;
};

// What the program adds to the framework's file manager for one table.
struct TableRules
{
    QString prefix;                                     // the table in the catalogue: "LOG:"
    std::vector<std::pair<QString, QVariant>> defaults; // new-record values
    QString timeOfDayIdField; // a new record's unique id: the time of day, or the next value not yet used
    std::vector<ValueList> valueLists;
    // Files in the data folder that belong to a record: "%1" is the record's number.
    QStringList sideFiles;
    bool refreshAfterWrites = false;
};

// The access object of one table: the framework's file manager with the table's rules.
class AccessObject : public FileManager
{
public:
    explicit AccessObject(TableRules rules) : rules_(std::move(rules)) {}

    // Initialises the file manager on the table of the rules and sets the access reference.
    void Init(ErrorReporter& errors, FileManager*& reference);
    void Kill() override; // clears the access reference too
    const TableRules& Rules() const { return rules_; }

    void SetFieldDefaults() override;
    int ValidateField(int field, bool showMessages) override;
    int Insert() override;
    int UpdateQuiet() override;
    int DeleteRecord() override;

private:
    void AfterWrite();
    QStringList SideFilesOfBuffer() const;

    TableRules rules_;
    std::vector<int> listFields_; // the field of each value list
    FileManager** reference_ = nullptr;
};

} // namespace jornix
