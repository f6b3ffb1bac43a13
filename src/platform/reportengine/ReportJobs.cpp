#include "platform/reportengine/ReportJobs.h"

#include "platform/reportengine/LayoutDesigner.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/reportengine/PreviewWindow.h"
#include "platform/reportengine/PrintOptionsDialog.h"
#include "platform/reportengine/PrintRun.h"
#include "platform/reportengine/PrinterOutput.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramWindow.h"

#include <QDebug>
#include <QFileInfo>

namespace jornix {

using namespace ReportResult;

namespace {

std::optional<ProjectType> ProjectTypeOf(int type)
{
    if (type >= int(ProjectType::Label) && type <= int(ProjectType::Card))
        return ProjectType(type);
    return std::nullopt;
}

const char* ProjectName(ProjectType type)
{
    switch (type) {
    case ProjectType::Label:
        return "label";
    case ProjectType::List:
        return "list";
    case ProjectType::Card:
        return "card";
    }
    return "";
}

PrintChoices ChoicesOf(const ReportJob& job)
{
    PrintChoices choices;
    choices.printer = job.printer.Value(PrinterKey::Printer);
    choices.copies = std::max(job.printer.Value(PrinterKey::Copies).toInt(), 1);
    if (job.run) {
        choices.fromPage = job.run->fromPage;
        choices.toPage = job.run->toPage;
    }
    choices.target = job.printOptionStrings.value(ReportOptionString::PrintTarget).trimmed().toUpper();
    return choices;
}

void TakeChoices(ReportJob& job, const PrintChoices& choices, bool withOutput)
{
    job.printer.SetValue(PrinterKey::Printer, choices.printer);
    job.printer.SetValue(PrinterKey::Copies, QString::number(choices.copies));
    if (job.run) {
        job.run->fromPage = choices.fromPage;
        job.run->toPage = choices.toPage;
    }
    if (withOutput)
        job.printOptionStrings[ReportOptionString::PrintTarget] = choices.target;
}

// Print in the preview: the print-options dialog without the output choice, then the printer.
void PrintFromPreview(ReportJob& job, PrintRun& run)
{
    PrintOptionsDialog dialog(RunTitle(job), false);
    dialog.SetChoices(ChoicesOf(job));
    if (RunThreadModal(dialog) != QDialog::Accepted)
        return;
    TakeChoices(job, dialog.Choices(), false);
    QString file, error;
    if (!PrintRunPages(job, run.spool, run.Pages(), {}, file, error))
        ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, QStringLiteral("Print"),
                       QStringLiteral("The report cannot be printed: %1.").arg(error));
}

bool UsableExtension(const QString& extension)
{
    return !extension.isEmpty() && !extension.contains(QLatin1Char('/')) &&
           !extension.contains(QLatin1Char('.'));
}

} // namespace

template <class... Arguments>
int ReportJobs::Traced(int result, const char* call, const Arguments&... arguments)
{
    if (debug_) {
        QString line = QStringLiteral("report engine: ") + CallText(call, arguments...) +
                       QStringLiteral(" = ") + QString::number(result);
        if (result < 0 && !lastReason_.isEmpty())
            line += QStringLiteral(" (") + lastReason_ + QLatin1Char(')');
        qInfo().noquote() << line;
    }
    lastReason_.clear();
    return result;
}

int ReportJobs::Refused(ReportJob* job, int result, const QString& reason)
{
    if (job)
        job->lastError = reason;
    lastReason_ = reason;
    return result;
}

template <class Work> int ReportJobs::WithJob(int job, Work&& work)
{
    ReportJob* found = Job(job);
    return found ? work(*found) : Refused(nullptr, BadJob, QStringLiteral("no open job has this handle"));
}

int ReportJobs::PrintingJob(int job, ReportJob*& found, bool listOnly)
{
    found = Job(job);
    if (!found)
        return Refused(nullptr, BadJob, QStringLiteral("no open job has this handle"));
    if (found->stage != JobStage::Printing)
        return Refused(found, NotPrinting, QStringLiteral("the job is not printing"));
    if (listOnly && found->projectType != ProjectType::List)
        return Refused(found, NotPrinting, QStringLiteral("the call serves list projects only"));
    if (found->cancelled)
        return Cancelled;
    return Ok;
}

ReportJob* ReportJobs::Job(int job)
{
    const auto found = jobs_.find(job);
    return found == jobs_.end() ? nullptr : found->second.get();
}

