#include "core/SelectList.h"

namespace jornix {

SelectList::SelectList(const QString& procedureName, const QString& caption)
    : StandardList(procedureName, caption, WindowType::Dialog)
{
}

void SelectList::SetSelectButtons(int selectButton, int cancelButton)
{
    selectButton_ = selectButton;
    cancelButton_ = cancelButton;
}

int SelectList::SetUpForm()
{
    if (cancelButton_)
        AddButtonAction(cancelButton_, Response::Cancelled);
    return StandardList::SetUpForm();
}

int SelectList::OnAccepted(int control)
{
    if (const int level = StandardList::OnAccepted(control))
        return level;
    const bool chosen =
        (selectButton_ && control == selectButton_) || (list_ && control == list_->ListControl());
    if (chosen && list_ && list_->Selected()) {
        Update(); // the record into this thread's buffer: the caller's, as the list runs on its thread
        SetResponse(Response::Completed);
        return Level::Handled;
    }
    return Level::GoOn;
}

} // namespace jornix
