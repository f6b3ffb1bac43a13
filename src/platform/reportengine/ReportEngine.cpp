#include "platform/reportengine/ReportEngine.h"

#include "platform/reportengine/ReportJobs.h"

namespace jornix {

namespace {
ReportEngine* replacement = nullptr;
}

ReportEngine& TheReportEngine()
{
    static ReportJobs engine;
    return replacement ? *replacement : engine;
}

void SetReportEngine(ReportEngine* engine)
{
    replacement = engine;
}

} // namespace jornix
