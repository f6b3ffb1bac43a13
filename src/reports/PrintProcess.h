#pragma once

#include <QString>

// Prints, previews or exports the records of one report area through one report layout, on the caller's
// thread, and returns when the run has ended. The user sees the report engine's progress box, whose Cancel
// ends the run. The thread's GlobalResponseCode is Completed after a run that ended by itself, Cancelled
// after Cancel, a cancelled print-options dialog or a failure (which a message has told).
//
//   area               ReportArea 1-6
//   layoutNumber       LLL_:Ref of the layout
//   sortOrder          from 1, by the area's orders; another number reads in record order
//   outputFormat       OutputFormat 2-13
//   openOutputFile     1: the export opens the file it wrote
//   showPrintOptions   1: the engine's print-options dialog comes first
//   outputFile         the file of outputs 4-13, with its folder
//   filterDescription  the readable criteria ("ReportOptions.FilterDescription")
//   filter             an expression over the area's table; blank for every record
namespace jornix {

void PrintProcess(int area, qint32 layoutNumber, int sortOrder, int outputFormat, int openOutputFile,
                  int showPrintOptions, const QString& outputFile, const QString& filterDescription,
                  const QString& filter);

} // namespace jornix
