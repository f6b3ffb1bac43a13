#include "platform/runtime/WildcardPattern.h"

#include <QtTest>

using namespace jornix;

class WildcardPatternTest : public QObject
{
    Q_OBJECT

private slots:
    void aTextMatchesWhenThePatternCoversItWhole_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        const int exact = WildcardPattern::Wildcard;
        const int anyCase = WildcardPattern::Wildcard | WildcardPattern::IgnoreCase;
        QTest::newRow("case ignored") << "*meet*" << anyCase << "Meeting with Bob" << true;
        QTest::newRow("case kept") << "*meet*" << exact << "Meeting with Bob" << false;
        QTest::newRow("case kept, same case") << "*Meet*" << exact << "Meeting with Bob" << true;
        QTest::newRow("folding beyond Latin-1") << "*ΣΟΦΊΑ*" << anyCase << "η σοφία" << true;
        QTest::newRow("star between letters") << "*m*g*" << anyCase << "a meeting" << true;
        QTest::newRow("star finds none") << "*m*z*" << anyCase << "a meeting" << false;
        QTest::newRow("question mark is one character") << "*m???t*" << anyCase << "a meeting" << false;
        QTest::newRow("question mark fits one") << "*m?et*" << anyCase << "a meeting" << true;
        QTest::newRow("no star: the whole text") << "meet" << anyCase << "meeting" << false;
        QTest::newRow("no star, equal") << "MEETING" << anyCase << "meeting" << true;
        QTest::newRow("head and tail") << "a*g" << anyCase << "a meeting" << true;
        QTest::newRow("head and tail overlap") << "ab*ba" << anyCase << "aba" << false;
        QTest::newRow("trailing blanks of the text") << "*ing" << anyCase << "a meeting   " << true;
        QTest::newRow("trailing blanks of the pattern") << "a meeting   " << anyCase << "a meeting" << true;
        QTest::newRow("leading blanks count") << "* meet*" << anyCase << "meeting" << false;
        QTest::newRow("bracket is literal") << "*[ab]*" << anyCase << "see [ab] here" << true;
        QTest::newRow("bracket is no class") << "*[ab]*" << anyCase << "a" << false;
        QTest::newRow("percent is literal") << "*50%*" << anyCase << "a 50% rise" << true;
        QTest::newRow("percent is no star") << "*5%*" << anyCase << "a 50 rise" << false;
        QTest::newRow("underscore is literal") << "*a_b*" << anyCase << "a_b" << true;
        QTest::newRow("underscore is no question mark") << "*a_b*" << anyCase << "axb" << false;
        QTest::newRow("backslash is literal") << "*a\\*" << anyCase << "a\\b" << true;
        QTest::newRow("star alone") << "***" << anyCase << "" << true;
        QTest::newRow("empty text") << "*a*" << anyCase << "" << false;
        const QString longWord(1020, QLatin1Char('x'));
        QTest::newRow("1022-character pattern") << "*" + longWord + "*" << anyCase << "<" + longWord + ">"
                                                << true;
        QTest::newRow("1022-character pattern, one short")
            << "*" + longWord + "*" << anyCase << QString(1019, QLatin1Char('x')) << false;
        QTest::newRow("long piece with a question mark")
            << "*" + QString(100, 'x') + "?" + QString(100, 'y') + "*" << anyCase
            << "aa" + QString(100, 'x') + "!" + QString(100, 'y') << true;
        // Patterns that make a backtracking matcher try every way of sharing the text among the stars.
        QString stars;
        for (int n = 0; n < 500; ++n)
            stars += QStringLiteral("*a");
        const QString as(1 << 20, QLatin1Char('a'));
        QTest::newRow("many stars, no hit") << stars + "*b" << exact << as << false;
        QTest::newRow("many stars, a hit at the end") << stars + "*b" << exact << as + "b" << true;
    }
    void aTextMatchesWhenThePatternCoversItWhole()
    {
        QFETCH(QString, pattern);
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(WildcardPattern(pattern, mode).Matches(text), matches);
    }
};

QTEST_APPLESS_MAIN(WildcardPatternTest)
#include "tst_WildcardPattern.moc"
