#include "journal/JournalProcedures.h"

#include "core/Procedures.h"
#include "journal/UpdateLogTX.h"

namespace jornix {

void RegisterJournalProcedures()
{
    RegisterProcedure(QStringLiteral("UpdateLogTX"), UpdateLogTX);
}

} // namespace jornix
