#pragma once

// What the tests of the list windows and forms share: the program folder and frame (or, for a form alone, the
// record files) with the tables the test writes held open, records written straight into a table and emptied
// again between cases, the signed-in user, and the windows closed after each case.

#include "core/DataFolder.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/FrameworkEvents.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "platform/framework/WindowDriver.h"

#include <QTest>

#include <initializer_list>
#include <utility>
#include <vector>

namespace jornix::test {

// The tables a test writes straight into, held open by the test itself; at the end the program's threads end
// first, then the tables are let go.
class HeldTables
{
public:
    HeldTables() = default;
    ~HeldTables()
    {
        EndProgramThreads();
        for (TableRelations* relations : tables_)
            relations->Close();
    }
    HeldTables(const HeldTables&) = delete;
    HeldTables& operator=(const HeldTables&) = delete;

    // Opens the tables (there are none before the data layer starts); false when one does not open.
    bool Hold(std::initializer_list<TableRelations*> tables)
    {
        for (TableRelations* relations : tables) {
            if (relations->Open() != Level::GoOn)
                return false;
            tables_.push_back(relations);
        }
        return true;
    }

private:
    std::vector<TableRelations*> tables_;
};

// The program folder and frame of a window test, with the tables it holds.
struct WindowFolder
{
    bool Hold(std::initializer_list<TableRelations*> tables) { return held.Hold(tables); }

    DataFolder folder;
    TestFrame frame;
    HeldTables held; // let go before the frame and the folder end
};

// The record files of a form test, in a temporary folder of their own, with the list icons, the error
// reporter and the data layer started; no settings file and no frame. The data layer ends after the tables
// are let go.
class FormFolder
{
public:
    bool Hold(std::initializer_list<TableRelations*> tables) { return held_.Hold(tables); }
    QString Path() const { return folder_.path() + QLatin1Char('/'); }
    QString FilePath(const QString& name) const { return folder_.filePath(name); }

private:
    struct DataLayerRun
    {
        explicit DataLayerRun(const QString& path)
        {
            WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
            GlobalErrorReporter.Init();
            InitDataLayer();
            SetTableFileNames(path);
        }
        ~DataLayerRun() { KillDataLayer(); }
    };

    QTemporaryDir folder_;
    DataLayerRun dataLayer_{Path()};
    HeldTables held_;
};

using Fields = std::vector<std::pair<QString, QVariant>>;

// Writes records straight into the table, past the data layer's checks, in one transaction: each takes the
// table's next number into "<prefix>:Num", then its fields. The numbers go to `numbers` when it is given.
inline void InsertNumbered(Table& table, const std::vector<Fields>& records,
                           std::vector<qint32>* numbers = nullptr)
{
    const QString numberField = table.Prefix() + QStringLiteral(":Num");
    Transaction transaction(table);
    QVERIFY(transaction.Begin());
    for (const Fields& fields : records) {
        qint32 number = 0;
        QVERIFY(table.TakeNextNumber(number));
        Record& buffer = table.Buffer();
        buffer.Clear();
        buffer.SetValue(numberField, number);
        for (const auto& [name, value] : fields)
            buffer.SetValue(name, value);
        QVERIFY(table.Insert());
        if (numbers)
            numbers->push_back(number);
    }
    QVERIFY(transaction.Commit());
}

// Deletes every record of the table, which the test has opened.
inline void RemoveAll(FileManager& access)
{
    Table& table = access.GetTable();
    View all(table);
    std::vector<ViewRow> rows;
    QVERIFY(all.Read({}, Direction::Forward, 100000, rows));
    for (const ViewRow& row : rows) {
        QVERIFY(table.FetchRow(row.position.rowId));
        QVERIFY(table.Delete());
    }
}

// The user "me" with this unique id is signed in, with full access to every area.
inline void SignInWithFullAccess(qint32 uniqueId)
{
    CurrentUserAccess.fill(2);
    CurrentUserUniqueID = uniqueId;
    UsrAccess::LoginID = QStringLiteral("me");
}

// Starts the procedure and gives its window once the program threads are idle.
inline WindowController* Open(const QString& procedure)
{
    StartProcedure(procedure);
    testing::WaitIdle();
    return testing::FindWindow(procedure);
}

// Every open window of a procedure (two forms of one kind may be open on two threads).
inline std::vector<WindowController*> WindowsOf(const QString& procedure)
{
    std::vector<WindowController*> found;
    for (WindowController* window : WindowController::OpenWindows())
        if (window->ProcedureName() == procedure)
            found.push_back(window);
    return found;
}

// Closes the windows of these procedures in this order, forms before what they were called from; a window
// left open asks nothing on the way out. No window may be left.
inline void CloseInOrder(std::initializer_list<const char*> procedures)
{
    for (const char* procedure : procedures)
        for (WindowController* window : WindowsOf(QString::fromLatin1(procedure))) {
            window->CANCELACTION = 0;
            PostEvent(Event::CloseWindow, 0, window->Thread());
            testing::WaitIdle();
        }
    QVERIFY(WindowController::OpenWindows().empty());
}

} // namespace jornix::test
