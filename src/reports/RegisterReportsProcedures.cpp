#include "reports/RegisterReportsProcedures.h"

#include "core/Procedures.h"
#include "reports/ReportDesigner.h"
#include "reports/UpdateReportDesign.h"

namespace jornix {

void RegisterReportsProcedures()
{
    RegisterProcedure(QStringLiteral("ReportDesigner"), ReportDesigner);
    RegisterProcedure(QStringLiteral("UpdateReportDesign"), UpdateReportDesign);
}

} // namespace jornix
