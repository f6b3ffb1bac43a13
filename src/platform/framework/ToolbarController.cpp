#include "platform/framework/ToolbarController.h"

namespace jornix {

void ToolbarController::SetButton(int control, ToolbarAction action)
{
    buttons_[control] = action;
}

void ToolbarController::SetTarget(ToolbarTarget* target)
{
    target_ = target;
}

bool ToolbarController::TakeAccepted(int control)
{
    const auto button = buttons_.find(control);
    return button != buttons_.end() && target_ && target_->TakeToolbarAction(button->second);
}

} // namespace jornix
