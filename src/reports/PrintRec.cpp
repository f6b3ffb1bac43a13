#include "reports/PrintRec.h"

#include "core/PrintRec.h"
#include "core/SharedState.h"
#include "reports/LayoutPrintWindow.h"
#include "reports/PrintOptionAreas.h"

namespace jornix {
namespace {

// A dialog on the caller's thread that stays open after each print, so that the record can be printed
// again another way; Cancel closes it.
class PrintRecWindow : public LayoutPrintWindow
{
public:
    const qint32 area;
    const qint32 number;
    const PrintOptionArea* known;
    int helpButton = 0, cancelButton = 0;

    PrintRecWindow()
        : LayoutPrintWindow(QStringLiteral("PrintRec"), QStringLiteral("Print Options"), WindowType::Dialog),
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
            window.Check(QStringLiteral("Show Print &Options"), Bind(printerOptions))
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
        KeepPlacement();
        SetHelp(QStringLiteral("printinglogevents.htm"), helpButton);
        SetUpLayoutList(area);
    }

protected:
    int SetUpForm() override
    {
        AddButtonAction(cancelButton, Response::Cancelled);
        return Level::GoOn;
    }

    // The record of the area, by its number; a number that is no area gets no filter and sort order 0.
    PrintJobRequest Selection() const override
    {
        PrintJobRequest request;
        request.area = area;
        if (known) {
            request.filter = known->RecordFilter(number);
            request.sortOrder = 1;
        }
        return request;
    }
};

} // namespace

void RunPrintRec()
{
    RunProcedure<PrintRecWindow>();
}

} // namespace jornix
