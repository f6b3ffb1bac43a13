#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include <QtTest>

// How a filtered view reads its pages: the work of a read (the SQLite VM's steps over every statement it ran)
// for filters that pass every row, one row in 97 or none, through an indexed column or not, at the first page
// and deep in the order. A page costs about its rows, whatever the table's size; a filter that no index
// serves costs one pass over the table, once, while nothing changes.
using namespace jornix;

namespace {

constexpr int Rows = 5000;
constexpr int PageRows = 10;

struct Items
{
    QTemporaryDir folder;
    Catalogue catalogue;
    Table& items = catalogue.AddTable("ITM:", "Items", "Items", FileAttribute::Create);

    Items()
    {
        const int flags = KeyFlag::NoCase | KeyFlag::Opt;
        items.AddLong("Num")
            .AddString("Name", 20)
            .AddString("Company", 20)
            .AddLong("Team")
            .AddMemo("Notes", 100);
        items.AddKey("NumK", {"Num"}, KeyFlag::Primary | flags, "by Number")
            .AddKey("NameK", {"Name"}, KeyFlag::Dup | flags, "by Name")
            .AddKey("CompanyK", {"Company"}, KeyFlag::Dup | flags, "by Company");
        catalogue.SetFolder(folder.path());
    }
    ~Items() { items.Close(); }

    // Names in an order unlike the numbers; one row in 97 of each company and of each team.
    static QString Name(int number)
    {
        return QStringLiteral("Name %1").arg((number * 7919) % Rows, 5, 10, QLatin1Char('0'));
    }
    static QString Company(int number) { return QStringLiteral("Company %1").arg(number % 97); }

    bool Fill()
    {
        Transaction transaction(items);
        if (!transaction.Begin())
            return false;
        for (int number = 1; number <= Rows; ++number) {
            Record& buffer = items.Buffer();
            buffer.Clear();
            buffer.SetValue("ITM:Num", number);
            buffer.SetValue("ITM:Name", Name(number));
            buffer.SetValue("ITM:Company", Company(number));
            buffer.SetValue("ITM:Team", number % 97);
            buffer.SetValue("ITM:Notes", QStringLiteral("Notes of item %1").arg(number));
            if (!items.Insert())
                return false;
        }
        return bool(transaction.Commit());
    }
};

// Adds up the VM steps of every statement that runs on a connection while it lives.
class StepCount
{
public:
    explicit StepCount(sqlite3* db) : db_(db)
    {
        sqlite3_trace_v2(db_, SQLITE_TRACE_PROFILE, &StepCount::Profiled, this);
    }
    ~StepCount() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    qint64 Take()
    {
        const qint64 taken = steps_;
        steps_ = 0;
        return taken;
    }

private:
    static int Profiled(unsigned, void* context, void* statement, void*)
    {
        static_cast<StepCount*>(context)->steps_ +=
            sqlite3_stmt_status(static_cast<sqlite3_stmt*>(statement), SQLITE_STMTSTATUS_VM_STEP, 1);
        return 0;
    }
    sqlite3* db_;
    qint64 steps_ = 0;
};

QList<int> Numbers(const std::vector<ViewRow>& rows)
{
    QList<int> numbers;
    for (const ViewRow& row : rows)
        numbers << row.record.Long(0);
    return numbers;
}

// The numbers a filter passes, in name order (names are unique).
QList<int> Expected(const std::function<bool(int)>& passes)
{
    QList<int> numbers;
    for (int number = 1; number <= Rows; ++number)
        if (passes(number))
            numbers << number;
    std::sort(numbers.begin(), numbers.end(), [](int a, int b) { return Items::Name(a) < Items::Name(b); });
    return numbers;
}

} // namespace

Q_DECLARE_METATYPE(std::function<bool(int)>)

class FilterPlansTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test_ = std::make_unique<Items>();
        QVERIFY(test_->items.Open());
        QVERIFY(test_->Fill());
    }
    void cleanup() { test_.reset(); }

    // The bounds, in VM steps, are far below one pass over the table (three to five steps a row) wherever
    // the plan lets a page cost its rows; "first" is the first page's, which may pass over the table once
    // when no index serves the filter.
    void aPageCostsItsRowsNotTheTables_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<std::function<bool(int)>>("passes");
        QTest::addColumn<qint64>("first");
        const qint64 page = 40 * PageRows + 400; // a page's rows and a few lookups
        const qint64 pass = 5 * Rows;            // one pass over the table, and the page
        QTest::newRow("no filter") << QString() << std::function<bool(int)>([](int) { return true; }) << page;
        QTest::newRow("every other row, no index")
            << "ITM:Team < 49" << std::function<bool(int)>([](int n) { return n % 97 < 49; }) << page;
        QTest::newRow("nearly every row, an indexed column")
            << "ITM:Num > 100" << std::function<bool(int)>([](int n) { return n > 100; }) << pass;
        QTest::newRow("1 in 97, an indexed column")
            << "ITM:Company = 'Company 5'" << std::function<bool(int)>([](int n) { return n % 97 == 5; })
            << 40 * (Rows / 97) + page;
        QTest::newRow("1 in 97, no index")
            << "ITM:Team = 5" << std::function<bool(int)>([](int n) { return n % 97 == 5; }) << pass;
        QTest::newRow("1 in 97, an indexed column and another")
            << "ITM:Company = 'Company 5' AND ITM:Num > 100"
            << std::function<bool(int)>([](int n) { return n % 97 == 5 && n > 100; })
            << 40 * (Rows / 97) + page;
        QTest::newRow("nothing, an indexed column")
            << "ITM:Company = 'Nobody'" << std::function<bool(int)>([](int) { return false; }) << page;
        QTest::newRow("nothing, no index")
            << "ITM:Team = 500" << std::function<bool(int)>([](int) { return false; }) << pass;
        QTest::newRow("nothing, a text searched")
            << "ITM:Notes ~ 'needle'" << std::function<bool(int)>([](int) { return false; }) << pass;
    }
    void aPageCostsItsRowsNotTheTables()
    {
        QFETCH(QString, filter);
        QFETCH(std::function<bool(int)>, passes);
        QFETCH(qint64, first);
        const qint64 page = 40 * PageRows + 400;
        Table& items = test_->items;
        const QList<int> expected = Expected(passes);
        View view(items);
        view.SetOrder(items.KeyIndex("ITM:NameK"));
        QVERIFY(view.SetFilter(filter));
        StepCount steps(items.File()->Handle());
        std::vector<ViewRow> rows;

        QVERIFY(view.Read({}, Direction::Forward, PageRows, rows));
        const qint64 firstSteps = steps.Take();
        QCOMPARE(Numbers(rows), expected.mid(0, PageRows));
        QVERIFY2(firstSteps <= first, qPrintable(QStringLiteral("first page: %1 steps").arg(firstSteps)));

        QVERIFY(view.Read({}, Direction::Forward, PageRows, rows));
        const qint64 again = steps.Take();
        QCOMPARE(Numbers(rows), expected.mid(0, PageRows));
        QVERIFY2(again <= page, qPrintable(QStringLiteral("the first page again: %1 steps").arg(again)));

        QVERIFY(view.Read({}, Direction::Backward, PageRows, rows));
        const qint64 last = steps.Take();
        QCOMPARE(Numbers(rows), expected.mid(std::max(0, int(expected.size()) - PageRows)));
        QVERIFY2(last <= page, qPrintable(QStringLiteral("the last page: %1 steps").arg(last)));

        if (expected.isEmpty())
            return;
        // Forward and backward from a row deep in the order.
        const int middle = int(expected.size()) / 2;
        Position deep;
        QVERIFY(view.PositionOf(expected[middle], deep)); // row ids are the numbers
        steps.Take();
        QVERIFY(view.Read(deep, Direction::Forward, PageRows, rows));
        const qint64 forward = steps.Take();
        QCOMPARE(Numbers(rows), expected.mid(middle + 1, PageRows));
        QVERIFY2(forward <= page, qPrintable(QStringLiteral("forward from deep: %1 steps").arg(forward)));
        QVERIFY(view.Read(deep, Direction::Backward, PageRows, rows));
        const qint64 backward = steps.Take();
        QCOMPARE(Numbers(rows), expected.mid(std::max(0, middle - PageRows), std::min(middle, PageRows)));
        QVERIFY2(backward <= page, qPrintable(QStringLiteral("backward from deep: %1 steps").arg(backward)));
        QVERIFY(view.Read(deep, Direction::Forward, PageRows, rows, true));
        QCOMPARE(Numbers(rows), expected.mid(middle, PageRows));
    }

    // What a filter passes follows every write, also when its rows were read once and kept: a row written
    // that passes it shows, a row deleted goes, and a row that does not pass still places a page.
    void aFilteredViewFollowsWrites_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::newRow("an indexed column") << "ITM:Company = 'Company 5'";
        QTest::newRow("no index") << "ITM:Team = 5";
    }
    void aFilteredViewFollowsWrites()
    {
        QFETCH(QString, filter);
        Table& items = test_->items;
        View view(items);
        view.SetOrder(items.KeyIndex("ITM:NameK"));
        QVERIFY(view.SetFilter(filter));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, PageRows, rows));
        QList<int> expected = Expected([](int n) { return n % 97 == 5; });
        QCOMPARE(Numbers(rows), expected.mid(0, PageRows));

        // A new first row, and the old first one deleted.
        Record& buffer = items.Buffer();
        buffer.Clear();
        buffer.SetValue("ITM:Num", Rows + 1);
        buffer.SetValue("ITM:Name", QStringLiteral("Aaron"));
        buffer.SetValue("ITM:Company", QStringLiteral("Company 5"));
        buffer.SetValue("ITM:Team", 5);
        QVERIFY(items.Insert());
        QVERIFY(items.FetchRow(rows[0].position.rowId));
        QVERIFY(items.Delete());
        expected.removeFirst();
        expected.prepend(Rows + 1);
        QVERIFY(view.Read({}, Direction::Forward, PageRows, rows));
        QCOMPARE(Numbers(rows), expected.mid(0, PageRows));

        // The place of a row that the filter does not pass: the pages on either side of it.
        Position outside;
        QVERIFY(view.PositionOf(1, outside));
        const QString name = Items::Name(1); // item 1 is of team 1
        const auto after = std::find_if(expected.begin(), expected.end(),
                                        [&](int n) { return n <= Rows && Items::Name(n) > name; });
        const int at = int(after - expected.begin());
        QVERIFY(view.Read(outside, Direction::Forward, 3, rows));
        QCOMPARE(Numbers(rows), expected.mid(at, 3));
        QVERIFY(view.Read(outside, Direction::Backward, 3, rows, true));
        QCOMPARE(Numbers(rows), expected.mid(std::max(0, at - 3), std::min(at, 3)));
    }

    // Rows read once for a filter are read again when a value it names changes.
    void aFilteredViewFollowsTheValuesItNames()
    {
        Table& items = test_->items;
        View view(items);
        view.SetOrder(items.KeyIndex("ITM:NameK"));
        int team = 5;
        view.Names().Bind("Wanted", [&team] { return QVariant(team); });
        QVERIFY(view.SetFilter("ITM:Team = Wanted"));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, PageRows, rows));
        QCOMPARE(Numbers(rows), Expected([](int n) { return n % 97 == 5; }).mid(0, PageRows));
        team = 6;
        QVERIFY(view.Read({}, Direction::Backward, PageRows, rows));
        const QList<int> six = Expected([](int n) { return n % 97 == 6; });
        QCOMPARE(Numbers(rows), six.mid(six.size() - PageRows));
    }

private:
    std::unique_ptr<Items> test_;
};

QTEST_GUILESS_MAIN(FilterPlansTest)
#include "tst_FilterPlans.moc"
