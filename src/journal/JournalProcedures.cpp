#include "journal/JournalProcedures.h"

#include "core/Procedures.h"
#include "journal/AllView.h"
#include "journal/DateView.h"
#include "journal/MigrateData.h"
#include "journal/UpdateLogTX.h"
#include "journal/Search.h"
#include "journal/SelectLogEvent.h"
#include "journal/UpdateMiscFields.h"

namespace jornix {

void RegisterJournalProcedures()
{
    RegisterProcedure(QStringLiteral("AllView"), AllView);
    RegisterProcedure(QStringLiteral("DateView"), DateView);
    RegisterProcedure(QStringLiteral("MigrateData"), MigrateData);
    RegisterProcedure(QStringLiteral("UpdateLogTX"), UpdateLogTX);
    RegisterProcedure(QStringLiteral("Search"), Search);
    RegisterProcedure(QStringLiteral("SelectLogEvent"), SelectLogEvent);
    RegisterProcedure(QStringLiteral("UpdateMiscFields"), UpdateMiscFields);
}

} // namespace jornix
