#include "core/StandardBrowseList.h"

#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

namespace jornix {

void StandardBrowseList::SetPrivateFields(const QString& flagField, const QString& uniqueIdField)
{
    const Table& table = ListView().ViewTable();
    flagField_ = table.RequireField(flagField);
    uniqueIdField_ = table.RequireField(uniqueIdField);
    // Said in the view's SQL where the table keeps these private fields, so that a page read never scans
    // the records it leaves out; checked on each row read otherwise.
    ruleInSql_ = table.PrivateFlagField() == flagField_ && table.PrivateOwnerField() == uniqueIdField_;
    if (ruleInSql_)
        ListView().SetPrivateRule([] { return QVariant(CurrentUserUniqueID); });
}

void StandardBrowseList::SetRowButtons(int insertButton, int deleteButton, int copyButton, int printButton)
{
    insertButton_ = insertButton;
    deleteButton_ = deleteButton;
    copyButton_ = copyButton;
    printButton_ = printButton;
}

bool StandardBrowseList::IsPrivateToAnother(const Record& record) const
{
    // Any flag but 0 makes the record private.
    return flagField_ >= 0 && uniqueIdField_ >= 0 && record.Long(flagField_) != 0 &&
           record.Long(uniqueIdField_) != CurrentUserUniqueID;
}

int StandardBrowseList::CheckRecord(const Record& record)
{
    if (const int result = BrowseList::CheckRecord(record))
        return result;
    return !ruleInSql_ && IsPrivateToAnother(record) ? 2 : 0;
}

void StandardBrowseList::TakeCopy()
{
    if (!Selected())
        return;
    copy_ = ListView().ViewTable().Buffer();
    copyPending_ = true;
}

int StandardBrowseList::PrepareRecord()
{
    if (!copyPending_)
        return BrowseList::PrepareRecord();
    copyPending_ = false;
    ListView().ViewTable().Buffer() = copy_;
    return Relations().Access().PrepareRecord(true);
}

void StandardBrowseList::RefreshControls()
{
    BrowseList::RefreshControls();
    WindowDescription& window = Window().window;
    const bool rows = RowCount() > 0;
    if (copyButton_)
        window.Enable(copyButton_, rows);
    if (printButton_)
        window.Enable(printButton_, rows);
    if (accessLevel_ && *accessLevel_ == 1)
        for (const int button : {insertButton_, deleteButton_, copyButton_})
            if (button)
                window.Disable(button);
}

void StandardBrowseList::ResetOrder()
{
    if (!sheet_ || OrderCount() == 0)
        return;
    const int tab = Window().window.SelectedTab(sheet_);
    SetOrder(tab >= 1 && tab <= OrderCount() ? tab : OrderCount());
}

} // namespace jornix
