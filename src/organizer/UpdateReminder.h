#pragma once

namespace jornix {

// The form of one reminder, called on its list's thread with the request in GlobalRequestCode; it also
// keeps the reminder's link to a log event, a contact or a task.
void UpdateReminder();

} // namespace jornix
