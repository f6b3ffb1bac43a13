#include "reports/ReportsProcedures.h"

#include "core/Procedures.h"
#include "reports/PrintOptions.h"
#include "reports/PrintRec.h"
#include "reports/ReportDesigner.h"
#include "reports/ResetReportLayouts.h"
#include "reports/UpdateReportDesign.h"

namespace jornix {

void RegisterReportsProcedures()
{
    RegisterProcedure(QStringLiteral("PrintRec"), RunPrintRec);
    RegisterProcedure(QStringLiteral("PrintOptions"), PrintOptions);
    // The first-run setup installs the factory layouts through the table, asking nothing.
    RegisterProcedure(QStringLiteral("ResetReportLayouts"), [] { ResetReportLayouts(0); });
    RegisterProcedure(QStringLiteral("ReportDesigner"), ReportDesigner);
    RegisterProcedure(QStringLiteral("UpdateReportDesign"), UpdateReportDesign);
}

} // namespace jornix
