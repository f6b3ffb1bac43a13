#pragma once

#include "platform/reportengine/PageSpool.h"
#include "platform/reportengine/Pager.h"
#include "platform/reportengine/ProgressBox.h"
#include "platform/reportengine/RowRecorder.h"
#include "platform/reportengine/RowSpool.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>

#include <functional>
#include <memory>

// What a print run of a job holds beside the job's own state: the spool of its pages, the pager that fills
// it, the progress box and the choices of the print-options dialog. The job keeps it after the run ends
// while a preview may still show the pages; deleting the preview's files or closing the job ends it.
namespace jornix {

struct ReportJob;

// Print targets, as option string 2 and the export formats name them.
namespace PrintTarget {
inline const QString Preview = QStringLiteral("PRV");
inline const QString Printer = QStringLiteral("PRN");
} // namespace PrintTarget

struct PrintRun
{
    PageSpool spool;
    std::unique_ptr<Pager> pager;
    std::unique_ptr<ProgressBox> box;
    // The records as table rows, kept when the run may end in an export that writes tables.
    std::unique_ptr<RowRecorder> recorder;
    std::unique_ptr<RowSpool> rows;
    QElapsedTimer sinceYield;
    int fromPage = 0; // the print-options dialog's pages; 0: from the first, to the last
    int toPage = 0;
    bool previewReady = false; // the run ended with pages for the preview

    // The pages to output, as spool indexes.
    QList<int> Pages() const;
};

// The target of the run: the mode's, or option string 2 after a start that leaves the choice.
QString RunTarget(const ReportJob& job);

// Starts the run of a job whose layout has been read: its spool, pager and, for box type 3, its progress box.
// False with the reason in `error` when the page file cannot be made.
bool StartRun(ReportJob& job, QString& error);

// Keeps the record just printed as table rows, when the run keeps them. Rows that cannot be written are all
// dropped, so that a table export of the run says so rather than writing part of the records.
void KeepRecordRows(ReportJob& job);

// Gives way now and then during the run so that the box paints and other threads go on.
void YieldDuringRun(ReportJob& job);

// What the run prints: the layout's description, else the box title.
QString RunTitle(const ReportJob& job);

// Prints pages of the spool on the job's printer; `file` is the PDF written when the settings print to a
// file.
bool PrintRunPages(const ReportJob& job, PageSpool& spool, const QList<int>& pages,
                   const std::function<bool(int done)>& progress, QString& file, QString& error);

// Ends the run: closes the last page and writes the output of its target (printer, an export), or keeps the
// pages for the preview. A cancelled run writes nothing. Answers a ReportResult; `error` says why one failed.
int EndRun(ReportJob& job, QString& error);

} // namespace jornix
