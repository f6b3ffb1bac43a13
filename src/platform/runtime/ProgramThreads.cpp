#include "platform/runtime/ProgramThreads.h"

#include "platform/runtime/SchedulerInternals.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include <boost/context/protected_fixedsize_stack.hpp>

#include <exception>
#include <map>

#if defined(JORNIX_SANITIZE)
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

// Program threads as fibers on Qt's GUI thread. Only the main stack resumes fibers, from a queued call of the
// main loop; a fiber gives way by switching back to the main stack. AddressSanitizer is told of every switch,
// since the system's Boost.Context does not do it.
namespace jornix {
namespace scheduler {
namespace {

// Mapped, not committed: the pages of a stack are taken from the system as the thread first touches them.
constexpr std::size_t MinimumStack = 8 * 1024 * 1024;

struct Scheduler
{
    std::map<ThreadNumber, std::unique_ptr<ProgramThread>> threads;
    ThreadNumber lastNumber = 0;
    ProgramThread* running = nullptr;
    std::deque<ThreadNumber> runQueue;
    bool ended = false;
    // Resumes the queued threads from the main loop. A zero timer rather than a posted event, so that posted
    // events, timers and input all get their turn between two turns of the threads.
    QPointer<QTimer> turn;
    // The main stack, as AddressSanitizer reported it at the first switch into a fiber.
    const void* mainStackBottom = nullptr;
    std::size_t mainStackSize = 0;
    void* mainFakeStack = nullptr;
};

// Never destroyed: fibers left at the very end of the process are not unwound during static destruction.
Scheduler& S()
{
    static Scheduler* scheduler = new Scheduler;
    return *scheduler;
}

ThreadContext& NoThreadContext()
{
    static ThreadContext context;
    return context;
}

// Tells AddressSanitizer that the running code leaves its stack for another one; `save` keeps the fake stack
// of the stack being left (nullptr when that stack is finished for good).
void StartSwitch(void** save, const void* bottom, std::size_t size)
{
#if defined(JORNIX_SANITIZE)
    __sanitizer_start_switch_fiber(save, bottom, size);
#else
    Q_UNUSED(save);
    Q_UNUSED(bottom);
    Q_UNUSED(size);
#endif
}

void FinishSwitch(void* fakeStack, const void** fromBottom = nullptr, std::size_t* fromSize = nullptr)
{
#if defined(JORNIX_SANITIZE)
    __sanitizer_finish_switch_fiber(fakeStack, fromBottom, fromSize);
#else
    Q_UNUSED(fakeStack);
    Q_UNUSED(fromBottom);
    Q_UNUSED(fromSize);
#endif
}

const void* StackBottom(const ProgramThread& thread)
{
    return static_cast<const char*>(thread.stack.sp) - thread.stack.size;
}

// The fiber's stack: protected, with a guard page, and its place noted for AddressSanitizer.
class NotedStack
{
public:
    NotedStack(std::size_t size, boost::context::stack_context* note) : stack_(size), note_(note) {}
    boost::context::stack_context allocate()
    {
        *note_ = stack_.allocate();
        return *note_;
    }
    // The frames that never returned (the fiber's entry) leave their redzones poisoned; a stack mapped later
    // at the same place must not inherit them.
    void deallocate(boost::context::stack_context& context) noexcept
    {
#if defined(JORNIX_SANITIZE)
        ASAN_UNPOISON_MEMORY_REGION(static_cast<char*>(context.sp) - context.size, context.size);
#endif
        stack_.deallocate(context);
    }

private:
    boost::context::protected_fixedsize_stack stack_;
    boost::context::stack_context* note_;
};

void RunTurn();

void PostTurn()
{
    Scheduler& s = S();
    if (s.ended)
        return;
    if (!s.turn) {
        if (!QCoreApplication::instance())
            qFatal("Program threads need a QApplication");
        s.turn = new QTimer(QCoreApplication::instance());
        s.turn->setSingleShot(true);
        s.turn->setInterval(0);
        QObject::connect(s.turn, &QTimer::timeout, s.turn, [] { RunTurn(); });
    }
    if (!s.turn->isActive())
        s.turn->start();
}

void Queue(ProgramThread& thread)
{
    if (thread.queued || thread.state == State::Running)
        return;
    thread.queued = true;
    S().runQueue.push_back(thread.number);
    PostTurn();
}

// An event loop that runs while a fiber runs is an exec() or processEvents() on the fiber's stack.
void WatchEventLoops()
{
    static bool watching = false;
    if (watching)
        return;
    QAbstractEventDispatcher* dispatcher =
        QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
    if (!dispatcher)
        return;
    watching = true;
    const auto check = [] {
        // Release builds go on: told once per thread, not at every turn of that loop.
        if (ProgramThread* thread = S().running; thread && !thread->eventLoopReported) {
            thread->eventLoopReported = true;
            Fault("an event loop was started on the stack of program thread %d", thread->number);
        }
    };
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, check,
                     Qt::DirectConnection);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, dispatcher, check, Qt::DirectConnection);
}

void Report(ThreadNumber number, const char* what)
{
    qCritical("Program thread %d ended by an exception: %s", number, what);
}

boost::context::fiber MakeFiber(ProgramThread* thread)
{
    return boost::context::fiber(std::allocator_arg,
                                 NotedStack(std::max(thread->stackSize, MinimumStack), &thread->stack),
                                 [thread](boost::context::fiber&& caller) {
                                     thread->caller = std::move(caller);
                                     FinishSwitch(nullptr, &S().mainStackBottom, &S().mainStackSize);
                                     // No exception leaves the fiber, but Boost's forced unwinding must pass
                                     // to the fiber's entry.
                                     try {
                                         thread->procedure();
                                     } catch (const boost::context::detail::forced_unwind&) {
                                         StartSwitch(nullptr, S().mainStackBottom, S().mainStackSize);
                                         throw;
                                     } catch (const std::exception& error) {
                                         Report(thread->number, error.what());
                                     } catch (...) {
                                         Report(thread->number, "unknown exception");
                                     }
                                     StartSwitch(nullptr, S().mainStackBottom, S().mainStackSize);
                                     return std::move(thread->caller);
                                 });
}

// Main stack only: runs the thread until it gives way or ends.
void Resume(ProgramThread& thread)
{
    Scheduler& s = S();
    if (thread.state == State::New)
        thread.fiber = MakeFiber(&thread);
    s.running = &thread;
    thread.state = State::Running;
    StartSwitch(&s.mainFakeStack, StackBottom(thread), thread.stack.size);
    thread.fiber = std::move(thread.fiber).resume();
    FinishSwitch(s.mainFakeStack);
    s.running = nullptr;
    if (!thread.fiber)
        s.threads.erase(thread.number); // ended: its context goes with it
}

void RunTurn()
{
    Scheduler& s = S();
    if (s.running) {
        // An event loop on a fiber's stack (release builds go on): told once for that thread. The queued
        // threads wait for the turn that the outer RunTurn posts when the fiber has given way; arming the
        // timer again here would spin the nested loop at full speed.
        if (!s.running->resumeReported) {
            s.running->resumeReported = true;
            Fault("a resume was requested while program thread %d runs", s.running->number);
        }
        return;
    }
    // Only the threads queued before this turn run now, so that a thread that yields lets the loop in.
    std::deque<ThreadNumber> turn;
    turn.swap(s.runQueue);
    for (ThreadNumber number : turn) {
        ProgramThread* thread = Find(number);
        if (!thread)
            continue;
        thread->queued = false;
        if (thread->state != State::Running && !s.ended)
            Resume(*thread);
    }
    if (!s.runQueue.empty())
        PostTurn();
}

// Fiber only: gives way to the main stack until the scheduler resumes this thread.
void Suspend(ProgramThread& thread, WaitKind kind)
{
    if (thread.unwinding)
        return;
    thread.state = State::Suspended;
    thread.waitKind = kind;
    StartSwitch(&thread.fakeStack, S().mainStackBottom, S().mainStackSize);
    try {
        thread.caller = std::move(thread.caller).resume();
    } catch (const boost::context::detail::forced_unwind&) {
        FinishSwitch(thread.fakeStack);
        throw;
    }
    FinishSwitch(thread.fakeStack, &S().mainStackBottom, &S().mainStackSize);
}

bool Idle(const ProgramThread& thread)
{
    return thread.state == State::Suspended && !thread.queued && thread.waitKind == WaitKind::Dialog;
}

} // namespace

