#include "core/StandardBrowseList.h"

#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Table.h"

namespace jornix {

void StandardBrowseList::SetList(int listControl, View& view, TableRelations& relations)
{
    listControl_ = listControl;
    view_ = &view;
    relations_ = &relations;
}

void StandardBrowseList::SetButtons(ListButtons buttons)
{
    buttons_ = std::move(buttons);
}

void StandardBrowseList::SetPrivateFields(const QString& flagField, const QString& uniqueIdField)
{
    View& view = view_ ? *view_ : ListView();
    const Table& table = view.ViewTable();
    flagField_ = table.RequireField(flagField);
    uniqueIdField_ = table.RequireField(uniqueIdField);
    // Said in the view's SQL where the table keeps these private fields, so that a page read never scans
    // the records it leaves out; checked on each row read otherwise.
    ruleInSql_ = table.PrivateFlagField() == flagField_ && table.PrivateOwnerField() == uniqueIdField_;
    if (ruleInSql_)
        view.SetPrivateRule([] { return QVariant(CurrentUserUniqueID); });
}

void StandardBrowseList::SetOrderTabs(int sheet)
{
    sheet_ = sheet;
    tabs_ = sheet ? Tabs::Order : Tabs::None;
}

void StandardBrowseList::SetFilterTabs(int sheet, const QStringList& filters)
{
    sheet_ = sheet;
    tabs_ = sheet ? Tabs::Filter : Tabs::None;
    tabFilters_ = filters;
}

QString StandardBrowseList::ActiveFilter() const
{
    QString tab;
    if (tabs_ == Tabs::Filter && Widget()) {
        const int place = Window().window.SelectedTab(sheet_);
        if (place >= 1 && place <= tabFilters_.size())
            tab = tabFilters_[place - 1].trimmed();
    }
    const QString own = filter_.trimmed();
    if (tab.isEmpty() || own.isEmpty())
        return tab.isEmpty() ? own : tab;
    return QLatin1Char('(') + tab + QStringLiteral(") AND (") + own + QLatin1Char(')');
}

std::vector<int> StandardBrowseList::AllButtons() const
{
    std::vector<int> all{buttons_.insert, buttons_.change, buttons_.remove,
                         buttons_.copy,   buttons_.print,  buttons_.select};
    all.insert(all.end(), buttons_.needRows.begin(), buttons_.needRows.end());
    all.insert(all.end(), buttons_.needFull.begin(), buttons_.needFull.end());
    std::erase(all, 0);
    return all;
}

// The window's steps ----------------------------------------------------------------------------------------

void StandardBrowseList::Start(WindowController& window)
{
    Init(listControl_, *view_, *relations_, window);
    if (window.REQUEST != Request::ViewOnly)
        SetUpdateButtons(buttons_.insert, buttons_.change, buttons_.remove);
}

void StandardBrowseList::SetUpAccess()
{
    WindowDescription& window = Window().window;
    if (AccessLevel() == 1 && buttons_.change)
        window.SetLabel(buttons_.change, QStringLiteral("View"));
    if (AccessLevel() == 0) {
        window.Hide(listControl_);
        for (const int button : AllButtons())
            window.Hide(button);
    }
}

void StandardBrowseList::SetUpPopupMenu()
{
    const int level = AccessLevel();
    if (level == 2 && buttons_.copy)
        Popup().AddControlItem(QStringLiteral("Copy"), buttons_.copy);
    if (buttons_.print && (level == 2 || (level == 1 && buttons_.printForViewers)))
        Popup().AddControlItem(QStringLiteral("Print"), buttons_.print);
}

bool StandardBrowseList::TakeAccepted(int control)
{
    if (control == 0 || !Widget())
        return false;
    WindowController& window = Window();
    // The window writes its controls and its lists their rows; this list's row last, so that it is the one
    // in the buffer even where another list of the window shows the same table.
    const auto takeHighlighted = [&] {
        window.Update();
        Update();
    };
    if (control == buttons_.copy) {
        if (window.window.IsEnabled(control)) {
            // The record highlighted now is the one copied, whatever a refresh does before the insert.
            takeHighlighted();
            TakeCopy();
            if (copyPending_ && buttons_.insert)
                window.Post(Event::Accepted, buttons_.insert);
        }
        return true;
    }
    if (control == buttons_.print) {
        if (window.window.IsEnabled(control) && Selected()) {
            takeHighlighted();
            Table& table = ListView().ViewTable();
            const int key = table.AutoNumberKey();
            if (print_)
                print_(key < 0 ? 0 : table.Buffer().Long(table.Key(key).components.front()));
        }
        return true;
    }
    // A select list chooses with its button, or with a row activated (double click or Enter).
    if (buttons_.select && (control == buttons_.select || control == listControl_)) {
        if (window.window.IsEnabled(buttons_.select) && Selected()) {
            takeHighlighted(); // into this thread's buffer: the caller's, as the list runs on its thread
            window.SetResponse(Response::Completed);
        }
        return true;
    }
    return false;
}

bool StandardBrowseList::TakeNewSelection(int control)
{
    if (!sheet_ || control != sheet_ || !Widget())
        return false;
    ReadFirst();
    return true;
}

int StandardBrowseList::RunForm(int request)
{
    if (!form_ || AccessLevel() == 0)
        return Response::Cancelled;
    ThreadContext& thread = CurrentContext();
    thread.GlobalRequestCode = quint8(request);
    form_();
    return thread.GlobalResponseCode;
}

// The overridable operations --------------------------------------------------------------------------------

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
    const int level = AccessLevel();
    if (level == 0) {
        for (const int button : AllButtons())
            window.Disable(button);
        return;
    }
    std::vector<int> needRows{buttons_.copy, buttons_.print, buttons_.select};
    needRows.insert(needRows.end(), buttons_.needRows.begin(), buttons_.needRows.end());
    const bool rows = RowCount() > 0;
    for (const int button : needRows)
        if (button)
            window.Enable(button, rows);
    if (level != 1)
        return;
    std::vector<int> needFull{buttons_.insert, buttons_.remove, buttons_.copy};
    needFull.insert(needFull.end(), buttons_.needFull.begin(), buttons_.needFull.end());
    for (const int button : needFull)
        if (button)
            window.Disable(button);
}

void StandardBrowseList::ResetOrder()
{
    if (tabs_ == Tabs::Order && OrderCount() > 0) {
        const int tab = Window().window.SelectedTab(sheet_);
        SetOrder(tab >= 1 && tab <= OrderCount() ? tab : OrderCount());
    }
    // The filter changes only before a read from the start or around a record, never between pages.
    const QString filter = ActiveFilter();
    if (filter == appliedFilter_)
        return;
    if (const Status status = ListView().SetFilter(filter); !status)
        qWarning("The filter %s of a list cannot be used: %s", qPrintable(filter),
                 qPrintable(status.Message()));
    else
        appliedFilter_ = filter;
}

} // namespace jornix
