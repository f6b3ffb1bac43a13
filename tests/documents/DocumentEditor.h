#pragma once

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/ProgramThreads.h"

#include <functional>

// A TXEdit over a control of its own, as the windowless creators use it.
struct Editor
{
    jornix::RichTextControl control;
    jornix::TXEdit edit;
    Editor() { edit.Init(&control); }
};

// Runs the work on a program thread, as an editor's thread does, and waits until it has ended or waits.
inline void OnProgramThread(std::function<void()> work)
{
    jornix::StartProcedureThread(std::move(work));
    jornix::WaitForProgramThreads(5000);
}
