#pragma once

#include "platform/framework/ListLocator.h"
#include "platform/framework/ListRowStyle.h"
#include "platform/framework/Picture.h"
#include "platform/framework/PopupMenu.h"
#include "platform/framework/ToolbarController.h"
#include "platform/framework/WindowController.h"
#include "platform/store/View.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTreeView;

// A list control filled from a keyed, filtered view of one table. Rows are read lazily in keyset pages: the
// first screen needs one page whatever the size of the table; scrolling towards either end reads the next
// page in that direction, and the list holds at most MaxRows rows around what is shown (the far end goes
// as the list reads on). A refresh re-reads only when a record file of the list has changed since it read,
// and keeps the highlighted record and the first visible row where they were.
//
//     BrowseList brw;
//     brw.Init(listControl, view, *RelationsCON, thisWindow);
//     brw.SetUpdateButtons(insertButton, changeButton, deleteButton);
//     brw.AddOrder(table.KeyIndex("CON:LNameK"));
//     brw.MapField("CON:LName", 0);
//     brw.MapField("CON:CreateDate", 1, "@d17");
//
// The overridable operations (FillRow, CheckRecord, PrepareRecord, RefreshControls, ResetOrder) let a window
// compute its own texts and icons, leave records out, prime a new record its own way and enable its buttons.
namespace jornix {

class ListLocator;
class TableRelations;
class Table;

// One row as the list shows it: the record, its place in the view's order, per column its text and icon
// number (0: none; n: the n-th image of the list's icons), and its cells' colours and weight.
struct ListRow
{
    Record record;
    Position position;
    QStringList texts;
    std::vector<int> icons;
    ListRowStyle style = {};
};

// Scroll requests that a form leaves in VCRREQUEST for the list that called it: the list moves and asks
// again.
namespace VcrRequest {
enum : qint32
{
    None = 0,
    Top = 1,
    PageUp = 2,
    Up = 3,
    Down = 4,
    PageDown = 5,
    Bottom = 6
};
}

class BrowseList : public WindowComponent, public ToolbarTarget
{
public:
    static constexpr int PageRows = 60;          // rows read at a time
    static constexpr int MaxRows = 5 * PageRows; // rows held at most

    BrowseList();
    ~BrowseList() override;
    BrowseList(const BrowseList&) = delete;
    BrowseList& operator=(const BrowseList&) = delete;

    // Joins the window as a component; the view reads the relation manager's table.
    void Init(int listControl, View& view, TableRelations& relations, WindowController& window);
    // The window's Insert, Change and Delete buttons (0: none); pressing one asks for its request.
    void SetUpdateButtons(int insertButton, int changeButton, int deleteButton);
    void AttachToolbar(ToolbarController& toolbar);

    // Orders by keys of the table, numbered from 1 as added; SetLocator attaches a locator to the last added.
    void AddOrder(int key);
    void SetLocator(ListLocator& locator);
    void SetOrder(int order); // the order of the next read
    int Order() const { return order_; }
    int OrderCount() const { return int(orders_.size()); }
    ListLocator* Locator() const;
    // Chooses the order before each re-read; here the order stays as it is.
    virtual void ResetOrder();

    // Columns: a field shown through a picture (a blank picture shows the value as it is stored), and
    // columns whose icon number is the value of a field (a field of -1: FillRow sets the icon). The column
    // of the longest text field holds the list's main text: it takes the width the list has to spare.
    void MapField(const QString& fieldName, int column, const QString& picture = {});
    void MapIcon(const QString& fieldName, int column);
    void SetIcons(const QStringList& images);
    QVariant IconImage(int icon) const; // the icon of a number, null for 0 or a number without image

    // The overridable operations.
    virtual void FillRow(ListRow& row);            // texts and icons of mapped columns
    virtual int CheckRecord(const Record& record); // 0 lists the record; any other value leaves it out
    virtual int PrepareRecord();                   // primes a new record; 0 on success
    virtual void RefreshControls();                // Change and Delete only while the list has rows

