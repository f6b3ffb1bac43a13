#pragma once

// The event editor "Update Event": creates, changes or shows one log event (a row of LOG:) with its rich-text
// notes, its voice message, its document link and its date. Called on its list's thread with the request in
// GlobalRequestCode and the record in the thread's LOG: buffer; the response goes back in
// GlobalResponseCode (1 completed, 2 cancelled; always 2 when the event was only viewed).
namespace jornix {

void UpdateLogTX();

} // namespace jornix
