#pragma once

#include "core/StandardWindow.h"
#include "platform/store/View.h"
#include "reports/CallPrintProcess.h"
#include "reports/ReportLayoutList.h"

#include <QString>

// What the two print-options windows share: the list of one area's layouts with the preview of the
// highlighted one, the output choices that it proposes (Output Format, the printer dialog first, open the
// written file), and Print, which asks for the output file and hands the job to the print engine. The
// choices hold for one print; nothing goes back to the layout. Print is enabled only while a layout is
// highlighted, so that it never hands the engine a layout of another area.
namespace jornix {

class LayoutPrintWindow : public StandardWindow
{
public:
    LayoutPrintWindow(const QString& procedureName, const QString& caption, WindowType type);

    View view;
    ReportLayoutList brw;
    qint32 outputFormat = 0, printerOptions = 0, openOutputFile = 0;
    int list = 0, image = 0, formatList = 0, openCheck = 0, printButton = 0;

    int Init() override;
    int OnNewSelection(int control) override;
    int OnAccepted(int control) override;

protected:
    // After the controls are described: the list of the area's layouts.
    void SetUpLayoutList(int area);
    void SetUpListOrders() override;
    // Takes the highlighted layout's values; a window that takes more takes them first, then calls this.
    virtual void TakeLayout();
    // Enables what depends on the choices: Open Output File only for a format that writes a file.
    virtual void EnableChoices();
    // The job's area, sort order, criteria and filter; Print adds the layout and the output.
    virtual PrintJobRequest Selection() const = 0;

private:
    void Print();
};

} // namespace jornix
