#pragma once

#include "platform/reportengine/ReportEngine.h"
#include "platform/reportengine/ReportJob.h"

#include <map>
#include <memory>

// The report engine itself: its open jobs by handle. Handles count up from 1 and are never given twice, so a
// handle kept after its job closed reaches no other job. All jobs live on Qt's GUI thread; program threads
// switch only where they wait, never inside a call, so the jobs need no lock.
//
// A print run lays out its records on pages (Pager) kept in a page file (PageSpool) and, when it ends,
// writes them to its target: the printer, the files of an export (ExportOutput.h), or the preview. The
// print-options dialog and the preview run thread-modal: the calling thread waits in them while the other
// threads go on, and so does the designer (LayoutDesigner).
namespace jornix {

class ReportJobs final : public ReportEngine
{
public:
    static constexpr int MaxJobs = 64;

    int LlJobOpen(int language) override;
    int LlJobClose(int job) override;
    int LlSetDebug(int flag) override;
    int LlSetOption(int job, int option, qint64 value) override;
    int LlSetOptionStringA(int job, int option, const QString& value) override;
    int LlGetOptionStringA(int job, int option, QString& buffer, int bufferSize) override;
    int LlSetFileExtensionsA(int job, int projectType, const QString& layoutExtension,
                             const QString& printerExtension, const QString& sketchExtension) override;
    int LlSetDlgboxMode(int mode) override;
    int LlDefineVariableStart(int job) override;
    int LlDefineFieldStart(int job) override;
    int LlDefineVariableExtA(int job, const QString& name, const QString& value, quint32 type,
                             int parameter) override;
    int LlDefineFieldExtA(int job, const QString& name, const QString& value, quint32 type,
                          int parameter) override;
    int LlDesignerProhibitAction(int job, int action) override;
    int LlDefineLayoutA(int job, QWidget* window, const QString& title, int projectType,
                        const QString& layoutFile) override;
    int LlSetPrinterToDefaultA(int job, int projectType, const QString& layoutFile) override;
    int LlPrintWithBoxStartA(int job, int projectType, const QString& layoutFile, int mode, int boxType,
                             QWidget* window, const QString& boxTitle) override;
    int LlPrintSetOptionStringA(int job, int option, const QString& value) override;
    int LlPrintOptionsDialogA(int job, QWidget* window, const QString& text) override;
    int LlPrint(int job) override;
    int LlPrintFields(int job) override;
    int LlPrintSetBoxTextA(int job, const QString& text, int percent) override;
    int LlPrintFieldsEnd(int job) override;
    int LlPrintEnd(int job, int flags) override;
    int LlPreviewDisplayA(int job, const QString& layoutFile, const QString& previewFolder,
                          QWidget* window) override;
    int LlPreviewDeleteFilesA(int job, const QString& layoutFile, const QString& previewFolder) override;
    int LlXSetParameterA(int job, int extensionType, const QString& format, const QString& key,
                         const QString& value) override;

    // The open job with this handle, or nullptr.
    ReportJob* Job(int job);
    const ReportJob* Job(int job) const;
    int OpenJobs() const { return int(jobs_.size()); }
    // What the progress box's Cancel does: the run's next print and box calls answer Cancelled.
    void Cancel(int job);

    bool DebugOn() const { return debug_; }
    int DialogMode() const { return dialogMode_; }

private:
    template <class... Arguments> int Traced(int result, const char* call, const Arguments&... arguments);
    template <class Work> int WithJob(int job, Work&& work);
    // Notes why a call was refused, for the job and the trace, and gives `result`.
    int Refused(ReportJob* job, int result, const QString& reason);
    // The job for a print call: in a run, not cancelled and, for list-only calls, on a list project.
    int PrintingJob(int job, ReportJob*& found, bool listOnly);

    std::map<int, std::unique_ptr<ReportJob>> jobs_;
    int lastHandle_ = 0;
    bool debug_ = false;
    int dialogMode_ = 0;
    QString lastReason_;
};

} // namespace jornix