const ReportJob* ReportJobs::Job(int job) const
{
    const auto found = jobs_.find(job);
    return found == jobs_.end() ? nullptr : found->second.get();
}

void ReportJobs::Cancel(int job)
{
    if (ReportJob* found = Job(job))
        found->cancelled = true;
}

// --- set-up

int ReportJobs::LlJobOpen(int language)
{
    int result = NoMoreJobs;
    if (OpenJobs() >= MaxJobs) {
        Refused(nullptr, result, QStringLiteral("%1 jobs are open").arg(MaxJobs));
    } else {
        auto job = std::make_unique<ReportJob>();
        job->handle = result = ++lastHandle_;
        job->language = language;
        job->thread = CurrentThread();
        jobs_.emplace(result, std::move(job));
    }
    return Traced(result, "LlJobOpen", language);
}

int ReportJobs::LlJobClose(int job)
{
    const int result = WithJob(job, [&](ReportJob&) -> int {
        jobs_.erase(job);
        return Ok;
    });
    return Traced(result, "LlJobClose", job);
}

int ReportJobs::LlSetDebug(int flag)
{
    debug_ = flag != 0;
    return Traced(Ok, "LlSetDebug", flag);
}

int ReportJobs::LlSetOption(int job, int option, qint64 value)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        found.options[option] = value;
        return Ok;
    });
    return Traced(result, "LlSetOption", job, option, value);
}

int ReportJobs::LlSetOptionStringA(int job, int option, const QString& value)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        if (option == ReportOptionString::FilesWritten)
            return Refused(&found, BadParameter, QStringLiteral("the list of files written is the engine's"));
        found.optionStrings[option] = value;
        return Ok;
    });
    return Traced(result, "LlSetOptionStringA", job, option, value);
}

int ReportJobs::LlGetOptionStringA(int job, int option, QString& buffer, int bufferSize)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        if (bufferSize <= 0)
            return Refused(&found, BadParameter, QStringLiteral("the buffer has no room"));
        buffer = option == ReportOptionString::FilesWritten ? found.filesWritten.join(QLatin1Char(';'))
                 : option == ReportOptionString::LastError  ? found.lastError
                                                            : found.optionStrings.value(option);
        return Ok;
    });
    return Traced(result, "LlGetOptionStringA", job, option, buffer, bufferSize);
}

int ReportJobs::LlSetFileExtensionsA(int job, int projectType, const QString& layoutExtension,
                                     const QString& printerExtension, const QString& sketchExtension)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        if (!ProjectTypeOf(projectType))
            return Refused(&found, BadParameter, QStringLiteral("no such project type"));
        if (!UsableExtension(layoutExtension) || !UsableExtension(printerExtension) ||
            !UsableExtension(sketchExtension))
            return Refused(&found, BadParameter,
                           QStringLiteral("an extension is empty or holds \".\" or \"/\""));
        found.extensions[projectType] = {layoutExtension, printerExtension, sketchExtension};
        return Ok;
    });
    return Traced(result, "LlSetFileExtensionsA", job, projectType, layoutExtension, printerExtension,
                  sketchExtension);
}

int ReportJobs::LlSetDlgboxMode(int mode)
{
    dialogMode_ = mode;
    return Traced(Ok, "LlSetDlgboxMode", mode);
}

// --- items

int ReportJobs::LlDefineVariableStart(int job)
{
    const int result = WithJob(job, [](ReportJob& found) -> int {
        found.variables.Clear();
        return Ok;
    });
    return Traced(result, "LlDefineVariableStart", job);
}

int ReportJobs::LlDefineFieldStart(int job)
{
    const int result = WithJob(job, [](ReportJob& found) -> int {
        found.fields.Clear();
        return Ok;
    });
    return Traced(result, "LlDefineFieldStart", job);
}

int ReportJobs::LlDefineVariableExtA(int job, const QString& name, const QString& value, quint32 type,
                                     int parameter)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        QString error;
        return found.variables.Declare(name, value, type, &error) ? Ok : Refused(&found, BadParameter, error);
    });
    return Traced(result, "LlDefineVariableExtA", job, name, value, type, parameter);
}

int ReportJobs::LlDefineFieldExtA(int job, const QString& name, const QString& value, quint32 type,
                                  int parameter)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        QString error;
        return found.fields.Declare(name, value, type, &error) ? Ok : Refused(&found, BadParameter, error);
    });
    return Traced(result, "LlDefineFieldExtA", job, name, value, type, parameter);
}

