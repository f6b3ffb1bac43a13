#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The calls of the report engine. A design or print run opens a job, sets it up, declares its items, designs
// or prints, and closes it; several jobs may be open at once, each on the program thread that opened it, and
// each keeps its own state. Every call answers ReportResult::Ok or a negative ReportResult; only the results
// named below mean something to the callers.
//
// Job set-up
//   LlJobOpen(language)                      a handle from 1; negative when no more jobs can be opened
//   LlSetOption(job, option, value)          kept with the job (see "Options" below)
//   LlSetOptionStringA(job, option, text)    kept; option string 12 names the export module, which this
//                                            engine does not need (its writers are built in)
//   LlGetOptionStringA(job, option, buffer, size)
//                                            option string 20: the files the print run wrote, separated by
//                                            ";"; option string 23: the reason of the last refused call (a
//                                            printer's or a file's own words); other numbers give what
//                                            LlSetOptionStringA kept. The texts are given whole: a path is
//                                            never cut to the buffer's size.
//   LlSetFileExtensionsA(job, project type, layout, printer settings, sketch)
//                                            the extensions added to layout file names given without one
//                                            (by default "rpt", "prn", "bmp"); the previous layout is kept
//                                            with "~" before the layout extension
//   LlSetDlgboxMode(mode)                    kept; dialogs look like the desktop's own whatever the mode
//   LlSetDebug(flag)                         not 0: every later call is traced on stderr with its result
//   LlDefineVariableStart(job), LlDefineFieldStart(job)
//                                            forget the job's variables, its fields
//   LlDefineVariableExtA / LlDefineFieldExtA(job, name, value, type, 0)
//                                            declare or replace an item (ReportItems); an empty or overlong
//                                            name or value gives BadParameter and changes nothing
// Design
//   LlDesignerProhibitAction(job, action)    kept for the designer: 515 New, 519 Open, 524 Save As and
//                                            990 Exit are then left out of it (LayoutDesigner.h)
//   LlDefineLayoutA(job, window, title, project type, layout file)
//                                            runs the designer on a calling program thread and returns
//                                            when it closes; each save leaves the layout's sketch (page 1
//                                            with the items as declared, a BMP picture with the sketch
//                                            extension) beside it
// Print
//   LlSetPrinterToDefaultA(job, project type, layout file)
//                                            takes the printer settings kept beside the layout (none: the
//                                            desktop's default printer)
//   LlPrintWithBoxStartA(job, project type, layout file, mode, box type, window, box title)
//                                            reads the layout and starts the run: Ok, or LayoutMissing,
//                                            LayoutUnreadable, WrongProjectType ...; mode PrintToPrinter,
//                                            PrintToPreview, or PrintToChoice with the target in print option
//                                            string 2 ("PRV", "PRN", "PDF", "RTF" ... as the export formats).
//                                            Box type 3 shows the progress box with the box title.
//   LlPrintSetOptionStringA(job, option, text)
//                                            kept for the run; string 2 is the print target
//   LlPrintOptionsDialogA(job, window, text) the print-options dialog (printer, copies, pages and, after
//                                            a PrintToChoice start with a target, the output), thread-
//                                            modal: Ok when confirmed; Cancelled, and nothing prints, when
//                                            cancelled
//   LlPrint(job)                             list projects: begins a new page; card and label projects:
//                                            prints one record
//   LlPrintFields(job)                       list projects: prints the data lines of one record
//                                            Both give RecordDidNotFit when the record needs a new page (a
//                                            list then calls LlPrint and prints the fields again, a card
//                                            prints again) and Cancelled after the user cancelled.
//   LlPrintSetBoxTextA(job, text, percent)   the progress box; Cancelled once its Cancel was pressed. The
//                                            run gives way to the other threads here now and then.
//   LlPrintFieldsEnd(job)                    list projects: prints the footer lines
//   LlPrintEnd(job, 0)                       ends the run: writes the printer's or the export's output
//                                            (OutputFailed when it cannot), or keeps the pages for the
//                                            preview; a cancelled run writes nothing
//   LlPreviewDisplayA(job, layout file, folder, window), LlPreviewDeleteFilesA(job, layout file, folder)
//                                            shows the preview of the run thread-modal (NotPrinting when
//                                            the run has no pages to preview), then removes its page file
//                                            and folder
//   LlXSetParameterA(job, 1, export format, key, value)
//                                            kept for the export of the run: "Export.File" in the folder
//                                            "Export.Path" (none: the current folder); "Export.ShowResult"
//                                            "1" opens the (first) file written through ShellOpen;
//                                            "Export.Quiet" changes nothing, as the export asks no
//                                            questions; pictures are always 24 bits per pixel
//
// Options (LlSetOption): the callers set options 3, 8, 9, 10, 20, 21, 31, 32, 33, 40, 46, 47, 83 and 100.
// This engine does each thing in one way, so none of them changes what it does; each is kept with its job,
// can be read back (ReportJob::options) and shows in the trace.
// One option is this engine's own: ReportOption::PrintCoverPage, read when a print run starts. 0 leaves the
// layout's cover page out of the run (the first page of records is page 1); any other value, and a job that
// never sets it, prints the cover page before the records when the layout's cover layer holds objects.
namespace jornix {

namespace ReportResult {
constexpr int Ok = 0;
constexpr int BadJob = -1;          // no open job has this handle
constexpr int NoMoreJobs = -2;      // LlJobOpen: too many jobs are open
constexpr int BadParameter = -3;    // a project type, mode, name or value that cannot be used
constexpr int NotPrinting = -4;     // a print call outside a print run, or one that does not suit the project
constexpr int AlreadyPrinting = -5; // a start or a design run while the job prints
constexpr int LayoutMissing = -6;
constexpr int LayoutUnreadable = -7; // damaged, too large or made by a newer version
constexpr int WrongProjectType = -8; // the layout is of another project type
constexpr int OutputFailed = -9;     // the pages or the output file cannot be written
constexpr int Cancelled = -99;
constexpr int RecordDidNotFit = -998;
} // namespace ReportResult

// Modes of LlPrintWithBoxStartA.
namespace PrintMode {
constexpr int PrintToPrinter = 0x100;
constexpr int PrintToPreview = 0x200;
constexpr int PrintToChoice = 0x800; // export, or the target the print-options dialog settles
} // namespace PrintMode

// Numbers of this engine's own options (LlSetOption).
namespace ReportOption {
constexpr int PrintCoverPage = 1000;
} // namespace ReportOption

// Numbers of option strings.
namespace ReportOptionString {
constexpr int PrintTarget = 2;
constexpr int ExportModule = 12;
constexpr int FilesWritten = 20;
constexpr int LastError = 23; // read only: the reason of the job's last refused call, as the engine met it
} // namespace ReportOptionString

class ReportEngine
{
public:
    virtual ~ReportEngine() = default;

