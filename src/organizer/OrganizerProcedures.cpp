#include "organizer/OrganizerProcedures.h"

#include "core/Procedures.h"
#include "organizer/MiniSrap.h"
#include "organizer/MiniStickyNotes.h"
#include "organizer/OverdueReminders.h"
#include "organizer/Reminder.h"
#include "organizer/Scrap.h"
#include "organizer/SelectScrap.h"
#include "organizer/StickyNotes.h"
#include "organizer/UpdateReminder.h"
#include "organizer/UpdateScrap.h"
#include "organizer/UpdateStickyNotes.h"

namespace jornix {

void RegisterOrganizerProcedures()
{
    RegisterProcedure(QStringLiteral("Scrap"), Scrap);
    RegisterProcedure(QStringLiteral("UpdateScrap"), UpdateScrap);
    RegisterProcedure(QStringLiteral("SelectScrap"), SelectScrap);
    RegisterProcedure(QStringLiteral("MiniSrap"), MiniSrap);
    RegisterProcedure(QStringLiteral("StickyNotes"), StickyNotes);
    RegisterProcedure(QStringLiteral("UpdateStickyNotes"), UpdateStickyNotes);
    RegisterProcedure(QStringLiteral("MiniStickyNotes"), MiniStickyNotes);
    RegisterProcedure(QStringLiteral("Reminder"), Reminder);
    RegisterProcedure(QStringLiteral("UpdateReminder"), UpdateReminder);
    RegisterProcedure(QStringLiteral("OverdueReminders"), OverdueReminders);
}

} // namespace jornix
