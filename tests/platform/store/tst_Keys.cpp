#include "platform/store/TestCatalogue.h"
#include "platform/store/View.h"

#include <QtTest>

using namespace jornix;
using namespace jornix::test;

class KeysTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test_ = std::make_unique<TestCatalogue>();
        QVERIFY(test_->people.Open());
        QVERIFY(TestCatalogue::AddPerson(test_->people, 1, "Ärger", "Ann", 80000));
        QVERIFY(TestCatalogue::AddPerson(test_->people, 2, "bob", "Bob", 80001));
    }
    void cleanup()
    {
        test_->people.Close();
        test_.reset();
    }

    void aUniqueKeyRefusesADuplicateAndNamesTheKey_data()
    {
        QTest::addColumn<qint32>("num");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("key");
        QTest::newRow("a login in other case") << 3 << "BOB"
                                               << "by Login";
        QTest::newRow("a login with trailing blanks") << 3 << "bob   "
                                                      << "by Login";
        QTest::newRow("Ärger and ärger are one value") << 3 << "ärger"
                                                       << "by Login";
        QTest::newRow("the first key in registration order") << 2 << "BOB"
                                                             << "by Number";
        QTest::newRow("a number that is taken") << 2 << "carol"
                                                << "by Number";
    }
    void aUniqueKeyRefusesADuplicateAndNamesTheKey()
    {
        QFETCH(qint32, num);
        QFETCH(QString, login);
        QFETCH(QString, key);
        const Status status = TestCatalogue::AddPerson(test_->people, num, login, "Someone");
        QCOMPARE(status.Code(), StoreError::DuplicateKey);
        QCOMPARE(status.Key(), key);
        QVERIFY(status.Message().contains(key));
        qint64 count = 0;
        QVERIFY(test_->people.RecordCount(count));
        QCOMPARE(count, 2);
    }

    void anUpdateIsCheckedAgainstOtherRecordsOnly()
    {
        Table& people = test_->people;
        people.Buffer().SetValue("PEO:Num", 2);
        QVERIFY(people.Fetch(people.KeyIndex("PEO:NumK")));
        people.Buffer().SetValue("PEO:Name", "Robert");
        QVERIFY(people.Update());
        people.Buffer().SetValue("PEO:Login", "ÄRGER");
        const Status status = people.Update();
        QCOMPARE(status.Code(), StoreError::DuplicateKey);
        QCOMPARE(status.Key(), QString("by Login"));
    }

    void aBlankKeyIsLeftOutOfItsKeyButNotOutOfThePrimaryKey()
    {
        Table& people = test_->people;
        QVERIFY(TestCatalogue::AddPerson(people, 3, "", "Nobody", 0));
        people.ClearBuffer();
        people.Buffer().SetValue("PEO:Born", 0);
        QCOMPARE(people.Fetch(people.KeyIndex("PEO:BornK")).Code(), StoreError::NotFound);
        people.Buffer().SetValue("PEO:Login", "");
        QCOMPARE(people.Fetch(people.KeyIndex("LoginK")).Code(), StoreError::NotFound);
        people.Buffer().SetValue("PEO:Num", 3);
        QVERIFY(people.Fetch(people.KeyIndex("PEO:NumK")));
        QCOMPARE(people.Buffer().Text(people.FieldIndex("PEO:Name")), QString("Nobody"));
        QCOMPARE(people.CurrentRow(), 3);

        // Two blank logins never collide in the unique key that leaves blanks out.
        QVERIFY(TestCatalogue::AddPerson(people, 4, "   ", "Nobody else", 0));
        // A list still shows them, first in the key's order.
        View view(people);
        view.SetOrder(people.KeyIndex("PEO:LoginK"));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(rows.size(), size_t(4));
        QCOMPARE(rows[0].record.Long(0), 3);
        QCOMPARE(rows[1].record.Long(0), 4);
    }

    void aKeyValueIsFoundWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<qint32>("num");
        QTest::newRow("upper case") << "BOB" << 2;
        QTest::newRow("folded umlaut") << "ärger" << 1;
        QTest::newRow("trailing blanks") << "Bob  " << 2;
    }
    void aKeyValueIsFoundWithoutRegardToCase()
    {
        QFETCH(QString, login);
        QFETCH(qint32, num);
        Table& people = test_->people;
        people.ClearBuffer();
        people.Buffer().SetValue("peo:login", login);
        QVERIFY(people.Fetch(people.KeyIndex("peo:loginK")));
        QCOMPARE(people.Buffer().Long(people.FieldIndex("PEO:NUM")), num);
    }

    void valuesAreKeptAsTheirFieldsStoreThem_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("a text longer than its width is cut")
            << "PEO:Login" << QVariant("abcdefghijklmn") << QVariant("abcdefghij");
        QTest::newRow("trailing blanks are removed") << "PEO:Name" << QVariant("Ann   ") << QVariant("Ann");
        QTest::newRow("a cut never splits a character")
            << "PEO:Login" << QVariant("abcdefghi\U0001F600") << QVariant("abcdefghi");
        QTest::newRow("a memo is cut to its size")
            << "PEO:Notes" << QVariant(QString(60, 'n')) << QVariant(QString(50, 'n'));
        QTest::newRow("a byte wraps") << "PEO:Flag" << QVariant(300) << QVariant(44);
        QTest::newRow("a short wraps") << "PEO:Rank" << QVariant(70000) << QVariant(4464);
        QTest::newRow("a real keeps its fraction") << "PEO:Score" << QVariant(2.5) << QVariant(2.5);
        QTest::newRow("bytes stay bytes")
            << "PEO:Photo" << QVariant(QByteArray("\0\1\2", 3)) << QVariant(QByteArray("\0\1\2", 3));
    }
    void valuesAreKeptAsTheirFieldsStoreThem()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(QVariant, stored);
        Table& people = test_->people;
        people.Buffer().SetValue("PEO:Num", 1);
        QVERIFY(people.Fetch(0));
        QVERIFY(people.Buffer().SetValue(field, value));
        QCOMPARE(people.Buffer().Value(field), stored);
        QVERIFY(people.Update());
        people.ClearBuffer();
        people.Buffer().SetValue("PEO:Num", 1);
        QVERIFY(people.Fetch(0));
        QCOMPARE(people.Buffer().Value(field), stored);
    }

    void aTextKeyOrdersWithoutRegardToCase()
    {
        Table& people = test_->people;
        QVERIFY(TestCatalogue::AddPerson(people, 3, "adam", "adam"));
        QVERIFY(TestCatalogue::AddPerson(people, 4, "Zed", "Zed"));
        QVERIFY(TestCatalogue::AddPerson(people, 5, "carl", "Carl"));
        View view(people);
        view.SetOrder(people.KeyIndex("PEO:LoginK"));
        std::vector<ViewRow> rows;
        QVERIFY(view.Read({}, Direction::Forward, 10, rows));
        QStringList logins;
        for (const ViewRow& row : rows)
            logins << row.record.Text(1);
        QCOMPARE(logins, (QStringList{"adam", "bob", "carl", "Zed", "Ärger"}));
    }

    void recordNumbersAreNeverGivenTwice()
    {
        Table& people = test_->people;
        qint32 number = 0;
        QVERIFY(people.TakeNextNumber(number));
        QCOMPARE(number, 3);
        QVERIFY(TestCatalogue::AddPerson(people, 41, "x", "X"));
        QVERIFY(people.TakeNextNumber(number));
        QCOMPARE(number, 42);
        QVERIFY(TestCatalogue::AddPerson(people, 42, "y", "Y"));
        QVERIFY(people.Delete()); // the highest record goes
        QVERIFY(people.TakeNextNumber(number));
        QCOMPARE(number, 43);

        // An empty table starts at 1.
        QVERIFY(test_->notes.Open());
        QVERIFY(test_->notes.TakeNextNumber(number));
        QCOMPARE(number, 1);
        test_->notes.Close();
    }

    void aNumberWrittenByHandIsNotGivenAgainAfterItsDelete_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::newRow("a record added with its own number") << true;
        QTest::newRow("a record changed to a higher number") << false;
    }
    void aNumberWrittenByHandIsNotGivenAgainAfterItsDelete()
    {
        QFETCH(bool, insert);
        Table& people = test_->people;
        if (insert) {
            QVERIFY(TestCatalogue::AddPerson(people, 50, "x", "X"));
        } else {
            people.Buffer().SetValue("PEO:Num", 2);
            QVERIFY(people.Fetch(0));
            people.Buffer().SetValue("PEO:Num", 50);
            QVERIFY(people.Update());
        }
        QVERIFY(people.Delete()); // no number was ever taken in this table
        qint32 number = 0;
        QVERIFY(people.TakeNextNumber(number));
        QCOMPARE(number, 51);

        // A lower number written by hand leaves the highest as it is.
        QVERIFY(TestCatalogue::AddPerson(people, 7, "y", "Y"));
        QVERIFY(people.TakeNextNumber(number));
        QCOMPARE(number, 52);
    }

    void theSavedCopyTellsWhetherTheBufferChanged()
    {
        Table& people = test_->people;
        people.Buffer().SetValue("PEO:Num", 1);
        QVERIFY(people.Fetch(0));
        people.SaveBuffer();
        QVERIFY(people.BufferUnchanged());
        people.Buffer().SetValue("PEO:Name", "Ann  "); // the same value once stored
        QVERIFY(people.BufferUnchanged());
        people.Buffer().SetValue("PEO:Name", "Anna");
        QVERIFY(!people.BufferUnchanged());
    }

    void aDeletedOrMissingRecordIsReported()
    {
        Table& people = test_->people;
        people.ClearBuffer();
        people.Buffer().SetValue("PEO:Num", 99);
        QCOMPARE(people.Fetch(0).Code(), StoreError::NotFound);
        people.Buffer().SetValue("PEO:Num", 1);
        QVERIFY(people.Fetch(0));
        QVERIFY(people.Delete());
        QCOMPARE(people.Delete().Code(), StoreError::NoCurrentRecord);
        QCOMPARE(people.FetchRow(1).Code(), StoreError::NotFound);
    }

private:
    std::unique_ptr<TestCatalogue> test_;
};

QTEST_GUILESS_MAIN(KeysTest)
#include "tst_Keys.moc"
