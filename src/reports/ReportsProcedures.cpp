#include "reports/ReportsProcedures.h"

#include "core/Procedures.h"
#include "reports/PrintRec.h"

namespace jornix {

void RegisterReportsProcedures()
{
    RegisterProcedure(QStringLiteral("PrintRec"), RunPrintRec);
}

} // namespace jornix
