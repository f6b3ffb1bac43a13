#pragma once

#include <map>

// The toolbar dispatcher of a window: toolbar buttons that stand for a standard action (move in a list,
// insert, change, delete, select, help) act on the window's target, the list that attached itself.
namespace jornix {

enum class ToolbarAction
{
    Top,
    PageUp,
    Up,
    Down,
    PageDown,
    Bottom,
    Insert,
    Change,
    Delete,
    Select,
    History,
    Help
};

class ToolbarTarget
{
public:
    virtual ~ToolbarTarget() = default;
    // True when the target acted on the action.
    virtual bool TakeToolbarAction(ToolbarAction action) = 0;
};

class ToolbarController
{
public:
    void SetButton(int control, ToolbarAction action);
    void SetTarget(ToolbarTarget* target);
    ToolbarTarget* Target() const { return target_; }
    // True when the control is one of the toolbar's buttons and its target acted on it.
    bool TakeAccepted(int control);

private:
    std::map<int, ToolbarAction> buttons_;
    ToolbarTarget* target_ = nullptr;
};

} // namespace jornix
