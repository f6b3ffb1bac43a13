#pragma once

#include "documents/TXEdit.h"
#include "platform/richtext/RichTextControl.h"

// A TXEdit over a control of its own, as the windowless creators use it.
struct Editor
{
    jornix::RichTextControl control;
    jornix::TXEdit edit;
    Editor() { edit.Init(&control); }
};