ProgramThread* Running()
{
    return S().running;
}

ProgramThread* Find(ThreadNumber number)
{
    auto found = S().threads.find(number);
    return found == S().threads.end() ? nullptr : found->second.get();
}

void Enqueue(std::deque<FrameworkEvent>& queue, const FrameworkEvent& event)
{
    if (event.event == Event::Size || event.event == Event::Sized || event.event == Event::Timer) {
        for (const FrameworkEvent& waiting : queue)
            if (waiting.event == event.event && waiting.control == event.control)
                return;
    }
    queue.push_back(event);
}

void Fault(const char* message, ThreadNumber thread)
{
    const QByteArray text =
        "Program threads: " + QByteArray(message).replace("%d", QByteArray::number(thread));
    // Tests stop at the first misuse; the installed program tells it and goes on, so that no open form
    // loses what it holds.
    static const bool strict = qEnvironmentVariableIntValue("JORNIX_STRICT_RUNTIME") != 0;
    if (strict)
        qFatal("%s", text.constData());
    qCritical("%s", text.constData());
}

} // namespace scheduler

using namespace scheduler;

std::size_t ThreadContext::NextSlotIndex()
{
    static std::size_t next = 0;
    return next++;
}

ThreadNumber CurrentThread()
{
    ProgramThread* thread = Running();
    return thread ? thread->number : 0;
}

