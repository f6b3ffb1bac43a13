#include "journal/JournalProcedures.h"

#include "core/Procedures.h"
#include "journal/AllView.h"
#include "journal/DateView.h"
#include "journal/Search.h"
#include "journal/SelectLogEvent.h"
#include "journal/UpdateMiscFields.h"

namespace jornix {

void RegisterJournalProcedures()
{
    RegisterProcedure(QStringLiteral("AllView"), AllView);
    RegisterProcedure(QStringLiteral("DateView"), DateView);
    RegisterProcedure(QStringLiteral("Search"), Search);
    RegisterProcedure(QStringLiteral("SelectLogEvent"), SelectLogEvent);
    RegisterProcedure(QStringLiteral("UpdateMiscFields"), UpdateMiscFields);
}

} // namespace jornix
