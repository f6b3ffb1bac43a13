#include "core/SharedFunctions.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"

#include <QtTest>

using namespace jornix;

class SharedFunctionsTest : public QObject
{
    Q_OBJECT

private slots:
    void dayAndMonthNames_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("date");
        QTest::addColumn<QString>("expected");

        QTest::newRow("1 January 1801 is a Thursday") << "DayOfWeekName" << 4 << "Thursday";
        QTest::newRow("no date is a Sunday") << "DayOfWeekName" << 0 << "Sunday";
        QTest::newRow("day 72687 is a Saturday") << "DayOfWeekName" << 72687 << "Saturday";
        QTest::newRow("a negative day still names a weekday") << "DayOfWeekName" << -3 << "Thursday";
        QTest::newRow("a day in March") << "MonthName" << 82247 << "March ";
        QTest::newRow("December") << "MonthName" << DayNumberFromDate(QDate(2026, 12, 10)) << "December ";
        QTest::newRow("February 2000 has 29 days") << "DaysInMonth" << 72732 << "29";
        QTest::newRow("February 1900 has 28 days") << "DaysInMonth" << 36203 << "28";
        QTest::newRow("December has 31 days")
            << "DaysInMonth" << DayNumberFromDate(QDate(2026, 12, 1)) << "31";
    }
    void dayAndMonthNames()
    {
        QFETCH(QString, function);
        QFETCH(int, date);
        QFETCH(QString, expected);
        QString actual;
        if (function == "DayOfWeekName")
            actual = DayOfWeekName(date);
        else if (function == "MonthName")
            actual = MonthName(date);
        else
            actual = QString::number(DaysInMonth(date));
        QCOMPARE(actual, expected);
    }

    void dayNumbersConvertBothWays_data()
    {
        QTest::addColumn<int>("dayNumber");
        QTest::addColumn<QDate>("date");
        QTest::newRow("day 4 is 1 January 1801") << 4 << QDate(1801, 1, 1);
        QTest::newRow("day 74238 is 31 March 2004") << 74238 << QDate(2004, 3, 31);
        QTest::newRow("day 72732 is 15 February 2000") << 72732 << QDate(2000, 2, 15);
    }
    void dayNumbersConvertBothWays()
    {
        QFETCH(int, dayNumber);
        QFETCH(QDate, date);
        QCOMPARE(DateFromDayNumber(dayNumber), date);
        QCOMPARE(DayNumberFromDate(date), dayNumber);
    }

    void noDateAndNoTimeStayEmpty()
    {
        QVERIFY(!DateFromDayNumber(NoDate).isValid());
        QCOMPARE(DayNumberFromDate(QDate()), NoDate);
        QVERIFY(!QTimeFromTime(NoTime).isValid());
        QCOMPARE(TimeFromQTime(QTime()), NoTime);
    }

    void timesAreHundredthsPlusOne()
    {
        QCOMPARE(QTimeFromTime(1), QTime(0, 0));
        QCOMPARE(QTimeFromTime(8640000), QTime(23, 59, 59, 990));
        QCOMPARE(TimeFromQTime(QTime(0, 0)), 1);
        QCOMPARE(TimeFromQTime(QTime(23, 59, 59, 990)), 8640000);
        QCOMPARE(TimeFromQTime(QTime(12, 30)), 12 * 360000 + 30 * 6000 + 1);
    }

    void coloursKeepRedInTheLowByte()
    {
        QCOMPARE(QColorFromColour(0xFF0000), QColor(Qt::blue));
        QCOMPARE(QColorFromColour(0x0000FF), QColor(Qt::red));
        QCOMPARE(ColourFromQColor(QColor(0x12, 0x34, 0x56)), quint32(0x563412));
    }

    void getFilePathKeepsTheWholeFolder()
    {
        const QString folder = "/home/user/" + QString(120, QLatin1Char('f')) + "/journal/";
        const QString name = folder + "Jornix.ini";
        QVERIFY(name.size() >= 150);
        QCOMPARE(GetFilePath(name), folder);
        QCOMPARE(GetFilePath("/opt/jornix/jornix"), QString("/opt/jornix/"));
        QCOMPARE(GetFilePath("jornix"), QString());
        QCOMPARE(GetFilePath(""), QString());
    }

    void fixedClockGivesTodayAndTime()
    {
        SetFixedClock(QDateTime(QDate(2004, 3, 31), QTime(0, 0, 1)));
        QCOMPARE(Today(), 74238);
        QCOMPARE(Clock(), 101);
        SetFixedClock({});
        QCOMPARE(Today(), DayNumberFromDate(QDate::currentDate()));
    }
};

QTEST_GUILESS_MAIN(SharedFunctionsTest)
#include "tst_SharedFunctions.moc"
