#pragma once

#include "platform/runtime/ProgramThreads.h"

#include <functional>

namespace jornix {

// The program's own event that tells a list window to re-read its rows.
inline constexpr int RefreshEvent = 2133;

// Posts RefreshEvent to the thread of every open list window and returns at once; nothing while
// RefreshSuppressed is set.
void BroadcastRefresh();

// How the broadcast posts an event (event, control, thread). Tests set their own to see the posts; an empty
// function restores the runtime's PostEvent.
using EventPoster = std::function<void(int event, int control, ThreadNumber thread)>;
void SetRefreshPoster(EventPoster poster);

} // namespace jornix
