#pragma once

#include <QString>

// Why a sound or wave-file operation failed: a code and a text for the user. A code of 0 is no error.
namespace jornix {

struct SoundError
{
    int code = 0;
    QString text;

    explicit operator bool() const { return code != 0; }
};

} // namespace jornix
