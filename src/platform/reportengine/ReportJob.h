#pragma once

#include "platform/reportengine/Formula.h"
#include "platform/reportengine/PrinterSettings.h"
#include "platform/reportengine/ReportItems.h"
#include "platform/reportengine/ReportLayout.h"
#include "platform/runtime/ProgramThreads.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The state of one open job of ReportJobs: what its set-up calls kept, its items and its print run.
namespace jornix {

struct FileExtensions
{
    QString layout = QStringLiteral("rpt");
    QString printer = QStringLiteral("prn");
    QString sketch = QStringLiteral("bmp");
};

enum class JobStage
{
    SetUp,    // open, not printing
    Printing, // between LlPrintWithBoxStartA and LlPrintEnd
    Ended     // after LlPrintEnd; a new run may start
};

struct ReportJob
{
    int handle = 0;
    int language = 0;
    ThreadNumber thread = 0; // the program thread that opened the job

    QMap<int, qint64> options;
    QMap<int, QString> optionStrings;
    QMap<int, QString> printOptionStrings;
    QMap<int, FileExtensions> extensions; // by project type
    ReportItems variables;
    ReportItems fields;
    QSet<int> prohibitedActions;
    QMap<QString, QString> exportParameters; // "format/key"
    PrinterSettings printer;
    QString lastError; // the reason of the last refused call

    // The print run.
    JobStage stage = JobStage::SetUp;
    ProjectType projectType = ProjectType::List;
    int mode = 0;
    int boxType = 0;
    QString boxTitle;
    QString boxText;
    int boxPercent = 0;
    QString layoutPath;
    ReportLayout layout;
    bool cancelled = false;
    int pagesBegun = 0;
    int recordsPrinted = 0;
    QStringList filesWritten;
    // The pages, the output and the windows of the run (PrintRun.h); kept after the run ends until the
    // preview's files are deleted or the job closes.
    std::shared_ptr<struct PrintRun> run;

    // The item a formula of the layout names: a field of the record in hand first, then a variable. Formulas
    // reach the items through this lookup when they are evaluated for printing.
    std::optional<ReportItemValue> LookupItem(const QString& name) const;
    // The job's items as formulas read them, on the given page.
    FormulaContext FormulaContextAt(int page, int lastPage) const;

    // A layout, printer-settings or sketch file name: `file` with the extension of the project type added,
    // unless it ends in that extension already.
    QString LayoutPath(ProjectType type, const QString& file) const;
    QString PrinterSettingsPath(ProjectType type, const QString& file) const;
    QString SketchPath(ProjectType type, const QString& file) const;
    QString SideFilePath(ProjectType type, const QString& file, const QString& extension) const;
};

} // namespace jornix
