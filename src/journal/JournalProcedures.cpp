#include "journal/JournalProcedures.h"

#include "core/Procedures.h"
#include "journal/DateView.h"

namespace jornix {

void RegisterJournalProcedures()
{
    RegisterProcedure(QStringLiteral("DateView"), DateView);
}

} // namespace jornix
