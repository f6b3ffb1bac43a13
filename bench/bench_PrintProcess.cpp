// 10,000 tasks through a list layout to PDF by the print run, as the print options windows start it: the
// tables opened, the layout row read, the view read in the order of the sort, every task's items declared
// and printed, and the PDF written.
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "platform/framework/FileManager.h"
#include "platform/reportengine/LayoutFile.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "reports/PrintProcess.h"
#include "reports/ReportAreas.h"

#include "BenchData.h"
#include "BenchLayouts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace jornix;

namespace {

constexpr int Tasks = 10000;

ReportLayout TaskList()
{
    return bench::ListLayout(QStringLiteral("Task"),
                             {"Num", "Description", "DueDate", "Priority", "CreateLoginID"},
                             {15, 80, 35, 20, 40}, QStringLiteral("ReportOptions.Description"),
                             QStringLiteral("\"Page \" & Str$(Page())"));
}

bool Fill(const QString& folder)
{
    QString error;
    if (!WriteLayoutFile(folder + QStringLiteral("jx_1.rpt"), TaskList(), error))
        return false;
    Table& layouts = AccessLLL_->GetTable();
    layouts.ClearBuffer();
    layouts.Buffer().SetValue("LLL_:Ref", 1);
    layouts.Buffer().SetValue("LLL_:AreaRef", ReportArea::Tasks);
    layouts.Buffer().SetValue("LLL_:Description", "Task List");
    layouts.Buffer().SetValue("LLL_:FileName", "jx_1");
    layouts.Buffer().SetValue("LLL_:Type", 1);
    if (!layouts.Insert())
        return false;
    Table& tasks = AccessTSK->GetTable();
    Transaction transaction(tasks);
    if (!transaction.Begin())
        return false;
    for (int num = 1; num <= Tasks; ++num) {
        tasks.ClearBuffer();
        Record& task = tasks.Buffer();
        task.SetValue("TSK:Num", num);
        task.SetValue("TSK:Description",
                      QStringLiteral("Task number %1 of the list").arg((num * 7919) % Tasks));
        task.SetValue("TSK:DueDate", 80000 + num % 400);
        task.SetValue("TSK:Priority", 1 + num % 3);
        task.SetValue("TSK:CreateLoginID", "admin");
        task.SetValue("TSK:Notes", "Notes of the task");
        if (!tasks.Insert())
            return false;
    }
    return bool(transaction.Commit());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // A folder given as the argument keeps the data and the PDF for a look at them.
    const bench::BenchDataFolder data(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    const QString folder = data.Path();
    DataPathText = folder;

    AccessTSK->Open();
    AccessLLL_->Open();
    if (!Fill(folder))
        return 1;

    double total = 0;
    const QString pdf = folder + QStringLiteral("tasks.pdf");
    StartProcedureThread([&] {
        QElapsedTimer timer;
        timer.start();
        PrintProcess(ReportArea::Tasks, 1, 3, OutputFormat::Pdf, 0, 0, pdf, "", "");
        total = timer.nsecsElapsed() / 1e6;
    });
    WaitForProgramThreads(120000);
    EndProgramThreads();
    AccessLLL_->Close();
    AccessTSK->Close();

    std::printf("%-52s %8.1f ms\n", "10,000 tasks to PDF by the print run (due date order)", total);
    std::printf("%-52s %8.1f KiB\n", "PDF size", QFileInfo(pdf).size() / 1024.0);
    return QFileInfo::exists(pdf) ? 0 : 1;
}
