#pragma once

namespace jornix {

// Search Log Events: the log events whose texts, and on request notes, hold a text, narrowed by dates, log
// type and the private flag; the results open in the event editor, copy, delete and print.
void Search();

} // namespace jornix
