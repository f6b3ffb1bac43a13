#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Expression.h"
#include "platform/store/ExpressionEvaluator.h"
#include "platform/store/ExpressionTree.h"
#include "platform/store/TestCatalogue.h"
#include "platform/store/View.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

namespace {

QString Repeat(const QString& piece, int times)
{
    return piece.repeated(times);
}

} // namespace

class ExpressionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test_ = std::make_unique<TestCatalogue>();
        QVERIFY(test_->people.Open());
        struct Person
        {
            int num;
            const char* login;
            const char* name;
            int born;
            double score;
        };
        const Person people[] = {{1, "ann", "Ann", 80000, 1.5},     {2, "bob", "bob", 80001, 2.25},
                                 {3, "o'hara", "O'Hara", 80000, 0}, {4, "dora", "Dora; DROP", 79999, -3},
                                 {5, "eve", "Eve", 0, 0},           {6, "fred", "Ärger", 80002, 1}};
        for (const Person& person : people) {
            QVERIFY(
                TestCatalogue::AddPerson(test_->people, person.num, person.login, person.name, person.born));
            test_->people.Buffer().SetValue("PEO:Score", person.score);
            if (person.num == 6)
                test_->people.Buffer().SetValue("PEO:Notes", "likes tea");
            QVERIFY(test_->people.Update());
        }
    }
    void cleanupTestCase()
    {
        test_->people.Close();
        test_.reset();
    }
    void cleanup() { SetFixedClock({}); }

    void deepNestingIsABadExpression_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("formula");
        QTest::addColumn<bool>("valid");
        const int most = MaxExpressionDepth - 1; // the whole expression is the first level
        QTest::newRow("parentheses as deep as allowed")
            << Repeat("(", most) + "PEO:Num = 1" + Repeat(")", most) << false << true;
        QTest::newRow("one parenthesis deeper")
            << Repeat("(", most + 1) + "PEO:Num = 1" + Repeat(")", most + 1) << false << false;
        QTest::newRow("thousands of parentheses")
            << Repeat("(", 5000) + "PEO:Num = 1" + Repeat(")", 5000) << false << false;
        QTest::newRow("parentheses left open") << Repeat("(", 100000) << false << false;
        QTest::newRow("thousands of NOT") << Repeat("NOT ", 5000) + "PEO:Num = 1" << false << false;
        QTest::newRow("thousands of ~") << Repeat("~", 5000) + "PEO:Num = 1" << false << false;
        QTest::newRow("functions inside functions")
            << Repeat("UPPER(", 5000) + "PEO:Name" + Repeat(")", 5000) + " = 'A'" << false << false;
        QTest::newRow("a long chain stays flat")
            << Repeat("PEO:Num = 1 OR ", 20000) + "PEO:Num = 2" << false << true;
        QTest::newRow("a formula of thousands of minus signs") << Repeat("-", 5000) + "1" << true << false;
        QTest::newRow("a formula of thousands of sums") << Repeat("1 + ", 20000) + "1" << true << true;
        QTest::newRow("a formula of thousands of joins") << Repeat("'a' & ", 20000) + "'a'" << true << true;
    }
    void deepNestingIsABadExpression()
    {
        QFETCH(QString, text);
        QFETCH(bool, formula);
        QFETCH(bool, valid);
        ExpressionTree tree;
        const Status status =
            ParseExpression(text, formula ? ExpressionDialect::Formula : ExpressionDialect::Filter, tree);
        QCOMPARE(status.Ok(), valid);
        if (!valid) {
            QCOMPARE(status.Code(), StoreError::BadExpression);
            QVERIFY2(status.Message().contains(
                         QStringLiteral("nests deeper than %1 levels at position").arg(MaxExpressionDepth)),
                     qPrintable(status.Message().right(120)));
        }
        if (!formula) {
            // The view's path answers the same way.
            SqlExpression sql;
            QCOMPARE(CompileFilter(text, test_->people, ExpressionNames(), sql).Ok(), valid);
        } else if (valid) {
            ExpressionValue value;
            QVERIFY(ExpressionEvaluator({}, ExpressionFunctions::Filter()).Evaluate(tree, value));
        }
    }

    // The SQL of a view and the evaluator over a record buffer keep the same records.
    void sqlAndEvaluatorKeepTheSameRecords_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("expected"); // {-1}: both refuse it
        const QList<int> refused{-1};
        QTest::newRow("a range of dates") << "PEO:Born >= 80000 AND PEO:Born <= 80001" << QList<int>{1, 2, 3};
        QTest::newRow("names in any case") << "peo:BORN = 80000 and PEO:num <> 1" << QList<int>{3};
        QTest::newRow("or, and, not")
            << "(PEO:Born = 79999 OR PEO:Born = 0) AND NOT PEO:Num = 5" << QList<int>{4};
        QTest::newRow("a long or") << "PEO:Num = 1 OR PEO:Num = 3 OR PEO:Num = 5 OR PEO:Num = 99"
                                   << QList<int>{1, 3, 5};
        QTest::newRow("a quote doubled") << "PEO:Name = 'O''Hara'" << QList<int>{3};
        QTest::newRow("trailing blanks do not count") << "PEO:Name = 'Ann   '" << QList<int>{1};
        QTest::newRow("texts compare by case") << "PEO:Name = 'ann'" << QList<int>{};
        QTest::newRow("texts in order") << "PEO:Name < 'E'" << QList<int>{1, 4};
        QTest::newRow("a letter beyond z") << "PEO:Name > 'z'" << QList<int>{6};
        QTest::newRow("a text read as a number") << "PEO:Born = '80000'" << QList<int>{1, 3};
        QTest::newRow("a text with a leading number") << "'80001 days' = PEO:Born" << QList<int>{2};
        QTest::newRow("a text without a number is 0") << "PEO:Born = 'none'" << QList<int>{5};
        QTest::newRow("a number read as a text") << "PEO:Born ~ '0000'" << QList<int>{1, 3};
        QTest::newRow("a real number") << "PEO:Score > 1.5" << QList<int>{2};
        QTest::newRow("a real number read as a text") << "PEO:Score ~ '.0'" << QList<int>{3, 4, 5, 6};
        QTest::newRow("a real number with a fraction as a text") << "PEO:Score ~ '1.'" << QList<int>{1, 6};
        QTest::newRow("a literal with a point as a text") << "2.0 ~ '.0' AND PEO:Num = 1" << QList<int>{1};
        QTest::newRow("upper") << "UPPER(PEO:Name) = 'ÄRGER'" << QList<int>{6};
        QTest::newRow("clip") << "CLIP(PEO:Login) = 'bob'" << QList<int>{2};
        QTest::newRow("instring") << "INSTRING('o', PEO:Login, 1, 1) > 0" << QList<int>{2, 3, 4};
        QTest::newRow("instring from a start") << "INSTRING('a', PEO:Login, 1, 5) = 6" << QList<int>{3};
        QTest::newRow("instring as a condition") << "INSTRING('ar', PEO:Name)" << QList<int>{3};
        QTest::newRow("instring of nothing") << "INSTRING('', PEO:Login) = 1" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("instring from beyond every integer")
            << "INSTRING('o', PEO:Login, 1, 10000000000000000000) = 0" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("instring of nothing from beyond every integer")
            << "INSTRING('', PEO:Login, 1, 10000000000000000000) > 1" << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("instring from before every integer")
            << "INSTRING('o', PEO:Login, 1, -10000000000000000000) <> 0" << QList<int>{2, 3, 4};
        QTest::newRow("instring from far beyond")
            << "INSTRING('o', PEO:Login, 1, 1" + QString(300, QLatin1Char('0')) + ") = 0"
            << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("contains without regard to case") << "PEO:Name ~ 'BO'" << QList<int>{2};
        QTest::newRow("a tilde in front") << "~(PEO:Born = 0)" << QList<int>{1, 2, 3, 4, 6};
        QTest::newRow("a number alone") << "PEO:Born" << QList<int>{1, 2, 3, 4, 6};
        QTest::newRow("a text alone") << "PEO:Notes" << QList<int>{6};
        QTest::newRow("a memo") << "PEO:Notes ~ 'TEA'" << QList<int>{6};
        QTest::newRow("today") << "PEO:Born = TODAY()" << QList<int>{2};
        QTest::newRow("a bound text") << "PEO:Login = Wanted" << QList<int>{5};
        QTest::newRow("a bound number") << "PEO:Born > Limit" << QList<int>{2, 6};
        QTest::newRow("a negative number") << "PEO:Born > -1 AND PEO:Num < 2" << QList<int>{1};
        QTest::newRow("an unknown field") << "PEO:Shoe = 1" << refused;
        QTest::newRow("a field of bytes") << "PEO:Photo = 1" << refused;
        QTest::newRow("an unknown function") << "LOWER(PEO:Name) = 'a'" << refused;
        QTest::newRow("instring in steps") << "INSTRING('a', PEO:Login, 2) > 0" << refused;
        QTest::newRow("too many arguments") << "CLIP(PEO:Name, 1) = 'a'" << refused;
    }
    void sqlAndEvaluatorKeepTheSameRecords()
    {
        QFETCH(QString, filter);
        QFETCH(QList<int>, expected);
        SetFixedClock(QDateTime(DateFromDayNumber(80001), QTime(12, 0)));
        ExpressionNames names;
        names.Bind("Wanted", [] { return QVariant(QString("eve  ")); });
        names.Bind("Limit", [] { return QVariant(80000); });

        View view(test_->people);
        view.Names() = names;
        const Status sqlStatus = view.SetFilter(filter);
        ExpressionTree tree;
        Status evaluatorStatus = ParseExpression(filter, ExpressionDialect::Filter, tree);

        std::vector<ViewRow> all;
        QVERIFY(View(test_->people).Read({}, Direction::Forward, 100, all));
        QList<int> evaluated;
        for (const ViewRow& row : all) {
            bool passes = false;
            if (evaluatorStatus)
                evaluatorStatus = EvaluateFilter(tree, row.record, names, passes);
            if (passes)
                evaluated << row.record.Long(0);
        }
        if (expected == QList<int>{-1}) {
            QCOMPARE(sqlStatus.Code(), StoreError::BadExpression);
            QCOMPARE(evaluatorStatus.Code(), StoreError::BadExpression);
            QCOMPARE(evaluatorStatus.Message(), sqlStatus.Message());
            return;
        }
        QVERIFY2(sqlStatus, qPrintable(sqlStatus.Message()));
        QVERIFY2(evaluatorStatus, qPrintable(evaluatorStatus.Message()));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 100, rows));
        QList<int> selected;
        for (const ViewRow& row : rows)
            selected << row.record.Long(0);
        QCOMPARE(selected, expected);
        QCOMPARE(evaluated, expected);
    }

private:
    std::unique_ptr<TestCatalogue> test_;
};

QTEST_GUILESS_MAIN(ExpressionsTest)
#include "tst_Expressions.moc"
