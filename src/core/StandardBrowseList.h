#pragma once

#include "platform/framework/BrowseList.h"

#include <QString>

// The list of a Jornix list window: the framework's browse list with the rules every list of records
// follows, configured per window:
// - private records (a flag field and the creator's unique id): a record whose flag is not 0 and whose
//   creator is not the signed-in user is never listed; said in the view's SQL where the table declares
//   these as its private fields (Table::SetPrivateFields), checked per row otherwise;
// - Copy: the record highlighted when Copy was pressed primes the next insert, which keeps its values but
//   takes a new number and the data layer's field defaults;
// - Copy and Print are enabled only while the list has rows; a user who may only view the area never
//   gets Insert, Delete or Copy;
// - the order is the selected tab of the window's sheet (the last order for any other tab).
namespace jornix {

class StandardBrowseList : public BrowseList
{
public:
    // The private flag and the creator's unique id, by field name.
    void SetPrivateFields(const QString& flagField, const QString& uniqueIdField);
    // The buttons that follow the rows and the access level (0: the window's own Insert, Delete only).
    void SetRowButtons(int insertButton, int deleteButton, int copyButton, int printButton);
    void SetAccessLevel(const quint8* level) { accessLevel_ = level; }
    void SetSheet(int sheet) { sheet_ = sheet; }

    // Takes the highlighted record (WindowController::Update first) for the next insert.
    void TakeCopy();
    bool CopyPending() const { return copyPending_; }

    int CheckRecord(const Record& record) override;
    int PrepareRecord() override;
    void RefreshControls() override;
    void ResetOrder() override;

    bool IsPrivateToAnother(const Record& record) const;

private:
    int flagField_ = -1;
    int uniqueIdField_ = -1;
    bool ruleInSql_ = false; // the view leaves out the private records of others
    int insertButton_ = 0, deleteButton_ = 0, copyButton_ = 0, printButton_ = 0;
    const quint8* accessLevel_ = nullptr;
    int sheet_ = 0;
    bool copyPending_ = false;
    Record copy_;
};

} // namespace jornix
