#pragma once

#include "platform/framework/BrowseList.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// One list of records of a Jornix window, with its buttons, its form, Print, Copy, its popup menu and the
// access rules of its area. A window holds one (the list windows, a pane, a select list) or several (Date
// View: its events and its reminders), each added with StandardWindow::AddList; the window runs their steps:
// - the list is read once the window is open, again on the refresh event and after every form it called;
//   a form that ends "completed" after an insert or a change shows the record it wrote;
// - private records (a flag field and the creator's unique id): a record whose flag is not 0 and whose
//   creator is not the signed-in user is never listed; said in the view's SQL where the table declares
//   these as its private fields (Table::SetPrivateFields), checked per row otherwise;
// - Copy takes the record highlighted when it is pressed: the next insert keeps its values but takes a new
//   number and the data layer's field defaults; Print hands the highlighted record's number to the print
//   procedure; Select (select lists) makes the highlighted record the window's answer;
// - Copy, Print, Select and the buttons that need a row are enabled only while the list has rows;
// - a user who may only view the area reads "View" on Change and gets no Insert, Delete or Copy, and no
//   popup items; a user without access sees neither the list nor its buttons, and they do nothing;
// - the tabs of a sheet either choose the list's order or add their filter to the list's own.
namespace jornix {

// The buttons of one list; 0: the list has none.
struct ListButtons
{
    int insert = 0, change = 0, remove = 0; // ask the list's form for the request
    int copy = 0;
    int print = 0;
    int select = 0;
    std::vector<int> needRows = {}; // further buttons enabled only while the list has rows
    std::vector<int> needFull = {}; // further buttons disabled for a user who may only view
    bool printForViewers = false;   // the popup offers Print to a user who may only view, too
};

class StandardBrowseList : public BrowseList
{
public:
    // The form: a procedure called on the window's own thread with the request in GlobalRequestCode, that
    // leaves its response in GlobalResponseCode. Print: the highlighted record's number.
    using FormProcedure = std::function<void()>;
    using PrintProcedure = std::function<void(qint32 number)>;

    // What the list shows: a list control of the window, over a view of the relation manager's table.
    void SetList(int listControl, View& view, TableRelations& relations);
    void SetButtons(ListButtons buttons);
    // The signed-in user's level for the list's area (full access unless set).
    void SetAccessLevel(const quint8& level) { accessLevel_ = &level; }
    int AccessLevel() const { return accessLevel_ ? *accessLevel_ : 2; }
    void SetForm(FormProcedure form) { form_ = std::move(form); }
    void SetPrint(PrintProcedure print) { print_ = std::move(print); }
    // The private flag and the creator's unique id, by field name.
    void SetPrivateFields(const QString& flagField, const QString& uniqueIdField);

    // Tabs of a sheet. Order tabs: the tab at place n chooses order n (the last order for any other tab).
    // Filter tabs: the tab at place n adds the n-th filter to the list's own (none for a blank text or a tab
    // beyond the texts). A new tab reads the list from its top.
    void SetOrderTabs(int sheet);
    void SetFilterTabs(int sheet, const QStringList& filters);
    // The list's own filter (blank: every record), used from the next read on.
    void SetFilter(const QString& filter) { filter_ = filter; }

    // The steps that the window runs for each of its lists.
    void Start(WindowController& window); // Init step 12
    void SetUpAccess();                   // Init step 14
    void SetUpPopupMenu();                // Init step 19
    bool TakeAccepted(int control);       // Copy, Print, Select; true when the control was the list's
    bool TakeNewSelection(int control);   // a new tab of the list's sheet
    int RunForm(int request);             // the form's response; "cancelled" without a form

    // Takes the highlighted record (WindowController::Update first) for the next insert.
    void TakeCopy();
    bool CopyPending() const { return copyPending_; }

    int CheckRecord(const Record& record) override;
    int PrepareRecord() override;
    void RefreshControls() override;
    void ResetOrder() override;

    bool IsPrivateToAnother(const Record& record) const;

private:
    enum class Tabs
    {
        None,
        Order,
        Filter
    };
    std::vector<int> AllButtons() const;
    QString ActiveFilter() const; // the tab's filter and the list's own, joined

    int listControl_ = 0;
    View* view_ = nullptr;
    TableRelations* relations_ = nullptr;
    ListButtons buttons_;
    const quint8* accessLevel_ = nullptr;
    FormProcedure form_;
    PrintProcedure print_;
    int flagField_ = -1;
    int uniqueIdField_ = -1;
    bool ruleInSql_ = false; // the view leaves out the private records of others
    int sheet_ = 0;
    Tabs tabs_ = Tabs::None;
    QStringList tabFilters_;
    QString filter_;
    QString appliedFilter_;
    bool copyPending_ = false;
    Record copy_;
};

} // namespace jornix
