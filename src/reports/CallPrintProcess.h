#pragma once

#include <QString>

#include <functional>

// One print job of the print options, as the print engine takes it. Tests put a recorder in place of the
// engine to see what a window asked for.
namespace jornix {

struct PrintJobRequest
{
    int area = 0;
    qint32 layoutNumber = 0;
    int sortOrder = 0;
    int outputFormat = 0;
    int openOutputFile = 0;
    int showPrintOptions = 0;
    QString outputFile;
    QString criteria;
    QString filter;
};

void CallPrintProcess(const PrintJobRequest& request);

using PrintJobSink = std::function<void(const PrintJobRequest&)>;
void SetPrintJobSink(PrintJobSink sink); // an empty sink: the print engine again

} // namespace jornix
