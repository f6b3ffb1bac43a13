#include "reports/PrintProcess.h"

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "documents/TXEdit.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/WindowController.h"
#include "platform/reportengine/ReportEngine.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/TrailingBlanks.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"
#include "reports/ExportOutput.h"
#include "reports/ReportAreas.h"
#include "reports/ReportData.h"

#include <memory>

namespace jornix {

namespace {

using namespace ReportResult;

const QString SetupCaption = QStringLiteral("Error During Report Engine Setup");
const QString SetupText =
    QStringLiteral("There was in internal error that prevented report engine setup. Make sure "
                   "the Report Layout has been defined and try to print again.");
const QString PrintingCaption = QStringLiteral("Error During Printing");
const QString PrintingText =
    QStringLiteral("There was in internal error that prevented printing the report.");

constexpr int ProjectList = 2;
constexpr int ProjectCard = 3;
// Pages one record may take before the run gives up on it: a record the engine can never place must not
// keep the run going for ever.
constexpr int MaxOverflowPages = 1000;
// Rows read from the view at a time; log events carry their documents.
constexpr int RowsPerRead = 500;
constexpr int DocumentRowsPerRead = 50;

// Print option values of the job's set-up, by option number.
const std::vector<std::pair<int, qint64>> PrintOptions{{10, 1}, {46, 0}, {20, 1},  {9, 0},  {21, 1},
                                                       {8, 1},  {32, 1}, {33, 1},  {40, 1}, {47, 0},
                                                       {3, 0},  {31, 0}, {83, 16}, {100, 1}};

// The tables a run opens, closed again in reverse order when it ends.
class OpenTables
{
public:
    bool Open()
    {
        for (FileManager* access : {AccessCON, AccessLOG, AccessLLA_, AccessLLL_, AccessMSC, AccessREM,
                                    AccessSCR, AccessSTK, AccessTSK}) {
            if (!access || access->Open() != 0)
                return false;
            opened_.push_back(access);
        }
        return true;
    }
    ~OpenTables()
    {
        for (auto access = opened_.rbegin(); access != opened_.rend(); ++access)
            (*access)->Close();
    }

private:
    std::vector<FileManager*> opened_;
};

class PrintProcessRun
{
public:
    PrintProcessRun(int area, qint32 layoutNumber, int sortOrder, int outputFormat, int openOutputFile,
                    int showPrintOptions, const QString& outputFile, const QString& filterDescription,
                    const QString& filter)
        : area_(area), layoutNumber_(layoutNumber), sortOrder_(sortOrder), outputFormat_(outputFormat),
          openOutputFile_(openOutputFile == 1), showPrintOptions_(showPrintOptions == 1),
          outputFile_(outputFile), filterDescription_(filterDescription), filter_(filter)
    {
    }
    ~PrintProcessRun()
    {
        // The page pictures go with the run, whichever way it ended.
        if (document_) {
            document_->DeleteMetafiles();
            document_->Kill();
        }
    }

    int Run();

private:
    bool SetUpView();
    bool FetchLayout();
    bool StartJob();
    void Pass();
    // False when the run is to stop.
    bool RecordStep(const Record& record);
    bool PrintRecord();
    void End();
    void ReadDocument(const Record& record);
    bool Failed(const QString& caption, const QString& text);

    ReportEngine& engine_ = TheReportEngine();
    const int area_;
    const qint32 layoutNumber_;
    const int sortOrder_;
    const int outputFormat_;
    const bool openOutputFile_;
    const bool showPrintOptions_;
    const QString outputFile_;
    const QString filterDescription_;
    const QString filter_;

