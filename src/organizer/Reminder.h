#pragma once

namespace jornix {

// The list window "Reminders".
void Reminder();

} // namespace jornix