// --- design

int ReportJobs::LlDesignerProhibitAction(int job, int action)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        found.prohibitedActions.insert(action);
        return Ok;
    });
    return Traced(result, "LlDesignerProhibitAction", job, action);
}

int ReportJobs::LlDefineLayoutA(int job, QWidget* window, const QString& title, int projectType,
                                const QString& layoutFile)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        if (!ProjectTypeOf(projectType))
            return Refused(&found, BadParameter, QStringLiteral("no such project type"));
        if (found.stage == JobStage::Printing)
            return Refused(&found, AlreadyPrinting, QStringLiteral("the job is printing"));
        if (!CurrentThread())
            return Refused(&found, BadParameter, QStringLiteral("the designer runs on a program thread"));
        // The designer keeps a copy of the job: another thread may close the job itself meanwhile.
        const ProjectType type = ProjectType(projectType);
        return RunLayoutDesigner(*this, found, title, type, found.LayoutPath(type, layoutFile));
    });
    return Traced(result, "LlDefineLayoutA", job, window, title, projectType, layoutFile);
}

// --- print

int ReportJobs::LlSetPrinterToDefaultA(int job, int projectType, const QString& layoutFile)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        const auto type = ProjectTypeOf(projectType);
        if (!type)
            return Refused(&found, BadParameter, QStringLiteral("no such project type"));
        // Unreadable settings are no reason to refuse the run: the default printer serves instead.
        QString error;
        if (!found.printer.Read(found.PrinterSettingsPath(*type, layoutFile), error))
            found.lastError = error;
        return Ok;
    });
    return Traced(result, "LlSetPrinterToDefaultA", job, projectType, layoutFile);
}

int ReportJobs::LlPrintWithBoxStartA(int job, int projectType, const QString& layoutFile, int mode,
                                     int boxType, QWidget* window, const QString& boxTitle)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        const auto type = ProjectTypeOf(projectType);
        if (!type)
            return Refused(&found, BadParameter, QStringLiteral("no such project type"));
        if (!(mode & (PrintMode::PrintToPrinter | PrintMode::PrintToPreview | PrintMode::PrintToChoice)))
            return Refused(&found, BadParameter, QStringLiteral("the mode names no output"));
        if (found.stage == JobStage::Printing)
            return Refused(&found, AlreadyPrinting, QStringLiteral("the job is printing"));
        const QString path = found.LayoutPath(*type, layoutFile);
        if (!QFileInfo::exists(path))
            return Refused(&found, LayoutMissing,
                           QStringLiteral("the report layout \"%1\" does not exist").arg(path));
        ReportLayout layout;
        QString error;
        if (!ReadLayoutFile(path, layout, error))
            return Refused(&found, LayoutUnreadable, error);
        if (layout.projectType != *type)
            return Refused(&found, WrongProjectType,
                           QStringLiteral("the report layout \"%1\" is a %2 layout, not a %3 layout")
                               .arg(path, QLatin1String(ProjectName(layout.projectType)),
                                    QLatin1String(ProjectName(*type))));
        found.stage = JobStage::Printing;
        found.projectType = *type;
        found.mode = mode;
        found.boxType = boxType;
        found.boxTitle = boxTitle;
        found.boxText.clear();
        found.boxPercent = 0;
        found.layoutPath = path;
        found.layout = std::move(layout);
        found.cancelled = false;
        found.pagesBegun = 0;
        found.recordsPrinted = 0;
        found.filesWritten.clear();
        found.run.reset();
        if (!StartRun(found, error)) {
            found.stage = JobStage::SetUp;
            return Refused(&found, OutputFailed, error);
        }
        return Ok;
    });
    return Traced(result, "LlPrintWithBoxStartA", job, projectType, layoutFile, mode, boxType, window,
                  boxTitle);
}

int ReportJobs::LlPrintSetOptionStringA(int job, int option, const QString& value)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        found.printOptionStrings[option] = value;
        return Ok;
    });
    return Traced(result, "LlPrintSetOptionStringA", job, option, value);
}

