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
};

QTEST_MAIN(PictureTest)
#include "tst_Picture.moc"
