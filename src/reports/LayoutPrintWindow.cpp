#include "reports/LayoutPrintWindow.h"

#include "core/DataLayer.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "reports/PrintOptionAreas.h"
#include "reports/ReportOutputFile.h"

namespace jornix {

LayoutPrintWindow::LayoutPrintWindow(const QString& procedureName, const QString& caption, WindowType type)
    : StandardWindow(procedureName, caption, type), view(AccessLLL_->GetTable())
{
}

void LayoutPrintWindow::SetUpLayoutList(int area)
{
    UseTable(*RelationsLLL_);
    SetFirstField(list);
    brw.SetList(list, view, *RelationsLLL_);
    brw.SetFilter(LayoutFilterOf(area));
    AddList(brw);
}

void LayoutPrintWindow::SetUpListOrders()
{
    brw.SetUpColumns();
}

int LayoutPrintWindow::Init()
{
    if (const int level = StandardWindow::Init())
        return level;
    TakeLayout();
    return Level::GoOn;
}

int LayoutPrintWindow::OnNewSelection(int control)
{
    const int level = StandardWindow::OnNewSelection(control);
    if (control == list)
        TakeLayout();
    return level;
}

int LayoutPrintWindow::OnAccepted(int control)
{
    if (control == printButton) {
        if (window.IsEnabled(printButton))
            Print();
        return Level::Handled;
    }
    const int level = StandardWindow::OnAccepted(control);
    EnableChoices(); // the output format, or another choice, may have changed
    return level;
}

void LayoutPrintWindow::TakeLayout()
{
    const bool any = brw.Selected() != nullptr;
    if (any) {
        outputFormat = brw.Value(QStringLiteral("LLL_:OutputFormat"));
        printerOptions = brw.Value(QStringLiteral("LLL_:PrinterOptions"));
        openOutputFile = brw.Value(QStringLiteral("LLL_:OpenOutputFile"));
    }
    ShowLayoutPreview(window, image, brw.Text(QStringLiteral("LLL_:FileName")));
    window.Enable(printButton, any);
    window.ShowValues();
    EnableChoices();
}

void LayoutPrintWindow::EnableChoices()
{
    window.Enable(openCheck, WritesFile(outputFormat));
}

void LayoutPrintWindow::Print()
{
    Update();
    const OutputFileChoice file = AskReportOutputFile(outputFormat);
    if (!file.go)
        return;
    PrintJobRequest request = Selection();
    request.layoutNumber = brw.Value(QStringLiteral("LLL_:Ref"));
    request.outputFormat = outputFormat;
    request.openOutputFile = openOutputFile;
    request.showPrintOptions = printerOptions;
    request.outputFile = file.file;
    CallPrintProcess(request);
}

} // namespace jornix
