#include "reports/PrintRec.h"

#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/SharedState.h"
#include "core/StandardWindow.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/View.h"
#include "reports/CallPrintProcess.h"
#include "reports/PrintOptionAreas.h"
#include "reports/ReportLayoutList.h"
#include "reports/ReportOutputFile.h"

namespace jornix {
namespace {

// A dialog on the caller's thread that stays open after each print, so that the record can be printed
// again another way; Cancel closes it.
class PrintRecWindow : public StandardWindow
{
public:
    View view{AccessLLL_->GetTable()};
    ReportLayoutList brw;
    const qint32 area;
    const qint32 number;
    const PrintOptionArea* known;
    qint32 outputFormat = 0, printerOptions = 0, openOutputFile = 0;
    int list = 0, image = 0, formatList = 0, printerCheck = 0, openCheck = 0;
    int helpButton = 0, printButton = 0, cancelButton = 0;

    PrintRecWindow()
        : StandardWindow(QStringLiteral("PrintRec"), QStringLiteral("Print Options")),
          area(PrintRecRequest.area), number(PrintRecRequest.number), known(FindPrintOptionArea(area))
    {
        if (known)
            window.SetCaption(known->caption);
        window.Row([&] {
            window.Column([&] { list = ReportLayoutList::Describe(window); });
            window.Column([&] {
                image = DescribeLayoutPreview(window, QStringLiteral("PROMPT1"));
                window.Spacer();
            });
        });
        window.Row([&] {
            window.Prompt(QStringLiteral("Output &Format:")).Name(QStringLiteral("OUTPUTFORMAT:PROMPT"));
            formatList = window.DropList(Bind(outputFormat), OutputFormatItems())
                             .Name(QStringLiteral("RPT:OUTPUTFORMAT"));
            printerCheck = window.Check(QStringLiteral("Show Print &Options"), Bind(printerOptions))
                               .Name(QStringLiteral("RPT:PRINTEROPTIONS"));
            openCheck = window.Check(QStringLiteral("Open O&utput File"), Bind(openOutputFile))
                            .Name(QStringLiteral("RPT:OPENOUTPUTFILE"));
            window.Spacer();
        });
        window.Row([&] {
            helpButton = window.Button({}, QStringLiteral("help.gif")).Name(QStringLiteral("HELP"));
            window.Spacer();
            printButton = window.Button(QStringLiteral("&Print"), QStringLiteral("OKButton.gif"))
                              .Name(QStringLiteral("PRINT"))
                              .Default();
            cancelButton = window.Button(QStringLiteral("&Cancel"), QStringLiteral("CancelButton.gif"))
                               .Name(QStringLiteral("CLOSE"));
        });
        if (known)
            CheckAccess(CurrentUserAccess[std::size_t(known->accessArea)], known->name);
        UseTable(*RelationsLLL_);
        KeepPlacement();
        SetFirstField(list);
        SetHelp(QStringLiteral("printinglogevents.htm"), helpButton);
        brw.SetList(list, view, *RelationsLLL_);
        brw.SetFilter(LayoutFilterOf(area));
        AddList(brw);
    }

    int OnNewSelection(int control) override
    {
        const int level = StandardWindow::OnNewSelection(control);
        if (control == list)
            TakeLayout();
        if (control == formatList)
            EnableOpenOutputFile();
        return level;
    }

    int OnAccepted(int control) override
    {
        if (control == printButton) {
            if (window.IsEnabled(printButton))
                Print();
            return Level::Handled;
        }
        return StandardWindow::OnAccepted(control);
    }

protected:
    int SetUpForm() override
    {
        AddButtonAction(cancelButton, Response::Cancelled);
        return Level::GoOn;
    }

    void SetUpListOrders() override { brw.SetUpColumns(); }

    void SetUpWindow() override { window.Disable(printButton); }

public:
    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        TakeLayout();
        return Level::GoOn;
    }

private:
    // The highlighted layout's proposals become the choices of this print; nothing goes back to the layout.
    void TakeLayout()
    {
        ShowLayoutPreview(window, image, brw.Text(QStringLiteral("LLL_:FileName")));
        const bool any = brw.Selected() != nullptr;
        if (any) {
            outputFormat = brw.Value(QStringLiteral("LLL_:OutputFormat"));
            printerOptions = brw.Value(QStringLiteral("LLL_:PrinterOptions"));
            openOutputFile = brw.Value(QStringLiteral("LLL_:OpenOutputFile"));
        }
        // Print without a layout of the area would hand the engine whatever layout the buffer holds.
        window.Enable(printButton, any);
        EnableOpenOutputFile();
        window.ShowValues();
    }

    void EnableOpenOutputFile() { window.Enable(openCheck, WritesFile(outputFormat)); }

    void Print()
    {
        Update();
        const OutputFileChoice file = AskReportOutputFile(outputFormat);
        if (!file.go)
            return;
        PrintJobRequest request;
        request.area = area;
        request.layoutNumber = brw.Value(QStringLiteral("LLL_:Ref"));
        request.outputFormat = outputFormat;
        request.openOutputFile = openOutputFile;
        request.showPrintOptions = printerOptions;
        request.outputFile = file.file;
        if (known) {
            request.filter = known->RecordFilter(number);
            request.sortOrder = 1;
        }
        CallPrintProcess(request);
    }
};

} // namespace

void RunPrintRec()
{
    RunProcedure<PrintRecWindow>();
}

} // namespace jornix
