#pragma once

// What the tests of the print options share: layouts written straight into the layouts table, the texts
// of the layout list (the check of a window's picture is the organizer tests').

#include "core/StandInWindows.h"
#include "core/CoreProcedures.h"
#include "core/DataLayer.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/TableRelations.h"
#include "reports/CallPrintProcess.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/WindowController.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "organizer/OrganizerTest.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>

namespace jornix::test {

struct Layout
{
    int area = 1;
    QString description;
    int outputFormat = 2;
    int printerOptions = 0;
    int openOutputFile = 0;
    int factoryDefault = 0;
    int type = 1;
    int style = 2;
    QString fileName = {};
    QString filter = {};
    QString notes = {};
};

// Writes the layouts and gives their numbers.
inline QList<qint32> AddLayouts(const std::vector<Layout>& layouts)
{
    QList<qint32> numbers;
    Table& table = AccessLLL_->GetTable();
    Transaction transaction(table);
    if (!transaction.Begin())
        return numbers;
    for (const Layout& layout : layouts) {
        qint32 number = 0;
        if (!table.TakeNextNumber(number))
            return numbers;
        Record& buffer = table.Buffer();
        buffer.Clear();
        buffer.SetValue("LLL_:Ref", number);
        buffer.SetValue("LLL_:AreaRef", layout.area);
        buffer.SetValue("LLL_:Description", layout.description);
        buffer.SetValue("LLL_:OutputFormat", layout.outputFormat);
        buffer.SetValue("LLL_:PrinterOptions", layout.printerOptions);
        buffer.SetValue("LLL_:OpenOutputFile", layout.openOutputFile);
        buffer.SetValue("LLL_:FactoryDefault", layout.factoryDefault);
        buffer.SetValue("LLL_:Type", layout.type);
        buffer.SetValue("LLL_:Style", layout.style);
        buffer.SetValue("LLL_:FileName", layout.fileName);
        buffer.SetValue("LLL_:Filter", layout.filter);
        buffer.SetValue("LLL_:Notes", layout.notes);
        if (!table.Insert())
            return numbers;
        numbers << number;
    }
    transaction.Commit();
    return numbers;
}

inline void RemoveAllLayouts()
{
    Table& table = AccessLLL_->GetTable();
    View all(table);
    std::vector<ViewRow> rows;
    all.Read({}, Direction::Forward, 100000, rows);
    for (const ViewRow& row : rows)
        if (table.FetchRow(row.position.rowId))
            table.Delete();
}

// The rows of the window's layout list as the user reads them: "lock|description|type|output|style".
inline QStringList LayoutRows(WindowController& window)
{
    QStringList rows;
    const QAbstractItemModel* model = window.window.ListModel(testing::ControlNumber(window, "List"));
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells{model->data(model->index(row, 0), Qt::DecorationRole).isNull() ? "" : "lock"};
        for (int column = 1; column < 5; ++column)
            cells << model->data(model->index(row, column)).toString();
        rows << cells.join('|');
    }
    return rows;
}

// Whether the description column of the window's layout list takes the width the other columns leave and
// shows each description whole; empty when it does, otherwise what is wrong.
inline QString DescriptionColumnProblem(WindowController& window, const QStringList& descriptions)
{
    auto* list = qobject_cast<QTreeView*>(window.window.Widget(testing::ControlNumber(window, "List")));
    if (!list)
        return QStringLiteral("no layout list");
    const QHeaderView* header = list->header();
    int others = 0;
    for (int column = 0; column < header->count(); ++column)
        if (column != 1)
            others += header->sectionSize(column);
    if (header->sectionSize(1) != list->viewport()->width() - others)
        return QStringLiteral("the description is %1 wide, the free width %2")
            .arg(header->sectionSize(1))
            .arg(list->viewport()->width() - others);
    for (const QString& description : descriptions)
        if (header->sectionSize(1) <= list->fontMetrics().horizontalAdvance(description))
            return QStringLiteral("%1 wide for \"%2\"").arg(header->sectionSize(1)).arg(description);
    return {};
}

// The file dialog's answer when the user chooses the file.
inline CommonDialogAnswer Chosen(const QString& path)
{
    CommonDialogAnswer answer;
    answer.accepted = true;
    answer.path = path;
    return answer;
}

// The program folder and frame of a print-options test, with the layouts table open and the print jobs
// recorded instead of printed; Reset empties the layouts and the jobs before each case, Close ends the
// procedure's window after it.
class PrintOptionsFixture
{
public:
    PrintOptionsFixture()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        open = RelationsLLL_->Open() == Level::GoOn; // the test's own hold, to write layouts
        RegisterStandInWindows();
        RegisterCoreProcedures();
        RegisterReportsProcedures();
        SetPrintJobSink([this](const PrintJobRequest& request) { jobs.push_back(request); });
    }
    ~PrintOptionsFixture()
    {
        SetPrintJobSink({});
        EndProgramThreads();
        RelationsLLL_->Close();
    }
    PrintOptionsFixture(const PrintOptionsFixture&) = delete;
    PrintOptionsFixture& operator=(const PrintOptionsFixture&) = delete;

    void Reset()
    {
        CurrentUserAccess.fill(2);
        jobs.clear();
        RemoveAllLayouts();
        GLO.DataPath = folder.Path();
    }
    static void Close(const QString& procedure)
    {
        if (WindowController* window = testing::FindWindow(procedure)) {
            PostEvent(Event::CloseWindow, 0, window->Thread());
            testing::WaitIdle();
        }
    }

    DataFolder folder;
    TestFrame frame;
    bool open = false;
    std::vector<PrintJobRequest> jobs;
};

} // namespace jornix::test
