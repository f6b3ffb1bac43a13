#pragma once

#include <QtGlobal>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// Program threads: each window procedure runs on a program thread of its own. Only one program thread runs at
// a time; a thread gives way only while it waits for its next event or sits in a short wait (message box,
// common dialog). Values that belong to one thread live in its ThreadContext.
//
// A program thread is a fiber on Qt's GUI thread. The scheduler resumes fibers only from Qt's main loop
// (queued), never inside a signal emission and never while another fiber runs. Program code never runs an
// event loop of its own (no exec(), no processEvents(), no static dialog getters): it waits through
// ProgramWindow::WaitEvent, ShowMessageBox, the common dialogs, WaitMilliseconds, YieldNow or WaitUntil, and
// the thread gives way meanwhile.
namespace jornix {

using ThreadNumber = int;

// Values of one program thread. Every thread starts with all of them 0 and never sees another thread's.
class ThreadContext
{
public:
    quint8 GlobalRequestCode = 0;  // request handed to the next procedure called on this thread
    quint8 GlobalResponseCode = 0; // response of the last procedure that returned on this thread
    qint32 VCRRequest = 0;         // scroll request shared by a form and the list that called it

    // A value of type T private to this thread, value-initialised at its first use and destroyed when the
    // thread ends. Later layers keep their per-thread state here (record buffers, open counts, the error
    // reporter's procedure name ...).
    template <class T> T& Slot()
    {
        static const std::size_t index = NextSlotIndex();
        if (index >= slots_.size())
            slots_.resize(index + 1);
        if (!slots_[index])
            slots_[index] = std::make_unique<Holder<T>>();
        return static_cast<Holder<T>*>(slots_[index].get())->value;
    }

private:
    struct HolderBase
    {
        virtual ~HolderBase() = default;
    };
    template <class T> struct Holder : HolderBase
    {
        T value{};
    };
    static std::size_t NextSlotIndex();
    std::vector<std::unique_ptr<HolderBase>> slots_;
};

// Number of the running program thread; 0 outside every program thread.
ThreadNumber CurrentThread();

// The context of the running program thread (the context of "no thread" outside them).
ThreadContext& CurrentContext();

// Starts a procedure on a new program thread and returns its number; the procedure starts from the main loop
// once the caller gives way. Numbers are never reused. Every thread gets a stack of at least 8 MiB with a
// guard page (the small stacks the program asks for are raised to that); its pages are committed as used. Needs a QApplication. After
// EndProgramThreads() nothing starts and 0 is returned.
ThreadNumber StartProcedureThread(std::function<void()> procedure, std::size_t stackSize = 25000);

// True from StartProcedureThread until the thread's procedure has returned.
bool ThreadIsActive(ThreadNumber thread);

// Gives way to other program threads and to the event loop during long work; returns at the next turn.
void YieldNow();

// A thread that holds a write transaction may not give way: another thread would read its uncommitted
// writes through the shared connection. HoldYields (on the running thread) and ReleaseYields (by the
// thread's number) count the holds; meanwhile YieldNow refuses, returns at once and tells the fault, and a
// wait is told.
void HoldYields();
void ReleaseYields(ThreadNumber thread);
bool YieldsHeld(); // of the running thread

// Waits the given time while the event loop and the other threads go on.
void WaitMilliseconds(int milliseconds);

// How a thread waits: a dialog wait lasts until the user answers (the thread is idle meanwhile), a work wait
// ends by itself (a timer, a process).
enum class WaitKind
{
    Dialog,
    Work
};

// The waiting primitive under every wait: the running thread gives way until done() is true. Whoever makes
// done() true calls WakeThread() with the thread's number; the wake is queued to the main loop. done() is
// tested again after every resume, so extra wakes do no harm.
void WaitUntil(const std::function<bool()>& done, WaitKind kind);
void WakeThread(ThreadNumber thread);

// For tests and the test driver, called from the main stack (never from a program thread): runs Qt's event
// loop until every program thread has ended or is idle (waiting for an event of its top window or for the
// user's answer to a message box or dialog), or until timeoutMs has passed. Returns true when all are idle.
bool WaitForProgramThreads(int timeoutMs = 5000);

// Unwinds every unfinished thread (the destructors on its stack run) and refuses new ones. main calls it
// after Qt's loop has ended; test programs that leave threads waiting call it in cleanupTestCase().
void EndProgramThreads();

} // namespace jornix
