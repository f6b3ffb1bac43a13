#pragma once

namespace jornix {

// The pane "Overdue Reminders" docked at the frame's side: every reminder that is due.
void OverdueReminders();

} // namespace jornix
