#pragma once

#include "platform/framework/WindowController.h"

#include <QSize>

// How the controls of a window follow its size. The window's layouts do the moving and sizing; the resizer
// says, per control, which sizes follow the window and which side the control keeps to, and keeps controls
// that must not move at their place and size.
namespace jornix {

namespace Anchor {
enum : int
{
    Left = 0,
    Right = 1,
    Top = 0,
    Bottom = 2,
    Centre = 4
}; // combine Right and Bottom
}
namespace Sizing {
enum : int
{
    Fixed = 0,
    Width = 1,
    Height = 2,
    Both = 3
}; // the sizes that follow the window
}

class WindowResizer : public WindowComponent
{
public:
    // keepMinimum: the window never gets smaller than the size it has now.
    void Init(WindowDescription& window, bool keepMinimum = true);
    void SetControlStrategy(int control, int position, int size);
    void RemoveControl(int control); // keeps its place and size
    void Resize();
    QSize MinimumSize() const;
    int TakeEvent(const FrameworkEvent& event) override; // resizes on Sized

private:
    WindowDescription* window_ = nullptr;
};

} // namespace jornix
