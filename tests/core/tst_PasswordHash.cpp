#include "core/PasswordHash.h"

#include <QtTest>

using namespace jornix;

class PasswordHashTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UseMinimumPasswordLimits(true); }

    void aPasswordMatchesWithCaseCountingAndTrailingBlanksIgnored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");
        QTest::newRow("the same") << "Secret"
                                  << "Secret" << true;
        QTest::newRow("trailing blanks typed") << "Secret"
                                               << "Secret  " << true;
        QTest::newRow("trailing blanks stored") << "Secret   "
                                                << "Secret" << true;
        QTest::newRow("one letter in another case") << "Secret"
                                                    << "secret" << false;
        QTest::newRow("a leading blank counts") << "Secret"
                                                << " Secret" << false;
        QTest::newRow("a shorter password") << "Secret"
                                            << "Secre" << false;
        QTest::newRow("25 characters") << "abcdefghijklmnopqrstuvwxy"
                                       << "abcdefghijklmnopqrstuvwxy" << true;
        QTest::newRow("only 30 characters count") << "abcdefghijklmnopqrstuvwxyz0123-and-more"
                                                  << "abcdefghijklmnopqrstuvwxyz0123" << true;
        QTest::newRow("a blank password") << ""
                                          << "   " << true;
        QTest::newRow("a blank password is not any") << ""
                                                     << "x" << false;
        QTest::newRow("letters beyond ASCII") << "Grüße"
                                              << "Grüße" << true;
    }
    void aPasswordMatchesWithCaseCountingAndTrailingBlanksIgnored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        const std::optional<QString> hash = HashPassword(stored);
        QVERIFY(hash);
        QVERIFY(hash->startsWith("$argon2id$"));
        QVERIFY(hash->size() <= 128);
        QCOMPARE(PasswordMatches(typed, *hash), matches);
    }

    void aBlankStoredValueIsABlankPassword()
    {
        QVERIFY(PasswordMatches("  ", ""));
        QVERIFY(!PasswordMatches("Secret", ""));
    }

    void aStoredValueThatIsNoHashMatchesNothing()
    {
        QVERIFY(!PasswordMatches("Secret", "Secret"));
        QVERIFY(!PasswordMatches("x", QString(200, 'x')));
    }
};

QTEST_GUILESS_MAIN(PasswordHashTest)
#include "tst_PasswordHash.moc"