    std::unique_ptr<View> view_;
    std::unique_ptr<RichTextControl> textControl_;
    std::unique_ptr<TXEdit> document_;
    std::unique_ptr<ReportData> data_;
    Record layout_;
    std::optional<Record> definitions_;
    QString layoutFile_;
    QString boxTitle_;
    int projectType_ = 0;
    int job_ = 0;
    bool started_ = false;
    bool cancelled_ = false;
    bool failed_ = false; // a failure was told: the run ends with nothing printed
    int recordsPrinted_ = 0;
    QStringList pages_; // the page pictures of the record in hand
};

bool PrintProcessRun::Failed(const QString& caption, const QString& text)
{
    ShowMessageBox(MessageButton::Ok, MessageIcon::Exclamation, caption, text);
    cancelled_ = true;
    failed_ = true;
    return false;
}

int PrintProcessRun::Run()
{
    OpenTables tables;
    if (!tables.Open() || !FindArea(area_))
        return Response::Cancelled;
    if (area_ == ReportArea::LogEvents) {
        textControl_ = std::make_unique<RichTextControl>();
        // The document object works on the control without the user ever seeing it.
        textControl_->setAttribute(Qt::WA_DontShowOnScreen);
        document_ = std::make_unique<TXEdit>();
        document_->Init(textControl_.get());
    }
    if (!SetUpView() || !FetchLayout())
        return Response::Cancelled;
    definitions_ = ReportData::FetchDefinitions(area_);
    if (StartJob()) {
        if (!showPrintOptions_ ||
            engine_.LlPrintOptionsDialogA(job_, nullptr, layout_.Value("LLL_:Description").toString()) == Ok)
            Pass();
        else
            cancelled_ = true;
    }
    End();
    return cancelled_ ? Response::Cancelled : Response::Completed;
}

bool PrintProcessRun::SetUpView()
{
    const AreaDescription& area = *FindArea(area_);
    Table& table = AreaAccess(area_)->GetTable();
    view_ = std::make_unique<View>(table);
    const QString key = area.sortKeys.value(sortOrder_ - 1);
    view_->SetOrder(key.isEmpty() ? -1 : table.KeyIndex(key));
    // Records private to another user never come into the view.
    view_->SetPrivateRule([] { return QVariant(CurrentUserUniqueID); });
    view_->SetReadBlobs(area_ == ReportArea::LogEvents);
    if (!filter_.trimmed().isEmpty())
        if (const Status status = view_->SetFilter(filter_); !status)
            return Failed(SetupCaption,
                          QStringLiteral("The filter of the report cannot be used: ") + status.Message());
    return true;
}

bool PrintProcessRun::FetchLayout()
{
    Table& layouts = AccessLLL_->GetTable();
    layouts.ClearBuffer();
    layouts.Buffer().SetValue(QStringLiteral("LLL_:Ref"), layoutNumber_);
    if (AccessLLL_->FetchQuiet(layouts.KeyIndex(QStringLiteral("RefKey"))) != 0)
        return Failed(SetupCaption, SetupText);
    layout_ = layouts.Buffer();
    layoutFile_ = DataPathText + layout_.Value("LLL_:FileName").toString();
    boxTitle_ = QStringLiteral("Jornix - ") + layout_.Value("LLL_:Description").toString();
    projectType_ = ProjectTypeOfLayout(layout_.Value("LLL_:Type").toInt());
    return true;
}

bool PrintProcessRun::StartJob()
{
    if (GLO.LLDebug)
        engine_.LlSetDebug(1);
    job_ = engine_.LlJobOpen(1);
    if (job_ < 0)
        return Failed(SetupCaption, SetupText);
    for (const auto& [option, value] : PrintOptions)
        engine_.LlSetOption(job_, option, value);
    // The layout's "Print Cover Page" decides whether its cover page prints, whatever its cover objects say.
    engine_.LlSetOption(job_, ReportOption::PrintCoverPage,
                        layout_.Value("LLL_:PrintCoverPage").toInt() != 0 ? 1 : 0);
    for (int type : {1, 3, 2})
        engine_.LlSetFileExtensionsA(job_, type, QStringLiteral("rpt"), QStringLiteral("prn"),
                                     QStringLiteral("bmp"));
    engine_.LlSetDlgboxMode(0x80A);
    engine_.LlDefineVariableStart(job_);
    engine_.LlDefineFieldStart(job_);
    data_ = std::make_unique<ReportData>(area_, job_, projectType_);
    data_->layout = layout_;
    data_->definitions = definitions_;
    data_->filter = filter_;
    data_->filterDescription = filterDescription_;
    data_->sortOrder = sortOrder_;
    data_->DefineAreaItems(ItemMode::Print);
    data_->DefineReportVariables(ItemMode::Print);
    engine_.LlSetPrinterToDefaultA(job_, projectType_, layoutFile_);

    const QString exportFormat = ExportFormatOf(outputFormat_);
    int mode = outputFormat_ == OutputFormat::Preview   ? PrintMode::PrintToPreview
               : outputFormat_ == OutputFormat::Printer ? PrintMode::PrintToPrinter
                                                        : PrintMode::PrintToChoice;
    if (!exportFormat.isEmpty()) {
        // Also before the print-options dialog, so that the file chosen for the output is the one written.
        engine_.LlSetOptionStringA(job_, ReportOptionString::ExportModule, QStringLiteral("rpteng9ex.dll"));
        for (const auto& [key, value] : ExportParameters(outputFile_, openOutputFile_))
            engine_.LlXSetParameterA(job_, 1, exportFormat, key, value);
    }
    QString target = exportFormat;
    if (showPrintOptions_) {
        mode = PrintMode::PrintToChoice;
        target = PrintTargetOf(outputFormat_);
    }
    if (engine_.LlPrintWithBoxStartA(job_, projectType_, layoutFile_, mode, 3, nullptr, boxTitle_) != Ok)
        return Failed(SetupCaption, SetupText);
    started_ = true;
    if (mode == PrintMode::PrintToChoice)
        engine_.LlPrintSetOptionStringA(job_, ReportOptionString::PrintTarget, target);
    if (projectType_ == ProjectList && engine_.LlPrint(job_) != Ok)
        return Failed(PrintingCaption, PrintingText);
    return true;
}

void PrintProcessRun::Pass()
{
    qint64 total = 0;
    view_->Count(total);
    qint64 read = 0;
    const int rowsPerRead = area_ == ReportArea::LogEvents ? DocumentRowsPerRead : RowsPerRead;
    Position from;
    std::vector<ViewRow> rows;
    while (true) {
        rows.clear();
        if (const Status status = view_->Read(from, Direction::Forward, rowsPerRead, rows); !status) {
            Failed(PrintingCaption, status.Message());
            return;
        }
        for (const ViewRow& row : rows) {
            ++read;
            data_->record = row.record;
            if (!RecordStep(row.record))
                return;
            const int percent = total > 0 ? int(std::min<qint64>(100, read * 100 / total)) : 100;
            if (engine_.LlPrintSetBoxTextA(job_, QStringLiteral("Printing..."), percent) == Cancelled) {
                cancelled_ = true;
                return;
            }
            if (area_ == ReportArea::LogEvents && pages_.size() > 1) {
                // The further pages of the document, each printed with the record again.
                data_->documentOverflow = 1;
                for (qsizetype page = 1; page < pages_.size(); ++page) {
                    data_->pagePicture = pages_[page];
                    if (!PrintRecord())
                        return;
                }
                data_->documentOverflow = 0;
            }
        }
        if (rows.size() < std::size_t(rowsPerRead))
            return;
        from = rows.back().position;
    }
}

void PrintProcessRun::ReadDocument(const Record& record)
{
    // Pictures and text of the previous record never reach this one.
    document_->DeleteMetafiles();
    document_->NewDocument(1);
    pages_.clear();
    data_->plainText.clear();
    const QByteArray blob = record.Value("LOG:LogDoc").toByteArray();
    if (!TXEdit::IsTXDocument(blob))
        return;
    document_->LoadFromBlob(blob);
    // A document that cannot be read leaves the control empty: the record prints with empty notes.
    if (document_->TextControl()->TextLength() == 0)
        return;
    QByteArray buffer(document_->GetSaveLength(1, 0) + 1, ' ');
    qint32 length = 0;
    document_->SaveToBuffer(buffer, length, 0, 1);
    data_->plainText = StripTrailingBlanks(QString::fromUtf8(buffer));
    const double width = layout_.Value("LLL_:WMFWidth").toDouble();
    const double height = layout_.Value("LLL_:WMFHeight").toDouble();
    // A layout without a picture size asks for no pictures.
    if (layout_.Value("LLL_:WMFSpecialLoop").toInt() != 0 && width > 0 && height > 0 &&
        document_->RenderPageMetafiles(width, height)) {
        pages_ = document_->MetaList();
        data_->pagePicture = pages_.value(0);
    }
}

bool PrintProcessRun::RecordStep(const Record& record)
{
    data_->pagePicture.clear();
    if (document_)
        ReadDocument(record);
    return PrintRecord();
}

bool PrintProcessRun::PrintRecord()
{
    data_->DefineAreaItems(ItemMode::Print);
    data_->DefineReportVariables(ItemMode::Print);
    data_->pageType = 1;
    int result = Ok;
    if (projectType_ == ProjectList) {
        result = engine_.LlPrintFields(job_);
        for (int page = 0; result == RecordDidNotFit && page < MaxOverflowPages; ++page) {
            if (const int begun = engine_.LlPrint(job_); begun != Ok && begun != RecordDidNotFit) {
                result = begun;
                break;
            }
            result = engine_.LlPrintFields(job_);
        }
    } else if (projectType_ == ProjectCard) {
        data_->pageOverflow = 0;
        data_->DefinePageFlags();
        result = engine_.LlPrint(job_);
        for (int page = 0; result == RecordDidNotFit && page < MaxOverflowPages; ++page) {
            ++data_->pageOverflow;
            data_->DefinePageFlags();
            result = engine_.LlPrint(job_);
        }
    } else {
        result = engine_.LlPrint(job_);
    }
    ++recordsPrinted_;
    if (result == Cancelled) {
        cancelled_ = true;
        return false;
    }
    return true;
}

void PrintProcessRun::End()
{
    if (job_ <= 0)
        return;
    // A run that failed ends with its job: nothing of it is written.
    if (started_ && !failed_) {
        const bool printed = !cancelled_ && recordsPrinted_ > 0;
        if (printed && projectType_ == ProjectList)
            engine_.LlPrintFieldsEnd(job_);
        // An output that cannot be written is told, never passed over as printed.
        const int ended = engine_.LlPrintEnd(job_, 0);
        if (ended != Ok && ended != Cancelled) {
            // The engine's reason (no printer installed, a folder that is not there) says what to mend.
            QString reason;
            engine_.LlGetOptionStringA(job_, ReportOptionString::LastError, reason, 10240);
            Failed(PrintingCaption,
                   reason.isEmpty() ? PrintingText : PrintingText + QStringLiteral("\n\n") + reason);
        } else if (printed && outputFormat_ == OutputFormat::Preview)
            engine_.LlPreviewDisplayA(job_, layoutFile_, QString(), nullptr);
        if (outputFormat_ == OutputFormat::Preview)
            engine_.LlPreviewDeleteFilesA(job_, layoutFile_, QString());
    }
    QString files;
    engine_.LlGetOptionStringA(job_, ReportOptionString::FilesWritten, files, 10240);
    engine_.LlJobClose(job_);
    NameFurtherFiles(files.split(QLatin1Char(';'), Qt::SkipEmptyParts), outputFile_);
}

} // namespace

void PrintProcess(int area, qint32 layoutNumber, int sortOrder, int outputFormat, int openOutputFile,
                  int showPrintOptions, const QString& outputFile, const QString& filterDescription,
                  const QString& filter)
{
    GlobalErrorReporter.SetProcedure(QStringLiteral("PrintProcess"));
    int response = Response::Cancelled;
    {
        PrintProcessRun run(area, layoutNumber, sortOrder, outputFormat, openOutputFile, showPrintOptions,
                            outputFile, filterDescription, filter);
        response = run.Run();
    }
    CurrentContext().GlobalResponseCode = quint8(response);
    GlobalErrorReporter.SetProcedure(QStringLiteral("PrintProcess"), 1);
}

} // namespace jornix
