#include "journal/SelectDate.h"

#include "platform/framework/WindowDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"

#include "journal/Pictures.h"

#include <QPushButton>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;

namespace {

const QDateTime Now(QDate(2026, 12, 10), QTime(9, 30));

WindowController* Calendar()
{
    return FindWindow(QStringLiteral("SelectDate"));
}

int Day(int year, int month, int day)
{
    return DayNumberFromDate(QDate(year, month, day));
}

// The labels of the 42 day buttons, week by week; a hidden button shows as ".".
QStringList Weeks(WindowController& calendar)
{
    QStringList weeks;
    for (int week = 0; week < 6; ++week) {
        QStringList days;
        for (int column = 0; column < 7; ++column) {
            const int button =
                calendar.window.ControlNumber(QStringLiteral("Day%1").arg(week * 7 + column + 1));
            days << (calendar.window.IsHidden(button) ? QStringLiteral(".") : calendar.window.Label(button));
        }
        weeks << days.join(QLatin1Char(' '));
    }
    return weeks;
}

QString Header(WindowController& calendar)
{
    return calendar.window.Label(calendar.window.ControlNumber(QStringLiteral("Header")));
}

} // namespace

class SelectDateTest : public QObject
{
    Q_OBJECT

    int chosen = -1; // outlives a test function, as the calendar's thread may

    // Opens the calendar on a program thread of its own, as a form's button does.
    WindowController* Open(int date, const QString& title = QStringLiteral("Select Date"))
    {
        chosen = -1;
        Start([this, date, title] { chosen = SelectDate(date, title); });
        return Calendar();
    }

private slots:
    void initTestCase()
    {
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
        SetFixedClock(Now);
    }
    void cleanupTestCase() { EndProgramThreads(); }
    void cleanup()
    {
        if (WindowController* calendar = Calendar())
            Press(*calendar, QStringLiteral("Cancel"));
        QVERIFY(!Calendar());
    }

    void aMonthFillsTheRowsItNeeds_data()
    {
        QTest::addColumn<int>("date");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("weeks");
        const QString empty = QStringLiteral(". . . . . . .");
        QTest::newRow("February 2015 starts on a Sunday: four rows")
            << Day(2015, 2, 14) << "February 2015" << QStringList{"1 2 3 4 5 6 7",
                                                                  "8 9 10 11 12 13 14",
                                                                  "15 16 17 18 19 20 21",
                                                                  "22 23 24 25 26 27 28",
                                                                  empty,
                                                                  empty};
        QTest::newRow("March 2025 starts on a Saturday: six rows")
            << Day(2025, 3, 31) << "March 2025"
            << QStringList{". . . . . . 1",        "2 3 4 5 6 7 8",        "9 10 11 12 13 14 15",
                           "16 17 18 19 20 21 22", "23 24 25 26 27 28 29", "30 31 . . . . ."};
        QTest::newRow("February 2024 of a leap year")
            << Day(2024, 2, 29) << "February 2024"
            << QStringList{". . . . 1 2 3",        "4 5 6 7 8 9 10",     "11 12 13 14 15 16 17",
                           "18 19 20 21 22 23 24", "25 26 27 28 29 . .", empty};
    }
    void aMonthFillsTheRowsItNeeds()
    {
        QFETCH(int, date);
        QFETCH(QString, header);
        QFETCH(QStringList, weeks);
        WindowController* calendar = Open(date);
        QVERIFY(calendar);
        QCOMPARE(Header(*calendar), header);
        QCOMPARE(Weeks(*calendar), weeks);
        // The focus is on the starting day; each day's tip is its date in the desktop's short format.
        const int focused = calendar->window.FocusedControl();
        QCOMPARE(calendar->window.Label(focused), QString::number(DateFromDayNumber(date).day()));
        QCOMPARE(calendar->window.Widget(focused)->toolTip(),
                 QLocale().toString(DateFromDayNumber(date), QLocale::ShortFormat));
        test::SavePicture(calendar->window.Root(), QStringLiteral("SelectDate-") + header);
    }

    // The day the picker was opened with is marked (shown pressed in) in its month only; today is bold.
    void theDateItWasOpenedWithIsMarked()
    {
        WindowController* calendar = Open(Day(2026, 12, 24));
        QVERIFY(calendar);
        const auto marked = [calendar] {
            QStringList days;
            for (int place = 1; place <= 42; ++place) {
                auto* button = qobject_cast<QPushButton*>(
                    calendar->window.Widget(calendar->window.ControlNumber(QStringLiteral("Day%1").arg(place))));
                if (button->isChecked())
                    days << button->text() + QStringLiteral(" marked");
                if (button->font().bold())
                    days << button->text() + QStringLiteral(" bold");
            }
            return days;
        };
        QCOMPARE(marked(), (QStringList{"10 bold", "24 marked"}));
        test::SavePicture(calendar->window.Root(), QStringLiteral("SelectDate-marked"));
        Press(*calendar, QStringLiteral("NextMonth"));
        QCOMPARE(marked(), QStringList());
        Press(*calendar, QStringLiteral("PreviousMonth"));
        QCOMPARE(marked(), (QStringList{"10 bold", "24 marked"}));
    }

