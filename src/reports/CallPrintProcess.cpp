#include "reports/CallPrintProcess.h"

#include "reports/PrintProcess.h"

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
    PrintProcess(r.area, r.layoutNumber, r.sortOrder, r.outputFormat, r.openOutputFile, r.showPrintOptions,
                 r.outputFile, r.criteria, r.filter);
}

} // namespace jornix
