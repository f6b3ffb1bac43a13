#include "journal/JournalProcedures.h"

#include "core/Procedures.h"
#include "journal/DateView.h"
#include "journal/MigrateData.h"
#include "journal/UpdateLogTX.h"
#include "journal/UpdateMiscFields.h"

namespace jornix {

void RegisterJournalProcedures()
{
    RegisterProcedure(QStringLiteral("DateView"), DateView);
    RegisterProcedure(QStringLiteral("MigrateData"), MigrateData);
    RegisterProcedure(QStringLiteral("UpdateLogTX"), UpdateLogTX);
    RegisterProcedure(QStringLiteral("UpdateMiscFields"), UpdateMiscFields);
}

} // namespace jornix
