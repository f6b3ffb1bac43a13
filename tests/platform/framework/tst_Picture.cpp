#include "platform/framework/Picture.h"
#include "platform/runtime/DayNumbers.h"

#include <QTest>

using namespace jornix;

class PictureTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void valuesShowAsTheirPictureSays_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("text") << "@s30" << QVariant(QStringLiteral("jd")) << "jd";
        QTest::newRow("number") << "@n-7" << QVariant(-90) << "-90";
        QTest::newRow("number with decimals") << "@n10.2" << QVariant(2.5) << "2.50";
        QTest::newRow("zero shown") << "@n-7" << QVariant(0) << "0";
        QTest::newRow("zero blank") << "@n7B" << QVariant(0) << "";
        QTest::newRow("date in four-digit years")
            << "@d17" << QVariant(DayNumberFromDate(QDate(2026, 3, 4))) << "3/4/2026";
        QTest::newRow("no date blank") << "@D17B" << QVariant(0) << "";
        QTest::newRow("day 0 as a date") << "@D17" << QVariant(0) << "12/28/1800";
        QTest::newRow("time") << "@t1" << QVariant(TimeFromQTime(QTime(14, 5))) << "2:05 PM";
    }
    void valuesShowAsTheirPictureSays()
    {
        QFETCH(QString, picture);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QCOMPARE(Picture(picture).Format(value), shown);
    }

    void typedTextIsReadThroughThePicture_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("text cut to its width") << "@s5"
                                               << "abcdefg" << true << QVariant(QStringLiteral("abcde"));
        QTest::newRow("negative number") << "@n-7"
                                         << "-12" << true << QVariant(-12);
        QTest::newRow("negative refused without sign") << "@n7"
                                                       << "-12" << false << QVariant();
        QTest::newRow("letters refused") << "@n-7"
                                         << "1a" << false << QVariant();
        QTest::newRow("blank number is 0") << "@n-7"
                                           << " " << true << QVariant(0);
        QTest::newRow("date") << "@d17"
                              << "3/4/2026" << true << QVariant(DayNumberFromDate(QDate(2026, 3, 4)));
        QTest::newRow("blank date is no date") << "@d17B"
                                               << "" << true << QVariant(0);
        QTest::newRow("no such date") << "@d17"
                                      << "2/30/2026" << false << QVariant();
    }
    void typedTextIsReadThroughThePicture()
    {
        QFETCH(QString, picture);
        QFETCH(QString, typed);
        QFETCH(bool, fits);
        QFETCH(QVariant, value);
        QVariant read;
        QCOMPARE(Picture(picture).Parse(typed, read), fits);
        if (fits)
            QCOMPARE(read.toString(), value.toString());
    }

    // Dates as users type them, read through the picture of the desktop's short date: its own form, the
    // desktop's short form with two-digit years, ISO, and numbers in the order the picture shows them (a
    // picture that names the month, as the C locale's "20 Dec 2026", reads numbers as month/day/year).
    void typedDatesAreReadAsUsersWriteThem_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("date"); // invalid: the text is no date
        const QDate december20(2026, 12, 20);
        QTest::newRow("US: as shown") << "en_US" << "@d17" << "12/20/2026" << december20;
        QTest::newRow("US: short form") << "en_US" << "@d17B" << "12/20/26" << december20;
        QTest::newRow("US: leading zeros, dashes") << "en_US" << "@d17" << "03-04-2026" << QDate(2026, 3, 4);
        QTest::newRow("US: ISO") << "en_US" << "@d17" << "2026-12-20" << december20;
        QTest::newRow("US: month by name") << "en_US" << "@d17" << "Dec 20, 2026" << december20;
        QTest::newRow("US: blanks around") << "en_US" << "@d17B" << "  12/20/2026 " << december20;
        QTest::newRow("US: day and month swapped") << "en_US" << "@d17" << "20/12/2026" << QDate();
        QTest::newRow("US: no 31 June") << "en_US" << "@d17" << "6/31/2026" << QDate();
        QTest::newRow("US: two parts") << "en_US" << "@d17" << "12/20" << QDate();
        QTest::newRow("US: words") << "en_US" << "@d17" << "next friday" << QDate();
        QTest::newRow("US: 19xx from two digits") << "en_US" << "@d17" << "7/4/76" << QDate(1976, 7, 4);
        QTest::newRow("German: as shown") << "de_DE" << "@d17" << "20.12.2026" << december20;
        QTest::newRow("German: short form") << "de_DE" << "@d17B" << "20.12.26" << december20;
        QTest::newRow("German: with slashes") << "de_DE" << "@d17" << "20/12/2026" << december20;
        QTest::newRow("German: ISO") << "de_DE" << "@d17" << "2026-12-20" << december20;
        QTest::newRow("German: month by name") << "de_DE" << "@d17" << "20. Dezember 2026" << december20;
        QTest::newRow("German: no month 20") << "de_DE" << "@d17" << "12.20.2026" << QDate();
        QTest::newRow("British: as shown") << "en_GB" << "@d17" << "20/12/2026" << december20;
        QTest::newRow("C: as shown") << "C" << "@d17" << "20 Dec 2026" << december20;
        QTest::newRow("C: numbers month first") << "C" << "@d17" << "12/20/2026" << december20;
        QTest::newRow("C: ISO") << "C" << "@d17B" << "2026-12-20" << december20;
        QTest::newRow("C: a month of no name") << "C" << "@d17" << "20 Dex 2026" << QDate();
    }
    void typedDatesAreReadAsUsersWriteThem()
    {
        QFETCH(QString, locale);
        QFETCH(QString, picture);
        QFETCH(QString, typed);
        QFETCH(QDate, date);
        QLocale::setDefault(QLocale(locale));
        QVariant read;
        const bool fits = Picture(picture).Parse(typed, read);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(fits, date.isValid());
        if (fits)
            QCOMPARE(DateFromDayNumber(read.toInt()), date);
    }
};

QTEST_MAIN(PictureTest)
#include "tst_Picture.moc"
