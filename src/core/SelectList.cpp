#include "core/SelectList.h"

namespace jornix {

SelectList::SelectList(const QString& procedureName, const QString& caption)
    : StandardList(procedureName, caption, WindowType::Dialog)
{
}

void SelectList::SetSelectButtons(int selectButton, int cancelButton)
{
    list_->SetButtons({.select = selectButton});
    cancelButton_ = cancelButton;
}

int SelectList::SetUpForm()
{
    if (cancelButton_)
        AddButtonAction(cancelButton_, Response::Cancelled);
    return StandardList::SetUpForm();
}

} // namespace jornix