    void theArrowsStepMonthsAndYearsAndTheYearsWrap_data()
    {
        QTest::addColumn<int>("date");
        QTest::addColumn<QString>("arrow");
        QTest::addColumn<QString>("header");
        QTest::newRow("next year from 2099") << Day(2099, 6, 15) << "NextYear"
                                             << "June 1801";
        QTest::newRow("previous year from 1801") << Day(1801, 6, 15) << "PreviousYear"
                                                 << "June 2099";
        QTest::newRow("next year") << Day(2003, 9, 1) << "NextYear"
                                   << "September 2004";
        QTest::newRow("previous year") << Day(2003, 9, 1) << "PreviousYear"
                                       << "September 2002";
        QTest::newRow("next month into the next year") << Day(2003, 12, 1) << "NextMonth"
                                                       << "January 2004";
        QTest::newRow("previous month into the previous year") << Day(2004, 1, 20) << "PreviousMonth"
                                                               << "December 2003";
        QTest::newRow("next month from December 2099 does not wrap") << Day(2099, 12, 31) << "NextMonth"
                                                                     << "January 2100";
        QTest::newRow("previous month stays at the first month with dates")
            << Day(1801, 1, 1) << "PreviousMonth"
            << "January 1801";
    }
    void theArrowsStepMonthsAndYearsAndTheYearsWrap()
    {
        QFETCH(int, date);
        QFETCH(QString, arrow);
        QFETCH(QString, header);
        WindowController* calendar = Open(date);
        QVERIFY(calendar);
        Press(*calendar, arrow);
        QCOMPARE(Header(*calendar), header);
        QCOMPARE(Calendar(), calendar);
    }

    void aDayPressedIsTheResult()
    {
        WindowController* calendar = Open(Day(2003, 9, 10));
        QVERIFY(calendar);
        Press(*calendar, QStringLiteral("NextMonth"));
        // 1 October 2003 was a Wednesday: the 17th is the third Friday's button.
        Press(*calendar, QStringLiteral("Day20"));
        QVERIFY(!Calendar());
        QCOMPARE(chosen, Day(2003, 10, 17));
        QCOMPARE(CurrentContext().GlobalResponseCode, quint8(0)); // the calendar's thread has its own
    }

    void todayClosesAtOnceWithToday()
    {
        WindowController* calendar = Open(Day(2003, 9, 10));
        QVERIFY(calendar);
        Press(*calendar, QStringLiteral("Today"));
        QVERIFY(!Calendar());
        QCOMPARE(chosen, Day(2026, 12, 10));
    }

    void closedWithoutAChoiceItGivesTheDateAsPassed_data()
    {
        QTest::addColumn<int>("date");
        QTest::addColumn<QString>("how");
        for (const int date : {0, Day(2003, 9, 10)}) {
            const QByteArray start = date ? "a date" : "0";
            for (const char* how : {"Cancel", "Escape", "close box"})
                QTest::newRow(start + ", " + how) << date << QString::fromLatin1(how);
        }
    }
    void closedWithoutAChoiceItGivesTheDateAsPassed()
    {
        QFETCH(int, date);
        QFETCH(QString, how);
        WindowController* calendar = Open(date);
        QVERIFY(calendar);
        if (date == 0) {
            // 0 shows today's month with today's button focused.
            QCOMPARE(Header(*calendar), QStringLiteral("December 2026"));
            QCOMPARE(calendar->window.Label(calendar->window.FocusedControl()), QStringLiteral("10"));
        }
        if (how == "Cancel")
            Press(*calendar, how);
        else if (how == "Escape")
            PressKey(*calendar, Qt::Key_Escape);
        else
            calendar->window.Root()->close();
        WaitIdle();
        QVERIFY(!Calendar());
        QCOMPARE(chosen, date);
    }

    void theCaptionIsTheTitleOrSelectDate_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::newRow("blank") << "   "
                               << "Select Date";
        QTest::newRow("empty") << ""
                               << "Select Date";
        QTest::newRow("clipped") << "Select Reminder Date   "
                                 << "Select Reminder Date";
    }
    void theCaptionIsTheTitleOrSelectDate()
    {
        QFETCH(QString, title);
        QFETCH(QString, caption);
        WindowController* calendar = Open(Day(2003, 9, 10), title);
        QVERIFY(calendar);
        QCOMPARE(calendar->window.Caption(), caption);
    }
};

QTEST_MAIN(SelectDateTest)
#include "tst_SelectDate.moc"
