#include "platform/runtime/ProgramThreads.h"

#include <map>

// Single-threaded stand-in: a started procedure runs to its end at once, in its own context.
namespace jornix {
namespace {
ThreadNumber current = 0;
ThreadNumber lastNumber = 0;
std::map<ThreadNumber, std::unique_ptr<ThreadContext>> contexts;
} // namespace

std::size_t ThreadContext::NextSlotIndex()
{
    static std::size_t next = 0;
    return next++;
}

ThreadNumber CurrentThread()
{
    return current;
}

ThreadContext& CurrentContext()
{
    auto& context = contexts[current];
    if (!context)
        context = std::make_unique<ThreadContext>();
    return *context;
}

ThreadNumber StartProcedureThread(std::function<void()> procedure, std::size_t)
{
    const ThreadNumber previous = current;
    current = ++lastNumber;
    procedure();
    contexts.erase(current);
    const ThreadNumber started = current;
    current = previous;
    return started;
}

void YieldNow() {}

} // namespace jornix
