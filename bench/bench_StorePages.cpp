// Keyed page reads over 100,000 records of an enciphered file: a list's first page, paging forward and
// backward in a key order with and without a filter, a page around a record just written, and pages in an
// order that no key covers.
#include "platform/store/Catalogue.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace jornix;

namespace {

constexpr int Records = 100000;
constexpr int PageRows = 30;
constexpr int Pages = 500;

void Report(const char* what, int pages, qint64 nanoseconds)
{
    std::printf("%-52s %8.3f ms per page\n", what, double(nanoseconds) / pages / 1e6);
}

// Reads pages one after the other from the first, each from the last row of the one before.
void PageThrough(View& view, Direction direction, const char* what)
{
    std::vector<ViewRow> rows;
    Position at;
    QElapsedTimer timer;
    timer.start();
    int pages = 0;
    for (; pages < Pages; ++pages) {
        if (!view.Read(at, direction, PageRows, rows) || rows.empty())
            break;
        at = direction == Direction::Forward ? rows.back().position : rows.front().position;
    }
    Report(what, pages, timer.nsecsElapsed());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    SetOwnerPassword(QStringLiteral("BENCHM{00000000-0000-0000-0000-000000000000}BENCHM"), "salt of the benchmarks key");
    Catalogue catalogue;
    const int flags = KeyFlag::NoCase | KeyFlag::Opt;
    Table& log =
        catalogue.AddTable("LOG", "Jornix", "LogFile", FileAttribute::Encrypt | FileAttribute::Create);
    log.AddLong("LogNum")
        .AddLong("LogDate")
        .AddLong("LogType")
        .AddShort("LogRank")
        .AddString("LogDescription", 255)
        .AddString("LogLocation", 255)
        .AddMemo("LogMiniNotes", 1000)
        .AddBlob("LogDoc")
        .AddKey("LogNumK", {"LogNum"}, KeyFlag::Primary | flags, "LOG:LogNumK", true)
        .AddKey("LogDateK", {"LogDate"}, KeyFlag::Dup | flags, "LOG:LogDateK")
        .AddKey("LogDescriptionK", {"LogDescription"}, KeyFlag::Dup | flags, "by Description")
        .AddKey("LogDateRankDescriptionK", {"LogDate", "LogRank", "LogDescription"}, KeyFlag::Dup | flags,
                "by LogDate Description");
    catalogue.SetFolder(folder.path());
    if (!log.Open())
        return 1;

    QElapsedTimer timer;
    timer.start();
    {
        Transaction transaction(log);
        transaction.Begin();
        QRandomGenerator random(42);
        for (int number = 1; number <= Records; ++number) {
            Record& buffer = log.Buffer();
            buffer.Clear();
            buffer.SetValue(0, number);
            buffer.SetValue(1, 75000 + int(random.bounded(8000)));
            buffer.SetValue(2, int(random.bounded(4)));
            buffer.SetValue(3, int(random.bounded(5)));
            buffer.SetValue(
                4, QStringLiteral("Event %1 at the %2").arg(random.bounded(100000)).arg(number % 97));
            buffer.SetValue(6, QStringLiteral("Notes of event %1").arg(number));
            if (Status status = log.Insert(); !status) {
                std::printf("insert failed: %s\n", qPrintable(status.Message()));
                return 1;
            }
        }
        transaction.Commit();
    }
    std::printf("%d records written in %lld ms\n", Records, timer.elapsed());

    View view(log);
    view.SetOrder(log.KeyIndex("LOG:LogDateRankDescriptionK"));
    std::vector<ViewRow> rows;
    timer.restart();
    view.Read({}, Direction::Forward, PageRows, rows);
    Report("first page, by date, rank and description", 1, timer.nsecsElapsed());
    PageThrough(view, Direction::Forward, "forward, by date, rank and description");
    PageThrough(view, Direction::Backward, "backward, by date, rank and description");

    view.SetOrder(log.KeyIndex("LOG:LogDescriptionK"));
    PageThrough(view, Direction::Forward, "forward, by description");

    view.SetOrder(log.KeyIndex("LOG:LogDateK"));
    view.SetFilter(QStringLiteral("LOG:LogType = 1 AND LOG:LogDate >= 80000"));
    PageThrough(view, Direction::Forward, "forward, by date, filtered by type and date");
    view.SetFilter(QStringLiteral("LOG:LogType = 2 AND LOG:LogDate = 80001"));
    PageThrough(view, Direction::Forward, "forward, by date, filtered to one day");

    // The page around a record a form has just written.
    view.SetFilter({});
    view.SetOrder(log.KeyIndex("LOG:LogDateRankDescriptionK"));
    timer.restart();
    int pages = 0;
    for (qint64 row = 1; row <= Records; row += Records / 200, ++pages) {
        Position position;
        view.PositionOf(row, position);
        view.Read(position, Direction::Backward, PageRows / 2, rows);
        view.Read(position, Direction::Forward, PageRows / 2, rows, true);
    }
    Report("page around a written record", pages, timer.nsecsElapsed());

    // An order that no key covers: the first page reads the order once as a keyset, the next take from it.
    view.SetOrder(QStringLiteral("-UPPER(LOG:LogLocation), +LOG:LogNum"));
    timer.restart();
    view.Read({}, Direction::Forward, PageRows, rows);
    Report("first page, by a sort expression (its keyset read)", 1, timer.nsecsElapsed());
    PageThrough(view, Direction::Forward, "forward, by a sort expression");
    log.Close();
    return 0;
}
