// The first screen of an order that no key covers, over 10,000 and 100,000 contacts of an enciphered file
// (and 1,000,000 with --million), each beside baselines measured in the same run on the same file:
//   - a key's order: the first screen of the case-insensitive last-name key;
//   - the bare keyset SQL: the same order as one SELECT of every listed row id, stepped to its end, as a
//     view that reads the whole order before its first screen must.
// Each sort expression is read by a fresh view (its order read anew), five times; the median is printed.
// Goal: under 20 ms at 100,000 rows for an order that an index gives; an order that only a sort of every
// row gives costs no more than its bare keyset SQL.
// The data files are made in a folder under the working directory (run it from the build folder) and
// deleted at the end; --folder <path> puts them elsewhere.
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/View.h"

#include <QWidget> // BenchLists.h draws a warm-up window

#include "BenchLists.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

using namespace jornix;

namespace {

constexpr int Screen = 30;
constexpr int Runs = 5;

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median of Runs runs, or of those run within about two seconds (a long baseline at 1,000,000 rows).
double TimeMs(const std::function<void()>& action)
{
    std::vector<double> times;
    double total = 0;
    for (int run = 0; run < Runs && (run == 0 || total < 2000); ++run) {
        QElapsedTimer timer;
        timer.start();
        action();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        total += times.back();
    }
    return Median(times);
}

void Report(const char* what, double milliseconds, const QString& note = {})
{
    std::printf("  %-66s %9.3f ms %s\n", what, milliseconds, qPrintable(note));
}

// Every row id of one SELECT, stepped to its end on the table's own connection.
qint64 StepAll(Table& table, const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(table.File()->Handle(), text.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        std::printf("  the baseline SQL was refused: %s\n", sqlite3_errmsg(table.File()->Handle()));
        return 0;
    }
    qint64 rows = 0, sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sum += sqlite3_column_int64(statement, 0);
        ++rows;
    }
    sqlite3_finalize(statement);
    return rows + (sum & 0); // the sum keeps the reads from being optimised away
}

void Measure(const QString& folder, int records)
{
    Catalogue catalogue;
    const int flags = KeyFlag::NoCase | KeyFlag::Opt;
    Table& contacts = bench::ContactsTable(catalogue);
    contacts.AddMemo("Notes", 32000)
        .AddKey("NumK", {"Num"}, KeyFlag::Primary | flags, "by Contact Number", true)
        .AddKey("LNameK", {"LName", "FName"}, KeyFlag::Dup | flags, "by Last Name")
        .AddKey("CompanyK", {"Company"}, KeyFlag::Dup | flags, "by Company");
    QDir(folder).mkpath(QString::number(records));
    catalogue.SetFolder(folder + QLatin1Char('/') + QString::number(records));
    if (!contacts.Open())
        return;
    QElapsedTimer timer;
    timer.start();
    const bool written = bench::WriteNumbered(contacts, records, [&](Record& buffer, int number) {
        const QString name =
            QStringLiteral("Name %1").arg((qint64(number) * 7919) % records, 7, 10, QLatin1Char('0'));
        buffer.SetValue(1, number % 3 ? name : name.toUpper());
        buffer.SetValue(2, QStringLiteral("First %1").arg(number % 311));
        buffer.SetValue(3, QStringLiteral("Company %1").arg(number % 97));
        buffer.SetValue(4, QStringLiteral("Notes of contact %1, met at the spring fair").arg(number));
    });
    if (!written)
        return;
    std::printf("\n%d contacts written in %lld ms\n", records, timer.elapsed());

    std::vector<ViewRow> rows;
    const double keyed = TimeMs([&] {
        View view(contacts);
        view.SetOrder(contacts.KeyIndex("CON:LNameK"));
        view.Read({}, Direction::Forward, Screen, rows);
    });
    Report("baseline: first screen in a key's order (last name, any case)", keyed);

    struct Order
    {
        const char* what;
        const char* sort;
        const char* bare; // the same order as plain SQL
    };
    const Order orders[] = {
        {"last name in any case, descending", "-UPPER(CON:LName)",
         "SELECT rowid FROM \"Contacts\" ORDER BY \"LName_nocase\" DESC, rowid"},
        {"company in any case, then number descending", "UPPER(CON:Company), -CON:Num",
         "SELECT rowid FROM \"Contacts\" ORDER BY \"Company_nocase\", \"Num\" DESC, rowid"},
        {"first name in any case, then number (only a sort gives it)", "UPPER(CON:FName), CON:Num",
         "SELECT rowid FROM \"Contacts\" ORDER BY \"FName_nocase\", \"Num\", rowid"},
        {"notes as stored, descending (no index holds them)", "-CON:Notes",
         "SELECT rowid FROM \"Contacts\" ORDER BY \"Notes\" DESC, rowid"},
        {"notes in any case (no index holds them: folded as the keys fold)", "UPPER(CON:Notes)",
         "SELECT rowid FROM \"Contacts\" ORDER BY jornix_fold(\"Notes\"), rowid"},
    };
    for (const Order& order : orders) {
        std::printf(" %s: \"%s\"\n", order.what, order.sort);
        Position last;
        const double first = TimeMs([&] {
            View view(contacts);
            view.SetOrder(QString::fromLatin1(order.sort));
            view.Read({}, Direction::Forward, Screen, rows);
            last = rows.empty() ? Position{} : rows.back().position;
        });
        Report("first screen (a fresh view: its order read anew)", first);
        View view(contacts);
        view.SetOrder(QString::fromLatin1(order.sort));
        view.Read({}, Direction::Forward, Screen, rows);
        std::vector<double> pages;
        Position at = rows.back().position;
        for (int page = 0; page < 50 && !rows.empty(); ++page) {
            QElapsedTimer next;
            next.start();
            view.Read(at, Direction::Forward, Screen, rows);
            pages.push_back(double(next.nsecsElapsed()) / 1e6);
            if (!rows.empty())
                at = rows.back().position;
        }
        Report("each next screen, 50 screens on", Median(pages));
        const double end = TimeMs([&] {
            View fresh(contacts);
            fresh.SetOrder(QString::fromLatin1(order.sort));
            fresh.Read({}, Direction::Backward, Screen, rows);
        });
        Report("last screen (a fresh view)", end);
        qint64 stepped = 0;
        const double bare = TimeMs([&] { stepped = StepAll(contacts, QString::fromLatin1(order.bare)); });
        Report("baseline: the bare keyset SQL, every row id stepped", bare,
               QStringLiteral("(%1 rows)").arg(stepped));
    }
    contacts.Close();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    bool million = false;
    QString base = QDir::currentPath();
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--million") == 0)
            million = true;
        else if (std::strcmp(argv[index], "--folder") == 0 && index + 1 < argc)
            base = QString::fromLocal8Bit(argv[++index]);
    }
    QTemporaryDir folder(base + QStringLiteral("/bench_SortOrders-XXXXXX"));
    if (!folder.isValid()) {
        std::printf("no folder for the data files under %s\n", qPrintable(base));
        return 1;
    }
    bench::UseBenchKey();
    std::printf("First screen (%d rows) of orders that no key covers; median of %d runs\n", Screen, Runs);
    std::vector<int> sizes{10000, 100000};
    if (million)
        sizes.push_back(1000000);
    for (const int records : sizes) {
        Measure(folder.path(), records);
        QDir(folder.path() + QLatin1Char('/') + QString::number(records)).removeRecursively();
    }
    return 0;
}
