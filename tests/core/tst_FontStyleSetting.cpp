#include "core/FontStyleSetting.h"

#include <QtTest>

using namespace jornix;

// The kept style of the default font, read by Program Setup and by the event editor alike.
class TestFontStyleSetting : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data()
    {
        QTest::addColumn<int>("kept");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::addColumn<int>("written"); // what the decoded style is written back as
        QTest::newRow("400 plain") << 400 << false << false << false << false << 400;
        QTest::newRow("0 (no weight) plain") << 0 << false << false << false << false << 400;
        QTest::newRow("600 semi-bold is not bold") << 600 << false << false << false << false << 400;
        QTest::newRow("700 bold") << 700 << true << false << false << false << 700;
        QTest::newRow("800 bold") << 800 << true << false << false << false << 700;
        QTest::newRow("900 bold") << 900 << true << false << false << false << 700;
        QTest::newRow("400 italic") << 400 + 4096 << false << true << false << false << 400 + 4096;
        QTest::newRow("700 underline") << 700 + 8192 << true << false << true << false << 700 + 8192;
        QTest::newRow("800 strike-through") << 800 + 16384 << true << false << false << true << 700 + 16384;
        QTest::newRow("900 every flag") << 900 + 4096 + 8192 + 16384 << true << true << true << true
                                        << 700 + 4096 + 8192 + 16384;
    }
    void decoding()
    {
        QFETCH(int, kept);
        const FontStyleSetting style = FontStyleSetting::Decode(kept);
        QTEST(style.bold, "bold");
        QTEST(style.italic, "italic");
        QTEST(style.underline, "underline");
        QTEST(style.strikeOut, "strikeOut");
        QTEST(int(style.Encode()), "written");
        QCOMPARE(FontStyleSetting::Decode(style.Encode()), style);
    }
};

QTEST_APPLESS_MAIN(TestFontStyleSetting)
#include "tst_FontStyleSetting.moc"
