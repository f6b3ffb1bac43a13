#include "platform/framework/FuzzyMatcher.h"

#include <QtTest>

using namespace jornix;

class FuzzyMatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void matchesEveryWordInAnyOrder_data()
    {
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("words in another order") << true << false << "dentist call"
                                                << "Call the Dentist" << true;
        QTest::newRow("a word missing") << true << false << "dentist lunch"
                                        << "Call the dentist" << false;
        QTest::newRow("case counts when asked") << false << false << "dentist"
                                                << "Call the Dentist" << false;
        QTest::newRow("part of a word") << true << false << "dent"
                                        << "Call the dentist" << true;
        QTest::newRow("whole words only") << true << true << "dent"
                                          << "Call the dentist" << false;
        QTest::newRow("a whole word") << true << true << "DENTIST"
                                      << "Call the dentist." << true;
        QTest::newRow("an empty pattern") << true << false << ""
                                          << "anything" << true;
    }
    void matchesEveryWordInAnyOrder()
    {
        QFETCH(bool, ignoreCase);
        QFETCH(bool, wholeWords);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, expected);
        FuzzyMatcher matcher;
        matcher.Init();
        matcher.SetOption(FuzzyMatcher::IgnoreCase, ignoreCase);
        matcher.SetOption(FuzzyMatcher::WholeWords, wholeWords);
        QCOMPARE(matcher.Match(pattern, text), expected);
    }
};

QTEST_MAIN(FuzzyMatcherTest)
#include "tst_FuzzyMatcher.moc"