    int RowCount() const; // rows the list holds now
    int SelectedRow() const;
    const ListRow* Selected() const;
    const ListRow* Row(int row) const;
    void Select(int row);

    // Reading: from the top, around a record of the table (by row id) with that record highlighted, again
    // from the highlighted row (or the top when there is none), and from the first row whose values reach
    // a position of the view's order.
    void ReadFirst();
    void ReadAround(qint64 rowId);
    void Reread(); // keeps the highlighted record and the first visible row
    void ReadFrom(const Position& position);
    // Re-reads (as Reread) only when a watched record file, the view or a value it names (TODAY(), a bound
    // name) has changed since the list read.
    void Refresh();
    // Further tables whose changes the list shows (texts that FillRow looks up); the view's table is
    // always watched.
    void WatchTable(const Table& table);
    int PagesRead() const { return pagesRead_; } // pages read from the view since Init

    // Asks the window's form for a request (Request::Insert, Change, Delete) on the highlighted row and
    // re-reads by its answer; gives the response. The form is the window's sub-procedure of the list's form
    // number (1 unless set: a window of several lists gives each its own).
    int Ask(int request);
    void SetFormNumber(int number) { formNumber_ = number; }
    int FormNumber() const { return formNumber_; }
    // Moves the highlight: the VcrRequest moves.
    void Move(qint32 vcrRequest);

    PopupMenu& Popup() { return popup_; }
    View& ListView() const { return *view_; }
    TableRelations& Relations() const { return *relations_; }
    WindowController& Window() const { return *window_; }
    int ListControl() const { return list_; }
    QTreeView* Widget() const;

    int TakeEvent(const FrameworkEvent& event) override;
    void Reset(bool force) override; // force: Refresh
    void Update() override; // the highlighted row's record into the table's buffer of the running thread
    void Kill() override;
    bool TakeToolbarAction(ToolbarAction action) override;

private:
    class Model;
    struct Column
    {
        int field = -1;
        bool icon = false;
        Picture picture;
        bool hasPicture = false;
    };
    // Reads up to count listed rows beyond a position, leaving out what CheckRecord refuses; atEdge is set
    // when the view ends before count rows.
    std::vector<ListRow> ReadRows(const Position& from, Direction direction, int count, bool includeFrom,
                                  bool& atEdge);
    // Replaces the rows; the selected row is centred, or with top >= 0 the screen starts at that row.
    void Show(std::vector<ListRow> rows, bool atStart, bool atEnd, int selected, int top = -1);
    int ReadBefore(); // the rows added in front
    int ReadAfter();  // the rows dropped in front to stay within MaxRows
    int FirstVisibleRow() const;
    void SelectQuietly(int row); // without scrolling
    // What the last full read saw: change numbers of the watched files, the view's generations and values.
    void NoteRead();
    bool ChangedSinceRead() const;
    void PostLocatorKey(QChar character);
    void PostToWindow(const FrameworkEvent& event);
    void ChooseMainColumn();
    Table& ListTable() const;

    int list_ = 0;
    View* view_ = nullptr;
    TableRelations* relations_ = nullptr;
    WindowController* window_ = nullptr;
    int insertButton_ = 0, changeButton_ = 0, deleteButton_ = 0;
    int formNumber_ = 1;
    std::vector<int> orders_;
    std::vector<ListLocator*> locators_;
    int order_ = 0;
    std::vector<Column> columns_;
    QStringList icons_;
    std::unique_ptr<Model> model_;
    PopupMenu popup_;
    std::unique_ptr<QObject> keys_; // passes characters typed into the list to its locator
    std::vector<const Table*> watched_;
    std::vector<quint64> seenChanges_;
    int seenGeneration_ = -1;
    int seenOrder_ = -1;
    QVariantList seenValues_;
    int pagesRead_ = 0;
};

} // namespace jornix
