#include "reports/ReportsProcedures.h"

#include "core/Procedures.h"
#include "reports/PrintOptions.h"
#include "reports/PrintRec.h"

namespace jornix {

void RegisterReportsProcedures()
{
    RegisterProcedure(QStringLiteral("PrintRec"), RunPrintRec);
    RegisterProcedure(QStringLiteral("PrintOptions"), PrintOptions);
}

} // namespace jornix
