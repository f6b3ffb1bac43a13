#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Expression.h"
#include "platform/store/StatementWork.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

namespace {

QList<int> Numbers(const std::vector<ViewRow>& rows)
{
    QList<int> numbers;
    for (const ViewRow& row : rows)
        numbers << row.record.Long(0);
    return numbers;
}

// Reads a whole view one row at a time, each read starting from the row before.
QList<int> WalkForward(View& view)
{
    QList<int> seen;
    Position at;
    std::vector<ViewRow> rows;
    while (view.Read(at, Direction::Forward, 1, rows) && !rows.empty()) {
        seen << rows[0].record.Long(0);
        at = rows[0].position;
    }
    return seen;
}

// Adds people numbered from `first` on in one transaction, each with a name, a login, a birthday and a
// score that `make` gives the number.
struct Made
{
    QString name, login;
    int born = 0;
    double score = 0;
};
bool AddPeople(Table& people, int first, int count, const std::function<Made(int)>& make)
{
    Transaction transaction(people);
    if (!transaction.Begin())
        return false;
    for (int num = first; num < first + count; ++num) {
        const Made made = make(num);
        people.ClearBuffer();
        people.Buffer().SetValue("PEO:Num", num);
        people.Buffer().SetValue("PEO:Login", made.login);
        people.Buffer().SetValue("PEO:Name", made.name);
        people.Buffer().SetValue("PEO:Born", made.born);
        people.Buffer().SetValue("PEO:Score", made.score);
        if (!people.Insert())
            return false;
    }
    return bool(transaction.Commit());
}

// Names in a scattered order, some in capitals.
Made Scattered(int num)
{
    const QString name = QStringLiteral("Name %1").arg((num * 7919) % 100000, 5, 10, QLatin1Char('0'));
    return {num % 3 ? name : name.toUpper(), QStringLiteral("u%1").arg((num * 7907) % 100000), num % 50,
            double(num % 7)};
}

} // namespace

class ViewsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test_ = std::make_unique<TestCatalogue>();
        QVERIFY(test_->people.Open());
        // num, login, name, born
        struct Person
        {
            int num;
            const char* login;
            const char* name;
            int born;
        };
        const Person people[] = {{1, "ann", "Ann", 80000},       {2, "bob", "bob", 80001},
                                 {3, "o'hara", "O'Hara", 80000}, {4, "dora", "Dora; DROP", 79999},
                                 {5, "eve", "Eve", 0},           {6, "fred", "Ärger", 80002}};
        for (const Person& person : people)
            QVERIFY(
                TestCatalogue::AddPerson(test_->people, person.num, person.login, person.name, person.born));
        test_->people.Buffer().SetValue("PEO:Notes", "likes tea");
        QVERIFY(test_->people.Update());
    }
    void cleanup()
    {
        test_->people.Close();
        test_.reset();
        SetFixedClock({});
    }

    void aFilterKeepsTheRecordsItDescribes_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("empty") << "" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("a range of dates") << "PEO:Born >= 80000 AND PEO:Born <= 80001" << QList<int>{1, 2, 3};
        QTest::newRow("names in any case") << "peo:BORN = 80000 and PEO:num <> 1" << QList<int>{3};
        QTest::newRow("or with parentheses")
            << "(PEO:Born = 79999 OR PEO:Born = 0) AND NOT PEO:Num = 5" << QList<int>{4};
        QTest::newRow("a quote doubled in a text") << "PEO:Name = 'O''Hara'" << QList<int>{3};
        QTest::newRow("an equal text keeps its case") << "PEO:Name = 'ann'" << QList<int>{};
        QTest::newRow("a text equal to a field") << "PEO:Name = PEO:Login" << QList<int>{2};
        QTest::newRow("a text compared without its trailing blanks")
            << "PEO:Name = 'Ann   '" << QList<int>{1};
        QTest::newRow("a text that looks like SQL is only a value")
            << "PEO:Name = 'Dora; DROP'" << QList<int>{4};
        QTest::newRow("upper of every letter") << "UPPER(PEO:Name) = 'ÄRGER'" << QList<int>{6};
        QTest::newRow("clip") << "CLIP(PEO:Login) = 'bob'" << QList<int>{2};
        QTest::newRow("instring") << "INSTRING('o', PEO:Login, 1, 1) > 0" << QList<int>{2, 3, 4};
        QTest::newRow("instring from a start") << "INSTRING('a', PEO:Login, 1, 5) = 6" << QList<int>{3};
        QTest::newRow("instring as a condition") << "INSTRING('ar', PEO:Name)" << QList<int>{3};
        QTest::newRow("contains without regard to case") << "PEO:Name ~ 'BO'" << QList<int>{2};
        QTest::newRow("a tilde in front is not") << "~(PEO:Born = 0)" << QList<int>{1, 2, 3, 4, 6};
        QTest::newRow("a number alone is a condition") << "PEO:Born" << QList<int>{1, 2, 3, 4, 6};
        QTest::newRow("a memo") << "PEO:Notes ~ 'tea'" << QList<int>{6};
        QTest::newRow("today") << "PEO:Born = TODAY()" << QList<int>{2};
        QTest::newRow("a bound name") << "PEO:Login = Wanted" << QList<int>{5};
        QTest::newRow("a negative number") << "PEO:Born > -1 AND PEO:Num < 2" << QList<int>{1};
    }
    void aFilterKeepsTheRecordsItDescribes()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, expected);
        SetFixedClock(QDateTime(DateFromDayNumber(80001), QTime(12, 0)));
        View view(test_->people);
        view.Names().Bind("Wanted", [] { return QVariant(QString("eve  ")); });
        const Status status = view.SetFilter(filter);
        QVERIFY2(status, qPrintable(status.Message()));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 100, rows));
        QCOMPARE(Numbers(rows), expected);
        qint64 count = 0;
        QVERIFY(view.Count(count));
        QCOMPARE(count, expected.size());
    }

    void aBadExpressionChangesNothingAndSaysWhatIsWrong_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("named");
        QTest::newRow("an unknown field") << "PEO:Shoe = 1"
                                          << "PEO:Shoe";
        QTest::newRow("a field of another table") << "NTE:Num = 1"
                                                  << "NTE:Num";
        QTest::newRow("a name without prefix") << "Num = 1"
                                               << "Num";
        QTest::newRow("a statement after a semicolon") << "PEO:Num = 1; DROP TABLE People"
                                                       << "\";\"";
        QTest::newRow("a quote left open") << "PEO:Name = 'Ann"
                                           << "no closing quote";
        QTest::newRow("a missing closing parenthesis") << "(PEO:Num = 1"
                                                       << "closing parenthesis is missing";
        QTest::newRow("a closing parenthesis too many") << "PEO:Num = 1)"
                                                        << "no opening one";
        QTest::newRow("an operator without operand") << "PEO:Num = "
                                                     << "ends too early";
        QTest::newRow("an unknown function") << "LOWER(PEO:Name) = 'a'"
                                             << "LOWER";
        QTest::newRow("a function with too many arguments") << "UPPER(PEO:Name, 1) = 'A'"
                                                            << "UPPER";
        QTest::newRow("a double-quoted text") << "PEO:Name = \"x\""
                                              << "\"\"\"";
        QTest::newRow("two values side by side") << "PEO:Num 1"
                                                 << "\"1\"";
    }
    void aBadExpressionChangesNothingAndSaysWhatIsWrong()
    {
        QFETCH(QString, filter);
        QFETCH(QString, named);
        View view(test_->people);
        QVERIFY(view.SetFilter("PEO:Num = 2"));
        const Status status = view.SetFilter(filter);
        QCOMPARE(status.Code(), StoreError::BadExpression);
        QVERIFY2(status.Message().contains(named), qPrintable(status.Message()));
        QVERIFY(status.Message().contains(filter));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 100, rows));
        QCOMPARE(Numbers(rows), QList<int>{2}); // the filter before stays
        qint64 count = 0;
        QVERIFY(test_->people.RecordCount(count));
        QCOMPARE(count, 6);
    }

    void pagesRunForwardAndBackwardFromAPosition()
    {
        View view(test_->people);
        view.SetOrder(test_->people.KeyIndex("PEO:NameK")); // name without regard to case, then birthday
        std::vector<ViewRow> first, second, back;
        QVERIFY(view.Read({}, Direction::Forward, 2, first));
        QCOMPARE(Numbers(first), (QList<int>{1, 2}));
        QVERIFY(view.Read(first.back().position, Direction::Forward, 3, second));
        QCOMPARE(Numbers(second), (QList<int>{4, 5, 3}));
        QVERIFY(view.Read(second.front().position, Direction::Backward, 10, back));
        QCOMPARE(Numbers(back), (QList<int>{1, 2}));
        QVERIFY(view.Read({}, Direction::Backward, 2, back));
        QCOMPARE(Numbers(back), (QList<int>{3, 6}));
        QVERIFY(view.Read(second[1].position, Direction::Forward, 1, back, true));
        QCOMPARE(Numbers(back), QList<int>{5});
    }

    void equalKeyValuesAreToldApartByTheirRow()
    {
        View view(test_->people);
        view.SetOrder(test_->people.KeyIndex("PEO:BornK"));
        QCOMPARE(WalkForward(view), (QList<int>{5, 4, 1, 3, 2, 6}));
    }

    void aRangeAndAFilterNarrowTheOrder()
    {
        View view(test_->people);
        view.SetOrder(test_->people.KeyIndex("PEO:NameK"));
        QVERIFY(view.SetRange({"A"}, {"d"})); // folded like the key: a to d
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(Numbers(rows), (QList<int>{1, 2}));
        QVERIFY(view.SetRange({"a"}, {"e"}));
        QVERIFY(view.SetFilter("PEO:Born <> 0"));
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(Numbers(rows), (QList<int>{1, 2, 4}));
        QCOMPARE(view.SetRange({"a", 1, 2}, {"b", 1, 2}).Code(), StoreError::BadExpression);
        // A sort in any case takes its range in any case too.
        QVERIFY(view.SetOrder("-UPPER(PEO:Name), PEO:Num"));
        QVERIFY(view.SetFilter({}));
        QVERIFY(view.SetRange({"A"}, {"Dz"}));
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(Numbers(rows), (QList<int>{4, 2, 1}));
    }

    void aSortExpressionOrdersTheView_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("ascending") << "PEO:Born, PEO:Num" << QList<int>{5, 4, 1, 3, 2, 6};
        QTest::newRow("descending first") << "-PEO:Born, +PEO:Num" << QList<int>{6, 2, 1, 3, 4, 5};
        QTest::newRow("an expression") << "-UPPER(PEO:Login)" << QList<int>{3, 6, 5, 4, 2, 1};
        QTest::newRow("a text as stored, ascending") << "PEO:Name" << QList<int>{1, 4, 5, 3, 2, 6};
        QTest::newRow("a text as stored, descending") << "-PEO:Name" << QList<int>{6, 2, 3, 5, 4, 1};
        QTest::newRow("a text in any case, ascending") << "UPPER(PEO:Name)" << QList<int>{1, 2, 4, 5, 3, 6};
        QTest::newRow("a text in any case, descending") << "-UPPER(PEO:Name)" << QList<int>{6, 3, 5, 4, 2, 1};
        QTest::newRow("blanks first, equal values by their row")
            << "UPPER(PEO:Notes)" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("blanks last, equal values by their row")
            << "-UPPER(PEO:Notes)" << QList<int>{6, 1, 2, 3, 4, 5};
        QTest::newRow("a number as a text") << "-UPPER(PEO:Born)" << QList<int>{6, 2, 1, 3, 4, 5};
        QTest::newRow("a number, then a text in any case")
            << "PEO:Born, -UPPER(PEO:Login)" << QList<int>{5, 4, 3, 1, 2, 6};
        QTest::newRow("a text in any case, then a number")
            << "-UPPER(CLIP(PEO:Notes)), -PEO:Born" << QList<int>{6, 2, 1, 3, 4, 5};
        QTest::newRow("equal values only") << "-PEO:Rank" << QList<int>{1, 2, 3, 4, 5, 6};
    }
    void aSortExpressionOrdersTheView()
    {
        QFETCH(QString, sort);
        QFETCH(QList<int>, expected);
        View view(test_->people);
        QVERIFY(view.SetOrder(sort));
        // Read one row at a time forward, then the whole order backward from its end.
        QCOMPARE(WalkForward(view), expected);
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Backward, 4, rows));
        QCOMPARE(Numbers(rows), expected.mid(2));
        QVERIFY(view.Read(rows.front().position, Direction::Backward, 4, rows));
        QCOMPARE(Numbers(rows), expected.mid(0, 2));
        QCOMPARE(view.SetOrder("PEO:Born,").Code(), StoreError::BadExpression);
    }

    // UPPER in a sort compares texts as a case-insensitive key does, so that such a sort and the key agree.
    void aSortInAnyCaseOrdersAsTheCaseInsensitiveKey()
    {
        Table& people = test_->people;
        int num = 10;
        for (const char* name :
             {"ann_x", "ANNA", "Straße", "STRASSE", "anna", "[box]", "Zed", "zed", "éclair"}) {
            QVERIFY(TestCatalogue::AddPerson(people, num, QStringLiteral("n%1").arg(num), name, 80000));
            ++num;
        }
        View keyed(people), sorted(people);
        keyed.SetOrder(people.KeyIndex("PEO:NameK"));
        QVERIFY(sorted.SetOrder("UPPER(PEO:Name), PEO:Born"));
        const QList<int> byKey = WalkForward(keyed);
        QCOMPARE(byKey.size(), 15);
        QCOMPARE(WalkForward(sorted), byKey);
    }

    // The first screen of an order that an index gives costs a page, however many rows the table holds;
    // the last screen likewise.
    void aSortExpressionsFirstScreenCostsAPage_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("filter");
        QTest::newRow("a text in any case, descending") << "-UPPER(PEO:Name)"
                                                        << "";
        QTest::newRow("a text in any case, ascending") << "UPPER(PEO:Login)"
                                                       << "";
        QTest::newRow("a text in any case, then a number descending") << "UPPER(PEO:Name), -PEO:Born"
                                                                      << "";
        QTest::newRow("with a filter that most rows pass") << "-UPPER(PEO:Name)"
                                                           << "PEO:Born <> 7";
    }
    void aSortExpressionsFirstScreenCostsAPage()
    {
        QFETCH(QString, sort);
        QFETCH(QString, filter);
        Table& people = test_->people;
        constexpr int Screen = 20;
        qint64 firstSteps[2] = {}, lastSteps[2] = {};
        for (int round = 0; round < 2; ++round) {
            // 1,000 rows, then 4,000.
            QVERIFY(AddPeople(people, 100 + 4000 * round, round ? 3000 : 1000, Scattered));
            View view(people);
            QVERIFY(view.SetOrder(sort));
            QVERIFY(view.SetFilter(filter));
            std::vector<ViewRow> all, first, last;
            StatementWork work(people);
            QVERIFY(view.Read({}, Direction::Forward, Screen, first));
            firstSteps[round] = work.steps;
            work.Clear();
            QVERIFY(view.Read({}, Direction::Backward, Screen, last));
            lastSteps[round] = work.steps;
            // The screens are those of the whole order.
            QVERIFY(view.Read({}, Direction::Forward, 10000, all));
            QVERIFY(all.size() > 900);
            QCOMPARE(Numbers(first), Numbers(all).mid(0, Screen));
            QCOMPARE(Numbers(last), Numbers(all).mid(qsizetype(all.size()) - Screen));
        }
        QVERIFY2(
            firstSteps[1] < firstSteps[0] * 3 / 2,
            qPrintable(
                QStringLiteral("%1 steps at 1,000 rows, %2 at 4,000").arg(firstSteps[0]).arg(firstSteps[1])));
        QVERIFY2(
            lastSteps[1] < lastSteps[0] * 3 / 2,
            qPrintable(
                QStringLiteral("%1 steps at 1,000 rows, %2 at 4,000").arg(lastSteps[0]).arg(lastSteps[1])));
    }

    // Pages taken from either end, from rows in the middle and across the parts of the order read so far
    // are those of the whole order.
    void aSortExpressionsPagesAgreeWithItsWholeOrder_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::newRow("an index gives it") << "-UPPER(PEO:Name)";
        QTest::newRow("an index gives its first term") << "UPPER(PEO:Name), -PEO:Born";
        QTest::newRow("only a sort gives it") << "PEO:Score, -UPPER(PEO:Login)";
    }
    void aSortExpressionsPagesAgreeWithItsWholeOrder()
    {
        QFETCH(QString, sort);
        Table& people = test_->people;
        QVERIFY(AddPeople(people, 100, 1500, Scattered));
        QList<int> order;
        {
            View whole(people);
            QVERIFY(whole.SetOrder(sort));
            std::vector<ViewRow> all;
            QVERIFY(whole.Read({}, Direction::Forward, 5000, all));
            order = Numbers(all);
        }
        QCOMPARE(order.size(), 1506);
        const auto walk = [&](View& view, Direction direction, Position at) {
            QList<int> seen;
            std::vector<ViewRow> page;
            while (view.Read(at, direction, 37, page) && !page.empty()) {
                if (direction == Direction::Forward) {
                    seen << Numbers(page);
                    at = page.back().position;
                } else {
                    seen = Numbers(page) + seen;
                    at = page.front().position;
                }
            }
            return seen;
        };
        {
            View view(people);
            QVERIFY(view.SetOrder(sort));
            QCOMPARE(walk(view, Direction::Forward, {}), order);
        }
        {
            View view(people);
            QVERIFY(view.SetOrder(sort));
            QCOMPARE(walk(view, Direction::Backward, {}), order);
        }
        {
            // From the last screen back into the middle, then forward from there and back from its first
            // row; then the first screen.
            View view(people);
            QVERIFY(view.SetOrder(sort));
            std::vector<ViewRow> page, before, after;
            QVERIFY(view.Read({}, Direction::Backward, 300, page));
            QCOMPARE(Numbers(page), order.mid(1206));
            const Position middle = page[10].position;
            QVERIFY(view.Read(middle, Direction::Forward, 5, after, true));
            QCOMPARE(Numbers(after), order.mid(1216, 5));
            QVERIFY(view.Read(middle, Direction::Backward, 400, before));
            QCOMPARE(Numbers(before), order.mid(816, 400));
            QVERIFY(view.Read(before.front().position, Direction::Forward, 3, after));
            QCOMPARE(Numbers(after), order.mid(817, 3));
            QVERIFY(view.Read({}, Direction::Forward, 2, page));
            QCOMPARE(Numbers(page), order.mid(0, 2));
        }
        {
            // From a row that neither end has read yet.
            View view(people);
            QVERIFY(view.SetOrder(sort));
            View other(people);
            QVERIFY(other.SetOrder(sort));
            std::vector<ViewRow> all, page;
            QVERIFY(other.Read({}, Direction::Forward, 5000, all));
            QVERIFY(view.Read(all[700].position, Direction::Forward, 4, page, true));
            QCOMPARE(Numbers(page), order.mid(700, 4));
            QVERIFY(view.Read(all[700].position, Direction::Backward, 4, page));
            QCOMPARE(Numbers(page), order.mid(696, 4));
        }
    }

    // An order that only a sort of every row gives is read once; then each page is one statement, from
    // wherever it starts, in both directions.
    void aPageOfASortedOrderIsOneStatement()
    {
        Table& people = test_->people;
        QVERIFY(AddPeople(people, 100, 300, Scattered));
        View view(people);
        QVERIFY(view.SetOrder("PEO:Score, -PEO:Num"));
        std::vector<ViewRow> all;
        QVERIFY(view.Read({}, Direction::Forward, 1000, all));
        QCOMPARE(all.size(), size_t(306));
        for (size_t index = 1; index < all.size(); ++index) {
            const double before = all[index - 1].record.Real(6), score = all[index].record.Real(6);
            QVERIFY(before < score ||
                    (before == score && all[index - 1].record.Long(0) > all[index].record.Long(0)));
        }
        const QList<int> order = Numbers(all);
        StatementWork work(people);
        std::vector<ViewRow> page;
        Position at;
        QList<int> forward;
        while (view.Read(at, Direction::Forward, 25, page) && !page.empty()) {
            forward << Numbers(page);
            at = page.back().position;
        }
        QCOMPARE(forward, order);
        QCOMPARE(work.reads, 13); // 12 full pages and one of 6 rows; the end is known without a read
        work.Clear();
        QList<int> backward;
        at = {};
        while (view.Read(at, Direction::Backward, 25, page) && !page.empty()) {
            backward = Numbers(page) + backward;
            at = page.front().position;
        }
        QCOMPARE(backward, order);
        QCOMPARE(work.reads, 13);
        work.Clear();
        QVERIFY(view.Read(all[150].position, Direction::Forward, 10, page, true));
        QCOMPARE(Numbers(page), order.mid(150, 10));
        QVERIFY(view.Read(all[150].position, Direction::Backward, 10, page));
        QCOMPARE(Numbers(page), order.mid(140, 10));
        QCOMPARE(work.reads, 2);
        QCOMPARE(work.sorts, 0);
    }

    // A sort expression's order is read once and pages are taken from it; a write to the file, a filter or
    // a row the order does not hold yet makes the next read see the rows as they are now.
    void aSortExpressionsOrderFollowsChanges()
    {
        Table& people = test_->people;
        View view(people);
        QVERIFY(view.SetOrder("-PEO:Born, +PEO:Num"));
        QCOMPARE(WalkForward(view), (QList<int>{6, 2, 1, 3, 4, 5}));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 2, rows));
        const Position second = rows.back().position;
        QVERIFY(TestCatalogue::AddPerson(people, 7, "gus", "Gus", 90000));
        QVERIFY(people.FetchRow(rows.front().position.rowId));
        QVERIFY(people.Delete());
        QVERIFY(view.Read(second, Direction::Backward, 5, rows));
        QCOMPARE(Numbers(rows), QList<int>{7});
        QVERIFY(view.Read(second, Direction::Forward, 5, rows, true));
        QCOMPARE(Numbers(rows), (QList<int>{2, 1, 3, 4, 5}));
        QVERIFY(view.SetFilter("PEO:Born >= 80000"));
        QCOMPARE(WalkForward(view), (QList<int>{7, 2, 1, 3}));
    }

    void aWrittenRecordCanBeShownInItsPlace()
    {
        Table& people = test_->people;
        QVERIFY(TestCatalogue::AddPerson(people, 7, "cleo", "Cleo", 1));
        View view(people);
        view.SetOrder(people.KeyIndex("PEO:NameK"));
        Position position;
        QVERIFY(view.PositionOf(people.CurrentRow(), position));
        std::vector<ViewRow> before, from;
        QVERIFY(view.Read(position, Direction::Backward, 1, before));
        QVERIFY(view.Read(position, Direction::Forward, 2, from, true));
        QCOMPARE(Numbers(before), QList<int>{2});
        QCOMPARE(Numbers(from), (QList<int>{7, 4}));
        QCOMPARE(view.PositionOf(999, position).Code(), StoreError::NotFound);
    }

    void rowsAreReadWithoutTheirBytesUnlessAsked()
    {
        Table& people = test_->people;
        people.Buffer().SetValue("PEO:Photo", QByteArray("picture"));
        QVERIFY(people.Update());
        View view(people);
        QVERIFY(view.SetFilter("PEO:Num = 6"));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 1, rows));
        QCOMPARE(rows[0].record.Blob(people.FieldIndex("PEO:Photo")), QByteArray());
        view.SetReadBlobs(true);
        QVERIFY(view.Read({}, Direction::Forward, 1, rows));
        QCOMPARE(rows[0].record.Blob(people.FieldIndex("PEO:Photo")), QByteArray("picture"));
        QVERIFY(people.FetchRow(rows[0].position.rowId));
        QCOMPARE(people.Buffer().Blob(people.FieldIndex("PEO:Photo")), QByteArray("picture"));
    }

private:
    std::unique_ptr<TestCatalogue> test_;
};

QTEST_GUILESS_MAIN(ViewsTest)
#include "tst_Views.moc"
