#pragma once

#include "platform/runtime/ProgramThreads.h"

// Framework events: what a window's event loop receives. Qt signals of a window's controls, its close box,
// its activation, size changes and its timer become these events, queued to the window; PostEvent queues one
// to the top window of another (or the own) thread.
namespace jornix {

namespace Event {
enum : int
{
    Accepted = 1,     // a control was used; posted with a control number to press a button
    NewSelection = 2, // a list's highlighted row changed
    Selected = 3,     // a control got the focus
    Rejected = 4,     // an entry refused its input
    Completed = 5,    // complete the form (as OK does)
    CloseWindow = 6,  // close the window (the close box, or posted by another window)
    GainFocus = 7,    // the window became active; posted to bring a window forward
    Size = 8,         // the window is being resized
    Sized = 9,        // the window has been resized
    Timer = 10,       // the window's timer interval elapsed
    OpenWindow = 11,  // the first event of every window
    TabChanging = 12, // a sheet is about to change tabs
    AlertKey = 13,    // an armed key was pressed; FrameworkEvent::key holds it
    MouseDown = 14,   // mouse events of a control that asked for them; x and y in the window's coordinates
    MouseUp = 15,
    MouseMove = 16,
    LoseFocus = 17, // the window stopped being the active window
    User = 1024,    // the program's own events start here (the refresh event 2133, for example)
};
}

// Mouse buttons armed as alert keys (ProgramWindow::AddAlertKey): a press of the button, or a double click,
// anywhere in the window gives AlertKey with the code. Qt numbers no key below 0x20, so the codes never stand
// for a key of the keyboard.
namespace MouseKey {
enum : int
{
    Left = 1,
    Right = 2,
    LeftDouble = 5
};
}

struct FrameworkEvent
{
    int event = 0;
    int control = 0; // control number; 0 for the window itself
    int key = 0;     // AlertKey: the key with its modifiers, as QKeySequence numbers it
    int x = 0;       // mouse events
    int y = 0;

    friend bool operator==(const FrameworkEvent&, const FrameworkEvent&) = default;
};

// Queues the event for the top window of the thread and returns at once. A post to a thread that has ended
// (or never existed) is dropped and gives false. A thread that has no window yet keeps the event for its
// first window. Size, Sized and Timer do not pile up: one waiting is enough.
bool PostEvent(int event, int control, ThreadNumber thread);
bool PostEvent(const FrameworkEvent& event, ThreadNumber thread);

} // namespace jornix
