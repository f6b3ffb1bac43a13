#include "reports/PackLayoutOptions.h"

#include <QTest>

using namespace jornix;

// The default print options of a layout, packed into and read back from its memo.
class LayoutOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void packsInitialOptions_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("memo");
        QTest::newRow("log events") << 1 << "5|1|0|1|0|0|";
        QTest::newRow("tasks") << 2 << "12|1|1|0|0|1|0|0|1|0|0|1|1|";
        QTest::newRow("contacts") << 3 << "1|1|";
        QTest::newRow("reminders") << 4 << "7|1|1|1|1|1|0|0|";
        QTest::newRow("scrap book") << 6 << "1|1|";
        QTest::newRow("area 9") << 9 << "";
        QTest::newRow("area 0") << 0 << "";
    }
    void packsInitialOptions()
    {
        QFETCH(int, area);
        QFETCH(QString, memo);
        QCOMPARE(PackLayoutOptions(area, InitialLayoutOptions(area)), memo);
        QCOMPARE(PackLayoutOptions(area, UnpackLayoutOptions(area, memo)), memo);
    }

    void unpacks_data()
    {
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("packed");
        QTest::newRow("task sort order only") << 2 << "12|5|"
                                              << "12|5|1|0|0|1|0|0|1|0|0|1|1|";
        QTest::newRow("reminder two values") << 4 << "7|2|3|"
                                             << "7|2|3|1|1|1|0|0|";
        QTest::newRow("not numbers read as zeros") << 1 << "x|y|"
                                                   << "5|0|0|1|0|0|";
        QTest::newRow("last value without bar ignored") << 1 << "5|2|3"
                                                        << "5|2|0|1|0|0|";
        QTest::newRow("trailing blanks") << 3 << "1|4|   "
                                         << "1|4|";
        QTest::newRow("values beyond the area") << 5 << "1|2|7|8|"
                                                << "1|2|";
        QTest::newRow("dates kept") << 1 << "5|3|2|2|45000|45100|"
                                    << "5|3|2|2|45000|45100|";
        QTest::newRow("blank memo") << 2 << ""
                                    << "12|1|1|0|0|1|0|0|1|0|0|1|1|";
        QTest::newRow("count alone") << 4 << "7"
                                     << "7|1|1|1|1|1|0|0|";
        QTest::newRow("other area") << 9 << "5|1|"
                                    << "";
    }
    void unpacks()
    {
        QFETCH(int, area);
        QFETCH(QString, memo);
        QFETCH(QString, packed);
        QCOMPARE(PackLayoutOptions(area, UnpackLayoutOptions(area, memo)), packed);
    }
};

QTEST_GUILESS_MAIN(LayoutOptionsTest)
#include "tst_LayoutOptions.moc"
