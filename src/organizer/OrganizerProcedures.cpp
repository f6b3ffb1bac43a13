#include "organizer/OrganizerProcedures.h"

#include "core/Procedures.h"
#include "organizer/Contacts.h"
#include "organizer/MiniSrap.h"
#include "organizer/MiniStickyNotes.h"
#include "organizer/OverdueReminders.h"
#include "organizer/Reminder.h"
#include "organizer/Scrap.h"
#include "organizer/SelectContact.h"
#include "organizer/SelectScrap.h"
#include "organizer/SelectTask.h"
#include "organizer/StickyNotes.h"
#include "organizer/Tasks.h"
#include "organizer/UpdateContact.h"
#include "organizer/UpdateReminder.h"
#include "organizer/UpdateScrap.h"
#include "organizer/UpdateStickyNotes.h"
#include "organizer/UpdateTask.h"

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
    RegisterProcedure(QStringLiteral("Tasks"), Tasks);
    RegisterProcedure(QStringLiteral("UpdateTask"), UpdateTask);
    RegisterProcedure(QStringLiteral("SelectTask"), SelectTask);
    RegisterProcedure(QStringLiteral("Contacts"), Contacts);
    RegisterProcedure(QStringLiteral("UpdateContact"), UpdateContact);
    RegisterProcedure(QStringLiteral("SelectContact"), SelectContact);
    RegisterProcedure(QStringLiteral("Reminder"), Reminder);
    RegisterProcedure(QStringLiteral("UpdateReminder"), UpdateReminder);
    RegisterProcedure(QStringLiteral("OverdueReminders"), OverdueReminders);
}

} // namespace jornix
