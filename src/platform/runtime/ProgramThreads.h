#pragma once

#include <QtGlobal>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// Program threads: each window procedure runs on a program thread of its own. Only one program thread runs at
// a time; a thread gives way only while it waits for its next event or sits in a short wait (message box,
// common dialog). Values that belong to one thread live in its ThreadContext.
namespace jornix {

using ThreadNumber = int;

// Values of one program thread. Every thread starts with all of them 0 and never sees another thread's.
class ThreadContext
{
public:
    quint8 GlobalRequestCode = 0;  // request handed to the next procedure called on this thread
    quint8 GlobalResponseCode = 0; // response of the last procedure that returned on this thread
    qint32 VCRRequest = 0;         // scroll request shared by a form and the list that called it

    // A value of type T private to this thread, value-initialised at its first use. Later layers keep their
    // per-thread state here (record buffers, open counts, the error reporter's procedure name ...).
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

// Starts a procedure on a new program thread and returns its number. Numbers are never reused.
ThreadNumber StartProcedureThread(std::function<void()> procedure, std::size_t stackSize = 25000);

// Gives way to other program threads and to the event loop during long work.
void YieldNow();

} // namespace jornix
