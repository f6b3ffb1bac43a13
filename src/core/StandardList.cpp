#include "core/StandardList.h"

#include "core/BroadcastRefresh.h"
#include "core/SharedState.h"
#include "platform/store/Table.h"

namespace jornix {

StandardList::StandardList(const QString& procedureName, const QString& caption, WindowType type)
    : StandardWindow(procedureName, caption, type)
{
}

void StandardList::SetList(StandardBrowseList& list, View& view, TableRelations& relations, int listControl)
{
    list_ = &list;
    view_ = &view;
    relations_ = &relations;
    listControl_ = listControl;
}

void StandardList::SetListButtons(int insertButton, int changeButton, int deleteButton, int copyButton,
                                  int printButton)
{
    insertButton_ = insertButton;
    changeButton_ = changeButton;
    deleteButton_ = deleteButton;
    copyButton_ = copyButton;
    printButton_ = printButton;
    RelabelForViewOnly(changeButton);
}

void StandardList::SetArea(const quint8& level, const QString& areaWords)
{
    areaLevel_ = &level;
    CheckAccess(level, areaWords);
}

void StandardList::SetSheet(int sheet)
{
    sheet_ = sheet;
}

int StandardList::Init()
{
    if (const int level = StandardWindow::Init())
        return level;
    if (list_)
        list_->ReadFirst();
    return Level::GoOn;
}

void StandardList::SetUpLists()
{
    if (!list_)
        return;
    list_->Init(listControl_, *view_, *relations_, *this);
    list_->AttachToolbar(toolbar);
    if (REQUEST != Request::ViewOnly)
        list_->SetUpdateButtons(insertButton_, changeButton_, deleteButton_);
    list_->SetRowButtons(insertButton_, deleteButton_, copyButton_, printButton_);
    list_->SetAccessLevel(areaLevel_);
    list_->SetSheet(sheet_);
}

void StandardList::SetUpPopupMenu()
{
    if (!list_ || AccessLevel() != 2)
        return;
    if (copyButton_)
        list_->Popup().AddControlItem(QStringLiteral("Copy"), copyButton_);
    if (printButton_)
        list_->Popup().AddControlItem(QStringLiteral("Print"), printButton_);
}

int StandardList::OnAccepted(int control)
{
    if (const int level = StandardWindow::OnAccepted(control))
        return level;
    if (!list_)
        return Level::GoOn;
    if (control == copyButton_ && copyButton_ && window.IsEnabled(copyButton_)) {
        // The record highlighted now is the one copied, whatever a refresh does before the insert.
        Update();
        list_->TakeCopy();
        if (list_->CopyPending())
            Post(Event::Accepted, insertButton_);
        return Level::Handled;
    }
    if (control == printButton_ && printButton_ && window.IsEnabled(printButton_)) {
        Update();
        if (print_ && list_->Selected()) {
            Table& table = view_->ViewTable();
            const int key = table.AutoNumberKey();
            print_(key < 0 ? 0 : table.Buffer().Long(table.Key(key).components.front()));
        }
        return Level::Handled;
    }
    return Level::GoOn;
}

int StandardList::OnNewSelection(int control)
{
    // Another tab of the sheet: its order, read from the top.
    if (list_ && sheet_ && control == sheet_) {
        list_->ReadFirst();
        return Level::Handled;
    }
    return StandardWindow::OnNewSelection(control);
}

int StandardList::OnWindowEvent(const FrameworkEvent& event)
{
    const int level = StandardWindow::OnWindowEvent(event);
    if (event.event == RefreshEvent)
        Reset(true);
    return level;
}

int StandardList::RunSubProcedure(int number, int request)
{
    WindowController::RunSubProcedure(number, request);
    if (REQUEST == Request::ViewOnly || !form_)
        return Response::Cancelled;
    ThreadContext& thread = CurrentContext();
    thread.GlobalRequestCode = quint8(request);
    form_();
    return thread.GlobalResponseCode;
}

} // namespace jornix