    virtual int LlJobOpen(int language) = 0;
    virtual int LlJobClose(int job) = 0;
    virtual int LlSetDebug(int flag) = 0;
    virtual int LlSetOption(int job, int option, qint64 value) = 0;
    virtual int LlSetOptionStringA(int job, int option, const QString& value) = 0;
    virtual int LlGetOptionStringA(int job, int option, QString& buffer, int bufferSize) = 0;
    virtual int LlSetFileExtensionsA(int job, int projectType, const QString& layoutExtension,
                                     const QString& printerExtension, const QString& sketchExtension) = 0;
    virtual int LlSetDlgboxMode(int mode) = 0;
    virtual int LlDefineVariableStart(int job) = 0;
    virtual int LlDefineFieldStart(int job) = 0;
    virtual int LlDefineVariableExtA(int job, const QString& name, const QString& value, quint32 type,
                                     int parameter) = 0;
    virtual int LlDefineFieldExtA(int job, const QString& name, const QString& value, quint32 type,
                                  int parameter) = 0;
    virtual int LlDesignerProhibitAction(int job, int action) = 0;
    virtual int LlDefineLayoutA(int job, QWidget* window, const QString& title, int projectType,
                                const QString& layoutFile) = 0;
    virtual int LlSetPrinterToDefaultA(int job, int projectType, const QString& layoutFile) = 0;
    virtual int LlPrintWithBoxStartA(int job, int projectType, const QString& layoutFile, int mode,
                                     int boxType, QWidget* window, const QString& boxTitle) = 0;
    virtual int LlPrintSetOptionStringA(int job, int option, const QString& value) = 0;
    virtual int LlPrintOptionsDialogA(int job, QWidget* window, const QString& text) = 0;
    virtual int LlPrint(int job) = 0;
    virtual int LlPrintFields(int job) = 0;
    virtual int LlPrintSetBoxTextA(int job, const QString& text, int percent) = 0;
    virtual int LlPrintFieldsEnd(int job) = 0;
    virtual int LlPrintEnd(int job, int flags) = 0;
    virtual int LlPreviewDisplayA(int job, const QString& layoutFile, const QString& previewFolder,
                                  QWidget* window) = 0;
    virtual int LlPreviewDeleteFilesA(int job, const QString& layoutFile, const QString& previewFolder) = 0;
    virtual int LlXSetParameterA(int job, int extensionType, const QString& format, const QString& key,
                                 const QString& value) = 0;
};

// The engine the program calls. Tests put a double in its place; nullptr gives the real engine back.
ReportEngine& TheReportEngine();
void SetReportEngine(ReportEngine* engine);

// A call as text, for the trace and for the records of test doubles:
//   LlDefineVariableExtA(1, "Task.Num", "5", 0x08000000, 0)
// Texts are quoted as they are, type codes (quint32) written in hex, windows as "window".
namespace detail {
inline QString CallArgument(int value)
{
    return QString::number(value);
}
inline QString CallArgument(qint64 value)
{
    return QString::number(value);
}
inline QString CallArgument(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}
inline QString CallArgument(const QString& value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}
inline QString CallArgument(QWidget*)
{
    return QStringLiteral("window");
}
} // namespace detail

template <class... Arguments> QString CallText(const char* call, const Arguments&... arguments)
{
    const QStringList texts{detail::CallArgument(arguments)...};
    return QLatin1String(call) + QLatin1Char('(') + texts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace jornix
