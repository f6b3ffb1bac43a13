#pragma once

#include "platform/runtime/FrameworkEvents.h"

#include <QObject>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

// The windows of a program thread. Each thread keeps a stack of framework windows: the window it was started
// with at the bottom, the forms, select lists and dialogs it opens above. Modality is per thread: while a
// window or a short wait (message box, common dialog) is above them, the thread's lower windows take no
// input; other threads' windows stay usable.
//
// A window's event loop is a loop over WaitEvent() on the window at the top of its thread's stack:
//
//     ProgramWindow window(dialog);      // becomes the thread's top window; OpenWindow is its first event
//     window.PostOn(okButton, &QPushButton::clicked, Event::Accepted, 3);
//     window.Show();
//     for (;;) {
//         const FrameworkEvent event = window.WaitEvent();   // the thread gives way until an event arrives
//         if (event.event == Event::CloseWindow) break;
//         ...
//     }
//
// Top-level windows of a thread should have no QWidget parent (a disabled parent would disable them too);
// Show() places them over the window below instead. The window's close box and, for a QDialog, Escape post
// CloseWindow and leave the window open: the window decides, and closes by hiding or deleting its widget.
namespace jornix {

class ProgramWindow
{
public:
    // Registers the widget as the running thread's new top window. Must run on a program thread.
    explicit ProgramWindow(QWidget* widget);
    ~ProgramWindow();
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    QWidget* Widget() const;
    ThreadNumber Thread() const;
    bool IsTop() const;     // the top of its thread's window stack
    bool IsBlocked() const; // a window or a short wait of its thread is above it

    // Shows the window non-modal over the thread's window below, raises and activates it.
    void Show();

    // The window's next event; the thread gives way until one arrives. Only for the thread's top window.
    FrameworkEvent WaitEvent();
    bool HasEvents() const;

    // Queues an event to this window (Size, Sized and Timer do not pile up) and wakes its thread when it
    // waits for this window's events.
    void Post(const FrameworkEvent& event);
    void Post(int event, int control = 0) { Post(FrameworkEvent{event, control}); }

    // Qt signal to framework event: each emission of the sender's signal queues the event with the control.
    template <class Sender, class Signal>
    void PostOn(const Sender* sender, Signal signal, int event, int control)
    {
        QObject::connect(sender, signal, Receiver(), [this, event, control] { Post(event, control); });
    }

    // Mouse presses, releases and moves over the control become MouseDown, MouseUp and MouseMove events of
    // the control, with the position in the window's coordinates (a split bar follows x).
    void PostMouseEvents(QWidget* control, int controlNumber);

    // The window's timer: a Timer event every interval, in hundredths of a second; 0 stops it.
    void SetTimer(int hundredths);
    int TimerInterval() const;

    // Arms a key (QKeySequence's number, modifiers included): pressing it in the window posts AlertKey with
    // the key. Where windows lie inside each other (child windows and panes in the frame), the key goes to
    // the innermost window that armed it and holds the focus; a function key in a window's open menu, to
    // that window. The mouse keys (MouseKey::Left, Right, LeftDouble) are armed for presses anywhere in the
    // window that its controls leave to it.
    void AddAlertKey(int key);

    // Replaces the runtime's way of blocking this window (disabling it) while windows of its thread are above
    // it: the frame disables its menus and toolbar instead, so that the child windows of other threads inside
    // it stay usable. The handler is called with true when the window becomes blocked and false when it is
    // free.
    void SetBlockHandler(std::function<void(bool blocked)> handler);

private:
    friend void ApplyThreadBlocking(ThreadNumber thread);
    friend quint64 TopWindowId(ThreadNumber thread);
    friend bool WaitsForInput(ThreadNumber thread);
    friend bool DeliverAlertKey(int key, QWidget* from);
    QObject* Receiver() const;
    void SetBlocked(bool blocked);
    struct Private;
    std::unique_ptr<Private> d;
};

// Shows a dialog of the running thread non-modal over the thread's windows, which take no input until it is
// finished (QDialog::finished); the thread gives way meanwhile and resumes as soon as the dialog is finished,
// whatever other threads have open. Returns the dialog's result. Events posted to the thread meanwhile wait
// for its next WaitEvent. The runtime's message boxes and common dialogs run through it.
int RunThreadModal(QDialog& dialog);

// Tests: how many milliseconds a hundredth of a second of the window timers lasts, 10 unless set; 1 makes a
// window's 3-second timer (300) fire after 0.3 s. Timers started later take it; intervals keep their values.
void SetTimerTick(int milliseconds);

// Keeps a window where it can be seen: a child window inside its frame's area, any other window on its
// screen. A window larger than that place shrinks to it, never below the size its controls need: for a child
// window the frame grows inside its screen first, and the frame's area scrolls to what still lies outside.
// A maximized, minimized or hidden window is left as it is. For a pane of the frame, the child windows in the
// frame's area are kept so, in the room the pane leaves them.
void KeepInsideVisibleArea(QWidget* window);

// For a window that waits for the windows of other threads to take what it posted them. TopWindowId is the
// identity of the thread's top window, never given to another window (0 when the thread has none or has
// ended). WaitsForInput is true while the thread sits in its top window's WaitEvent with nothing queued: it
// has taken every event posted to it and waits for the user.
quint64 TopWindowId(ThreadNumber thread);
bool WaitsForInput(ThreadNumber thread);

} // namespace jornix
