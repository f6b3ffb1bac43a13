#pragma once

namespace jornix {

// The modal list from which a form picks a log event, on the caller's thread: "completed" with the chosen
// event in the caller's buffer of the log events, or "cancelled".
void SelectLogEvent();

} // namespace jornix
