#pragma once

// The scheduler's records of the program threads, shared by the runtime's own files only.

#include "platform/runtime/FrameworkEvents.h"
#include "platform/runtime/ProgramThreads.h"

#include <boost/context/fiber.hpp>

#include <deque>
#include <vector>

namespace jornix {

class ProgramWindow;

namespace scheduler {

enum class State
{
    New,
    Running,
    Suspended
};

struct ProgramThread
{
    ThreadNumber number = 0;
    std::function<void()> procedure;
    std::size_t stackSize = 0;
    boost::context::fiber fiber;  // the suspended fiber, while it does not run
    boost::context::fiber caller; // the main stack, while the fiber runs
    boost::context::stack_context stack;
    void* fakeStack = nullptr; // AddressSanitizer's fake stack of the fiber while it is switched out
    State state = State::New;
    WaitKind waitKind = WaitKind::Work;
    bool queued = false;    // in the run queue
    bool unwinding = false; // being unwound at the end of the program: it never gives way again
    ThreadContext context;
    std::vector<ProgramWindow*> windows;  // bottom first
    std::deque<FrameworkEvent> pending;   // posted while the thread had no window
    ProgramWindow* eventWaiter = nullptr; // the window whose WaitEvent the thread sits in
    int shortWaits = 0;                   // message boxes and common dialogs open
    int yieldHolds = 0;                   // write transactions open: the thread may not give way
    bool eventLoopReported = false;       // an event loop on its stack was told
    bool resumeReported = false;          // a resume asked for while it ran was told
};

ProgramThread* Running();
ProgramThread* Find(ThreadNumber number);

// Queues an event, keeping a single Size, Sized or Timer of the same control.
void Enqueue(std::deque<FrameworkEvent>& queue, const FrameworkEvent& event);

// Scheduler misuse: stops the program in strict builds, logs otherwise.
void Fault(const char* message, ThreadNumber thread = 0); // %d in the message stands for the thread

} // namespace scheduler

void ApplyThreadBlocking(ThreadNumber thread);

} // namespace jornix
