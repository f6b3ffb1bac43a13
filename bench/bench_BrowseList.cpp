// A list window's list over 100,000 records of an enciphered file: the first screen (the rows read, the
// list drawn), paging down through the list, the list read again around a record deep in it, and the first
// screen with a filter that passes one row in 97 or none, beside the same SQL with NOT INDEXED.
#include "platform/framework/BrowseList.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Expression.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Transaction.h"

#include "BenchLists.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

using namespace jornix;

namespace {

constexpr int Records = 100000;

void Report(const char* what, qint64 nanoseconds, int times = 1)
{
    std::printf("%-52s %8.3f ms\n", what, double(nanoseconds) / times / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    QTemporaryDir folder;
    bench::UseBenchKey();
    Catalogue catalogue;
    const int flags = KeyFlag::NoCase | KeyFlag::Opt;
    Table& contacts = bench::ContactsTable(catalogue);
    contacts.AddLong("CreateDate")
        .AddByte("Private")
        .AddLong("UniqueID")
        .AddMemo("Notes", 32000)
        .AddKey("NumK", {"Num"}, KeyFlag::Primary | flags, "by Contact Number", true)
        .AddKey("LNameK", {"LName", "FName"}, KeyFlag::Dup | flags, "by Last Name");
    catalogue.SetFolder(folder.path());
    if (!contacts.Open())
        return 1;

    QElapsedTimer timer;
    timer.start();
    QRandomGenerator random(42);
    const bool written = bench::WriteNumbered(contacts, Records, [&](Record& buffer, int number) {
        buffer.SetValue(1, QStringLiteral("Name %1").arg(random.bounded(100000)));
        buffer.SetValue(2, QStringLiteral("First %1").arg(number % 311));
        buffer.SetValue(3, QStringLiteral("Company %1").arg(number % 97));
        buffer.SetValue(4, 80000 + number % 3000);
        buffer.SetValue(5, number % 10 == 0 ? 1 : 0);
        buffer.SetValue(6, number % 3);
        buffer.SetValue(7, QStringLiteral("Notes of contact %1").arg(number));
    });
    if (!written)
        return 1;
    std::printf("%d records written in %lld ms\n", Records, timer.elapsed());

    bench::ListAccess contactsAccess(contacts);

    // The list leaves out the private records of other users, as the program's lists do.
    struct ContactsList : BrowseList
    {
        int CheckRecord(const Record& record) override { return record.Long(5) != 0 && record.Long(6) != 1; }
    };

    bench::WarmUp();

    QElapsedTimer first;
    first.start();
    WindowController window(QStringLiteral("Bench"), QStringLiteral("Contacts"), WindowType::Child);
    const int list = window.window.List({{"Last Name", {}, Qt::AlignLeft},
                                         {"First Name", {}, Qt::AlignLeft},
                                         {"Company", {}, Qt::AlignLeft},
                                         {"Created", "@d17", Qt::AlignRight}});
    window.window.Root()->resize(800, 600);
    View view(contacts);
    ContactsList brw;
    brw.Init(list, view, contactsAccess.relations, window);
    brw.AddOrder(contacts.KeyIndex("CON:LNameK"));
    brw.MapField(QStringLiteral("CON:LName"), 0);
    brw.MapField(QStringLiteral("CON:FName"), 1);
    brw.MapField(QStringLiteral("CON:Company"), 2);
    brw.MapField(QStringLiteral("CON:CreateDate"), 3, QStringLiteral("@d17"));
    window.window.Root()->show();
    const qint64 built = first.nsecsElapsed();
    brw.ReadFirst();
    const qint64 read = first.nsecsElapsed();
    window.window.Root()->grab(); // drawn
    Report("first screen: window, first page read, list drawn", first.nsecsElapsed());
    Report("  of which the window built and shown", built);
    Report("  of which the first page read", read - built);
    Report("  of which the drawing", first.nsecsElapsed() - read);

    QElapsedTimer paging;
    paging.start();
    constexpr int Steps = 200;
    for (int step = 0; step < Steps; ++step)
        brw.Move(VcrRequest::PageDown);
    Report("page down, per step (pages read as reached)", paging.nsecsElapsed(), Steps);
    std::printf("rows held after %d pages down: %d\n", Steps, brw.RowCount());

    QElapsedTimer around;
    around.start();
    brw.ReadAround(Records / 2);
    Report("read again around a record", around.nsecsElapsed());
    window.window.Root()->grab();
    Report("read again around a record, drawn", around.nsecsElapsed());
    QElapsedTimer again;
    again.start();
    window.window.Root()->grab();
    Report("the same screen drawn again", again.nsecsElapsed());

    QElapsedTimer bottom;
    bottom.start();
    brw.Move(VcrRequest::Bottom);
    window.window.Root()->grab();
    Report("last screen", bottom.nsecsElapsed());
    brw.Kill();

    // The first screen of the same list with a filter on a column that no key has, beside the same filter's
    // page SQL run with NOT INDEXED (one pass over the table, sorted) in the same run.
    const std::pair<const char*, QString> filters[] = {
        {"filter that passes 1 row in 97", QStringLiteral("CON:Company = 'Company 5'")},
        {"filter that matches nothing", QStringLiteral("CON:Company = 'Nobody'")},
    };
    for (const auto& [what, filter] : filters) {
        QElapsedTimer screen;
        screen.start();
        WindowController filtered(QStringLiteral("Bench"), QStringLiteral("Contacts"), WindowType::Child);
        const int control = filtered.window.List({{"Last Name", {}, Qt::AlignLeft},
                                                  {"First Name", {}, Qt::AlignLeft},
                                                  {"Company", {}, Qt::AlignLeft}});
        filtered.window.Root()->resize(800, 600);
        View filteredView(contacts);
        filteredView.SetFilter(filter);
        ContactsList filteredList;
        filteredList.Init(control, filteredView, contactsAccess.relations, filtered);
        filteredList.AddOrder(contacts.KeyIndex("CON:LNameK"));
        filteredList.MapField(QStringLiteral("CON:LName"), 0);
        filteredList.MapField(QStringLiteral("CON:FName"), 1);
        filteredList.MapField(QStringLiteral("CON:Company"), 2);
        filtered.window.Root()->show();
        filteredList.ReadFirst();
        filtered.window.Root()->grab();
        const qint64 listed = screen.nsecsElapsed();
        const int rows = filteredList.RowCount();
        filteredList.Kill();

        SqlExpression where;
        ExpressionNames names;
        CompileFilter(filter, contacts, names, where);
        QElapsedTimer baseline;
        baseline.start();
        Status status;
        Statement statement = contacts.File()->Prepare(
            QStringLiteral(
                "SELECT %1 FROM %2 NOT INDEXED WHERE %3 ORDER BY \"LName_nocase\", \"FName_nocase\", "
                "rowid LIMIT 40")
                .arg(contacts.SelectListSql(false), contacts.TableSql(), where.sql),
            status);
        for (size_t index = 0; index < where.parameters.size(); ++index)
            statement.Bind(int(index) + 1, where.parameters[index].Value());
        int baselineRows = 0;
        while (statement.Step() == SQLITE_ROW)
            ++baselineRows;
        std::printf("first screen, %-34s %9.3f ms (%d rows)   same SQL with NOT INDEXED %8.3f ms (%d rows)\n",
                    what, double(listed) / 1e6, rows, double(baseline.nsecsElapsed()) / 1e6, baselineRows);
    }
    return 0;
}
