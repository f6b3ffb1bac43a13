#include "platform/store/Catalogue.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include <QtTest>

// Records private to the one who made them: a view with the private rule lists a record when its flag is 0
// or its creator is the reader, and says so in its SQL, so that a page never scans the rows it leaves out.
using namespace jornix;

namespace {

struct Items
{
    QTemporaryDir folder;
    Catalogue catalogue;
    Table& items = catalogue.AddTable("ITM:", "Items", "Items", FileAttribute::Create);

    Items()
    {
        items.AddLong("Num").AddString("Name", 20).AddByte("Private").AddLong("UniqueID");
        items.AddKey("NumK", {"Num"}, KeyFlag::Primary, "by Number")
            .AddKey("NameK", {"Name"}, KeyFlag::Dup | KeyFlag::NoCase, "by Name");
        items.SetPrivateFields("Private", "UniqueID");
        catalogue.SetFolder(folder.path());
    }
    ~Items() { items.Close(); }

    void Add(qint32 num, const QString& name, int flag, qint32 creator)
    {
        Record& buffer = items.Buffer();
        buffer.Clear();
        buffer.SetValue("ITM:Num", num);
        buffer.SetValue("ITM:Name", name);
        buffer.SetValue("ITM:Private", flag);
        buffer.SetValue("ITM:UniqueID", creator);
        QVERIFY(items.Insert());
    }
};

QStringList Names(const std::vector<ViewRow>& rows)
{
    QStringList names;
    for (const ViewRow& row : rows)
        names << row.record.Value("ITM:Name").toString();
    return names;
}

} // namespace

class PrivateRuleTest : public QObject
{
    Q_OBJECT

private slots:
    void aRecordIsListedWhenPublicOrTheReadersOwn_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("creator");
        QTest::addColumn<int>("reader");
        QTest::addColumn<bool>("listed");
        QTest::newRow("public, another's") << 0 << 5 << 7 << true;
        QTest::newRow("public, the reader's") << 0 << 7 << 7 << true;
        QTest::newRow("private, the reader's") << 1 << 7 << 7 << true;
        QTest::newRow("private, another's") << 1 << 5 << 7 << false;
        QTest::newRow("any flag but 0 is private") << 255 << 5 << 7 << false;
        QTest::newRow("private to no one: creator 0") << 1 << 0 << 7 << false;
        QTest::newRow("creator 0 reads its own") << 1 << 0 << 0 << true;
        QTest::newRow("a negative id") << 2 << -3 << -3 << true;
    }
    void aRecordIsListedWhenPublicOrTheReadersOwn()
    {
        QFETCH(int, flag);
        QFETCH(int, creator);
        QFETCH(int, reader);
        QFETCH(bool, listed);
        Items test;
        QVERIFY(test.items.Open());
        test.Add(1, "Public", 0, 99);
        test.Add(2, "Tested", flag, creator);
        View view(test.items);
        view.SetOrder(1);
        view.SetPrivateRule([reader] { return QVariant(reader); });
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(Names(rows), (listed ? QStringList{"Public", "Tested"} : QStringList{"Public"}));
        qint64 count = 0;
        QVERIFY(view.Count(count));
        QCOMPARE(count, listed ? 2 : 1);
        // Changed on the record itself, the rule follows at the next read.
        QVERIFY(test.items.FetchRow(rows.front().position.rowId));
        test.items.Buffer().SetValue("ITM:Private", 1);
        QVERIFY(test.items.Update());
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(Names(rows), (listed ? QStringList{"Tested"} : QStringList{}));
    }

    // Pages of a few rows, read forward from the start and backward from the end, give the listed rows in
    // the view's order with none twice and none left out.
    void pagesComeInTheViewsOrderBothWays_data()
    {
        QTest::addColumn<QString>("sort"); // empty: the name key
        QTest::newRow("the name key") << QString();
        QTest::newRow("in record order") << QStringLiteral("record order");
        QTest::newRow("a sort expression with a descending term") << QStringLiteral("-ITM:Name, +ITM:Num");
    }
    void pagesComeInTheViewsOrderBothWays()
    {
        QFETCH(QString, sort);
        Items test;
        QVERIFY(test.items.Open());
        QStringList expected;
        {
            Transaction transaction(test.items);
            QVERIFY(transaction.Begin());
            for (int n = 1; n <= 200; ++n) {
                // Names repeat, so that the row id tells equal values apart.
                const QString name = QStringLiteral("Item %1").arg(n % 90, 2, 10, QLatin1Char('0'));
                const int flag = n % 3 == 0 ? 1 : 0;
                const qint32 creator = n % 4;
                test.Add(n, name, flag, creator);
                if (flag == 0 || creator == 1)
                    expected << name + QLatin1Char('/') + QString::number(n);
            }
            QVERIFY(transaction.Commit());
        }
        View view(test.items);
        if (sort.isEmpty())
            view.SetOrder(1);
        else if (sort == QStringLiteral("record order"))
            view.SetOrder(-1);
        else
            QVERIFY(view.SetOrder(sort));
        view.SetPrivateRule([] { return QVariant(1); });
        const auto key = [](const ViewRow& row) {
            return row.record.Value("ITM:Name").toString() + QLatin1Char('/') +
                   QString::number(row.record.Value("ITM:Num").toInt());
        };
        if (sort.isEmpty()) {
            std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
                return a.section('/', 0, 0) < b.section('/', 0, 0);
            });
        } else if (sort != QStringLiteral("record order")) {
            std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
                return a.section('/', 0, 0) > b.section('/', 0, 0);
            });
        }
        QStringList forward, backward;
        std::vector<ViewRow> page;
        Position at;
        do {
            QVERIFY(view.Read(at, Direction::Forward, 7, page));
            for (const ViewRow& row : page)
                forward << key(row);
            if (!page.empty())
                at = page.back().position;
        } while (page.size() == 7);
        at = {};
        do {
            QVERIFY(view.Read(at, Direction::Backward, 7, page));
            for (auto row = page.rbegin(); row != page.rend(); ++row)
                backward.prepend(key(*row));
            if (!page.empty())
                at = page.front().position;
        } while (page.size() == 7);
        QCOMPARE(forward, expected);
        QCOMPARE(backward, expected);
    }
};

QTEST_GUILESS_MAIN(PrivateRuleTest)
#include "tst_PrivateRule.moc"