int ReportJobs::LlPrintOptionsDialogA(int job, QWidget* window, const QString& text)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, false);
    if (result == Ok && CurrentThread() == 0)
        result = Refused(found, BadParameter, QStringLiteral("the dialog needs a program thread to wait on"));
    if (result == Ok) {
        // The output is offered after a start that leaves it to the user and names a target.
        const bool withOutput = (found->mode & PrintMode::PrintToChoice) &&
                                !found->printOptionStrings.value(ReportOptionString::PrintTarget).isEmpty();
        PrintOptionsDialog dialog(text, withOutput);
        dialog.SetChoices(ChoicesOf(*found));
        ProgressBox* box = found->run ? found->run->box.get() : nullptr;
        if (box)
            box->hide();
        const int answer = RunThreadModal(dialog);
        found = Job(job); // the job may not outlive the wait
        if (!found) {
            result = BadJob;
        } else if (answer != QDialog::Accepted) {
            found->cancelled = true; // nothing prints
            result = Cancelled;
        } else {
            TakeChoices(*found, dialog.Choices(), withOutput);
            if (found->run && found->run->box)
                found->run->box->show();
        }
    }
    return Traced(result, "LlPrintOptionsDialogA", job, window, text);
}

int ReportJobs::LlPrint(int job)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, false);
    if (result == Ok) {
        result = found->run->pager->Print();
        if (found->projectType == ProjectType::List) {
            ++found->pagesBegun;
        } else if (result == Ok) {
            ++found->recordsPrinted;
            KeepRecordRows(*found);
        }
    }
    return Traced(result, "LlPrint", job);
}

int ReportJobs::LlPrintFields(int job)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, true);
    if (result == Ok)
        result = found->run->pager->PrintFields();
    if (result == Ok) {
        ++found->recordsPrinted;
        KeepRecordRows(*found);
    }
    return Traced(result, "LlPrintFields", job);
}

int ReportJobs::LlPrintSetBoxTextA(int job, const QString& text, int percent)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, false);
    if (result == Ok || result == Cancelled) {
        found->boxText = text;
        found->boxPercent = qBound(0, percent, 100);
        if (found->run && found->run->box)
            found->run->box->SetProgress(text, found->boxPercent);
    }
    if (result == Ok) {
        YieldDuringRun(*found);
        found = Job(job);
        result = !found ? BadJob : found->cancelled ? Cancelled : Ok;
    }
    return Traced(result, "LlPrintSetBoxTextA", job, text, percent);
}

int ReportJobs::LlPrintFieldsEnd(int job)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, true);
    if (result == Ok)
        result = found->run->pager->PrintFieldsEnd();
    return Traced(result, "LlPrintFieldsEnd", job);
}

int ReportJobs::LlPrintEnd(int job, int flags)
{
    ReportJob* found = nullptr;
    int result = PrintingJob(job, found, false);
    if (result == Ok || result == Cancelled) {
        found->stage = JobStage::Ended;
        QString error;
        result = EndRun(*found, error);
        if (result != Ok)
            Refused(found, result, error);
    }
    return Traced(result, "LlPrintEnd", job, flags);
}

int ReportJobs::LlPreviewDisplayA(int job, const QString& layoutFile, const QString& previewFolder,
                                  QWidget* window)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        const std::shared_ptr<PrintRun> run = found.run;
        if (!run || !run->previewReady)
            return Refused(&found, NotPrinting, QStringLiteral("the job has no pages to preview"));
        if (CurrentThread() == 0)
            return Refused(&found, BadParameter, QStringLiteral("the preview needs a program thread to wait on"));
        // The window runs thread-modal: this thread waits, the other threads' windows stay usable.
        PreviewWindow preview(run->spool, found.boxTitle.isEmpty() ? QStringLiteral("Preview")
                                                                   : found.boxTitle + QStringLiteral(" - Preview"));
        while (RunThreadModal(preview) == PreviewWindow::PrintRequested)
            PrintFromPreview(found, *run);
        return Ok;
    });
    return Traced(result, "LlPreviewDisplayA", job, layoutFile, previewFolder, window);
}

int ReportJobs::LlPreviewDeleteFilesA(int job, const QString& layoutFile, const QString& previewFolder)
{
    const int result = WithJob(job, [](ReportJob& found) -> int {
        found.run.reset(); // the page file and its folder go with the run
        return Ok;
    });
    return Traced(result, "LlPreviewDeleteFilesA", job, layoutFile, previewFolder);
}

int ReportJobs::LlXSetParameterA(int job, int extensionType, const QString& format, const QString& key,
                                 const QString& value)
{
    const int result = WithJob(job, [&](ReportJob& found) -> int {
        found.exportParameters[format + QLatin1Char('/') + key] = value;
        return Ok;
    });
    return Traced(result, "LlXSetParameterA", job, extensionType, format, key, value);
}

} // namespace jornix