ThreadContext& CurrentContext()
{
    ProgramThread* thread = Running();
    return thread ? thread->context : NoThreadContext();
}

ThreadNumber StartProcedureThread(std::function<void()> procedure, std::size_t stackSize)
{
    Scheduler& s = S();
    if (s.ended)
        return 0;
    WatchEventLoops();
    auto thread = std::make_unique<ProgramThread>();
    thread->number = ++s.lastNumber;
    thread->procedure = std::move(procedure);
    thread->stackSize = stackSize;
    ProgramThread& started = *thread;
    s.threads.emplace(started.number, std::move(thread));
    Queue(started);
    return started.number;
}

bool ThreadIsActive(ThreadNumber thread)
{
    return Find(thread) != nullptr;
}

void HoldYields()
{
    if (ProgramThread* thread = Running())
        ++thread->yieldHolds;
}

void ReleaseYields(ThreadNumber number)
{
    if (ProgramThread* thread = Find(number); thread && thread->yieldHolds > 0)
        --thread->yieldHolds;
}

bool YieldsHeld()
{
    const ProgramThread* thread = Running();
    return thread && thread->yieldHolds > 0;
}

namespace {

void ReportHeldYield(const ProgramThread& thread, const char* what)
{
    qCritical("Program threads: program thread %d %s while it holds a write transaction", thread.number,
              what);
}

} // namespace

void WaitUntil(const std::function<bool()>& done, WaitKind kind)
{
    ProgramThread* thread = Running();
    if (!thread) {
        if (!done())
            Fault("a wait was asked for outside every program thread");
        return;
    }
    // A wait cannot be refused (its end would never come): it is told, and the transaction stays held.
    if (thread->yieldHolds > 0 && !done())
        ReportHeldYield(*thread, "waits");
    while (!done() && !thread->unwinding)
        Suspend(*thread, kind);
}

void WakeThread(ThreadNumber number)
{
    if (ProgramThread* thread = Find(number); thread && thread->state == State::Suspended)
        Queue(*thread);
}

void YieldNow()
{
    ProgramThread* thread = Running();
    if (!thread || thread->unwinding)
        return;
    if (thread->yieldHolds > 0) {
        ReportHeldYield(*thread, "may not give way");
        return; // refused: the work goes on without giving way
    }
    thread->state = State::Suspended;
    Queue(*thread);
    Suspend(*thread, WaitKind::Work);
}

void WaitMilliseconds(int milliseconds)
{
    const ThreadNumber number = CurrentThread();
    bool done = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&done, number] {
        done = true;
        WakeThread(number);
    });
    timer.start(std::max(0, milliseconds));
    WaitUntil([&done] { return done; }, WaitKind::Work);
}

bool WaitForProgramThreads(int timeoutMs)
{
    Scheduler& s = S();
    if (s.running) {
        Fault("WaitForProgramThreads was called on program thread %d", s.running->number);
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QCoreApplication::sendPostedEvents();
        bool idle = s.runQueue.empty();
        for (const auto& [number, thread] : s.threads)
            idle = idle && Idle(*thread);
        if (idle)
            return true;
        if (deadline.hasExpired())
            return false;
        // Sleeps until the next event or, at the latest, the deadline.
        QTimer wakeUp;
        wakeUp.start(std::max<qint64>(1, deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void EndProgramThreads()
{
    Scheduler& s = S();
    if (s.running) {
        Fault("EndProgramThreads was called on program thread %d", s.running->number);
        return;
    }
    s.ended = true;
    s.runQueue.clear();
    while (!s.threads.empty()) {
        ProgramThread& thread = *s.threads.begin()->second;
        if (thread.fiber) {
            // Destroying a suspended fiber unwinds its stack; the thread runs meanwhile and may not give way.
            thread.unwinding = true;
            s.running = &thread;
            StartSwitch(&s.mainFakeStack, StackBottom(thread), thread.stack.size);
            {
                boost::context::fiber unwound = std::move(thread.fiber);
            }
            FinishSwitch(s.mainFakeStack);
            s.running = nullptr;
        }
        s.threads.erase(s.threads.begin());
    }
}

} // namespace jornix
