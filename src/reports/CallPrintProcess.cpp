#include "reports/CallPrintProcess.h"

#if __has_include("reports/PrintProcess.h")
#include "reports/PrintProcess.h"
#define JORNIX_HAS_PRINT_ENGINE 1
#endif

namespace jornix {
namespace {

PrintJobSink& Sink()
{
    static PrintJobSink sink;
    return sink;
}

} // namespace

void SetPrintJobSink(PrintJobSink sink)
{
    Sink() = std::move(sink);
}

void CallPrintProcess(const PrintJobRequest& r)
{
    if (Sink()) {
        Sink()(r);
        return;
    }
#ifdef JORNIX_HAS_PRINT_ENGINE
    PrintProcess(r.area, r.layoutNumber, r.sortOrder, r.outputFormat, r.openOutputFile, r.showPrintOptions,
                 r.outputFile, r.criteria, r.filter);
#endif
}

} // namespace jornix
