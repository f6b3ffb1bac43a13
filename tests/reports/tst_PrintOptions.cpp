#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "platform/runtime/FileFolders.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "reports/CallPrintProcess.h"
#include "reports/ReportLayoutList.h"
#include "reports/ReportsProcedures.h"

#include "core/DataFolder.h"
#include "platform/framework/WindowDriver.h"
#include "reports/PrintOptionsTest.h"

#include <QDir>
#include <QComboBox>
#include <QHeaderView>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::AddLayouts;
using jornix::test::LayoutRows;

// The print options for many records as the user meets them from the menus.
class tst_PrintOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::PrintOptionsFixture> fixture;

    WindowController* Open(int area)
    {
        CurrentReportArea = area;
        StartProcedure(QStringLiteral("PrintOptions"));
        WaitIdle();
        return FindWindow("PrintOptions");
    }
    bool Enabled(WindowController& window, const QString& name)
    {
        return window.window.IsEnabled(ControlNumber(window, name));
    }
    int Tab(WindowController& window)
    {
        return window.window.SelectedTab(ControlNumber(window, "FILTEROPTIONS"));
    }
    // Prints with the layout's output; gives the job.
    PrintJobRequest Print(WindowController& window)
    {
        fixture->jobs.clear();
        Press(window, "PRINTREPORT");
        return fixture->jobs.empty() ? PrintJobRequest{} : fixture->jobs.back();
    }

private slots:
    void initTestCase()
    {
        fixture = std::make_unique<test::PrintOptionsFixture>();
        QVERIFY(fixture->open);
    }
    void cleanupTestCase() { fixture.reset(); }
    void init() { fixture->Reset(); }
    void cleanup()
    {
        fixture->Close("PrintOptions");
        QVERIFY(WindowController::OpenWindows().empty());
    }

    // Started for tasks, then again for reminders: one window, which comes forward for reminders.
    void startedAgainTheWindowTakesTheNewArea()
    {
        AddLayouts({{.area = 2, .description = "Task List", .factoryDefault = 1},
                    {.area = 4, .description = "Reminder Cards", .outputFormat = 9, .type = 2},
                    {.area = 4, .description = "Reminder List", .outputFormat = 5}});
        WindowController* window = Open(2);
        QVERIFY(window);
        QCOMPARE(window->window.Caption(), QStringLiteral("Print Options - Tasks"));
        QCOMPARE(window->window.Label(ControlNumber(*window, "TOPPANELTEXT")),
                 QStringLiteral("Print Options - Tasks"));
        QCOMPARE(Tab(*window), 2);
        QCOMPARE(LayoutRows(*window), QStringList{"lock|Task List|List|Preview|Detail"});
        test::CheckPicture(*window, "PrintOptions-Tasks");
        const ThreadNumber thread = window->Thread();

        QVERIFY(Open(4) == window);
        QCOMPARE(window->Thread(), thread);
        QCOMPARE(WindowController::OpenWindows().size(), 1u);
        QCOMPARE(window->window.Caption(), QStringLiteral("Print Options - Reminders"));
        QCOMPARE(window->window.Label(ControlNumber(*window, "TOPPANELTEXT")),
                 QStringLiteral("Print Options - Reminders"));
        QCOMPARE(Tab(*window), 4);
        QCOMPARE(LayoutRows(*window),
                 (QStringList{"|Reminder Cards|Card|PDF|Detail", "|Reminder List|List|HTML|Detail"}));
        test::CheckPicture(*window, "PrintOptions-Reminders");
    }

    // Opened for contacts and started again for tasks: the window grows to what the tasks' options need.
    void switchedToAnotherAreaEveryOptionShowsWhole()
    {
        AddLayouts({{.area = 3, .description = "Contact List"}, {.area = 2, .description = "Task List"}});
        WindowController* window = Open(3);
        QVERIFY(window);
        QVERIFY(Open(2) == window);
        QCOMPARE(Tab(*window), 2);
        WaitIdle();
        const QWidget* root = window->window.Root();
        for (const char* name :
             {"TASK:SORTORDER", "TASK:COMPLETED", "TASK:PRIORITY", "TASK:DUEDATERANGE", "TASK:CLOSEDATERANGE",
              "TASK:STARTDATERANGE", "TASK:DUEDATESDATE", "TASK:STARTDATEEDATE:PICK", "PRINTREPORT"}) {
            const QWidget* option = window->window.Widget(ControlNumber(*window, name));
            QVERIFY2(option && option->isVisible(), name);
            const QRect place(option->mapTo(root, QPoint(0, 0)), option->size());
            QVERIFY2(root->rect().contains(place), qPrintable(QString("%1 at %2,%3 %4x%5 outside %6x%7")
                                                                  .arg(name)
                                                                  .arg(place.x())
                                                                  .arg(place.y())
                                                                  .arg(place.width())
                                                                  .arg(place.height())
                                                                  .arg(root->width())
                                                                  .arg(root->height())));
            const QSize needed = option->minimumSizeHint();
            QVERIFY2(option->width() >= needed.width() && option->height() >= needed.height(),
                     qPrintable(QString("%1 is %2x%3, needs %4x%5")
                                    .arg(name)
                                    .arg(option->width())
                                    .arg(option->height())
                                    .arg(needed.width())
                                    .arg(needed.height())));
        }
    }

    // The descriptions of the layouts show whole: the column takes the width the others leave.
    void theDescriptionsShowWhole()
    {
        const QStringList descriptions{"Summary Report Grouped by Log Date",
                                       "Summary Report Grouped by Log Type",
                                       "Summary Report Sorted by Log Description"};
        for (const QString& description : descriptions)
            AddLayouts({{.area = 1, .description = description}});
        WindowController* window = Open(1);
        QVERIFY(window);
        WaitIdle();
        const QString problem = test::DescriptionColumnProblem(*window, descriptions);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // The selection a layout keeps is loaded when it is highlighted; what it does not hold stays.
    void theLayoutsSelectionIsLoaded()
    {
        const QDate from(2026, 3, 5), to(2026, 3, 8);
        const QString dates = QString("%1|%2|").arg(DayNumberFromDate(from)).arg(DayNumberFromDate(to));
        const QList<qint32> numbers =
            AddLayouts({{.area = 1, .description = "A all five", .filter = "5|1|0|2|" + dates},
                        {.area = 1, .description = "B count and two", .filter = "2|2|1|"},
                        {.area = 1, .description = "C nothing kept"}});
        WindowController* window = Open(1);
        QVERIFY(window);
        const int list = ControlNumber(*window, "List");
        PrintJobRequest job = Print(*window);
        QCOMPARE(job.layoutNumber, numbers[0]);
        QCOMPARE(job.sortOrder, 1);
        QCOMPARE(job.criteria, QStringLiteral("Date Range = >= 03/05/2026 <= 03/08/2026"));
        QCOMPARE(job.filter, QString("LOG:LogDate >= %1 AND LOG:LogDate <= %2")
                                 .arg(DayNumberFromDate(from))
                                 .arg(DayNumberFromDate(to)));
        PickRow(*window, list, 1);
        job = Print(*window);
        QCOMPARE(job.layoutNumber, numbers[1]);
        QCOMPARE(job.sortOrder, 2);
        QCOMPARE(job.criteria, QStringLiteral("Type = 1, Date Range = >= 03/05/2026 <= 03/08/2026"));
        PickRow(*window, list, 2);
        QCOMPARE(Print(*window).criteria,
                 QStringLiteral("Type = 1, Date Range = >= 03/05/2026 <= 03/08/2026"));
        QCOMPARE(FindWindow("PrintOptions"), window);
    }

    // A fresh window prints every type of log event and every reminder.
    void aFreshWindowSelectsEverything_data()
    {
        QTest::addColumn<int>("area");
        for (int area = 1; area <= 6; ++area)
            QTest::newRow(qPrintable(QString::number(area))) << area;
    }
    void aFreshWindowSelectsEverything()
    {
        QFETCH(int, area);
        AddLayouts({{.area = area, .description = "Plain"}});
        WindowController* window = Open(area);
        QVERIFY(window);
        const PrintJobRequest job = Print(*window);
        QCOMPARE(job.area, area);
        QCOMPARE(job.sortOrder, 1);
        QCOMPARE(job.criteria, QString());
        QCOMPARE(job.filter, QString());
    }

    void theOutputAndTheRangesEnableTheirControls()
    {
        AddLayouts({{.area = 2,
                     .description = "A printed",
                     .outputFormat = 3,
                     .openOutputFile = 1,
                     .filter = "5|1|2|0|0|1|"},
                    {.area = 2,
                     .description = "B web page",
                     .outputFormat = 5,
                     .openOutputFile = 1,
                     .filter = "2|1|1|"}});
        WindowController* window = Open(2);
        QVERIFY(window);
        QVERIFY(!Enabled(*window, "ALL:OPENOUTPUTFILE"));
        QVERIFY(Enabled(*window, "TASK:DUEDATESDATE"));
        QVERIFY(Enabled(*window, "TASK:DUEDATEEDATE:PICK"));
        QVERIFY(!Enabled(*window, "TASK:CLOSEDATESDATE"));
        PickRow(*window, ControlNumber(*window, "List"), 1);
        QVERIFY(Enabled(*window, "ALL:OPENOUTPUTFILE"));
        QVERIFY(window->window.Widget(ControlNumber(*window, "ALL:OPENOUTPUTFILE"))
                    ->property("checked")
                    .toBool());
        QVERIFY(!Enabled(*window, "TASK:DUEDATESDATE"));
        QVERIFY(Enabled(*window, "PRINTREPORT"));
        // Reminders have no layout here: nothing to print.
        QVERIFY(Open(4) == window);
        QVERIFY(LayoutRows(*window).isEmpty());
        QVERIFY(!Enabled(*window, "PRINTREPORT"));
    }

    // A pick button starts at today when its date is blank; closing the calendar keeps that date.
    void aBlankDateIsPickedFromToday()
    {
        SetFixedClock(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
        AddLayouts({{.area = 1, .description = "Ranged", .filter = "3|1|0|2|"}});
        WindowController* window = Open(1);
        QVERIFY(window);
        Press(*window, "LOGEVENT:SDATE:PICK");
        WindowController* calendar = FindWindow("SelectDate");
        QVERIFY(calendar);
        QCOMPARE(calendar->window.Caption(), QStringLiteral("Select Start Date"));
        PostEvent(Event::CloseWindow, 0, calendar->Thread());
        WaitIdle();
        QVERIFY(!FindWindow("SelectDate"));
        QCOMPARE(Print(*window).criteria, QStringLiteral("Date Range = >= 03/14/2026"));
        SetFixedClock({});
    }

    void anAreaRefusedOnTheWayClosesTheWindow()
    {
        CurrentUserAccess[AccessArea::Contacts] = 0;
        {
            test::MessageRecorder boxes;
            QVERIFY(!Open(3));
            QCOMPARE(boxes.boxes.size(), 1);
        }
        CurrentUserAccess[AccessArea::Contacts] = 2;
        WindowController* window = Open(3);
        QVERIFY(window);
        CurrentUserAccess[AccessArea::ScrapBook] = 0;
        test::MessageRecorder boxes;
        QVERIFY(!Open(6));
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Access Denied"));
        QCOMPARE(boxes.boxes[0].text,
                 QStringLiteral("You are not allowed to view or edit the Scrap Book. Please "
                                "contact your system administrator to request access."));
    }

    void printAsksForTheFile()
    {
        AddLayouts({{.area = 5, .description = "Notes", .outputFormat = 11}});
        WindowController* window = Open(5);
        QVERIFY(window);
        {
            DialogScript cancelled;
            // The user's documents folder, or where the user last chose a report file; never the data folder.
            const QDir start(FileFolders::StartFolder(FileKind::Documents));
            Press(*window, "PRINTREPORT");
            QCOMPARE(cancelled.asked.size(), 1u);
            QCOMPARE(cancelled.asked[0].path, start.filePath(QStringLiteral("report.xml")));
        }
        QVERIFY(fixture->jobs.empty());
        DialogScript named({test::Chosen(fixture->folder.FilePath("notes "))});
        Press(*window, "PRINTREPORT");
        QCOMPARE(fixture->jobs.size(), 1u);
        QCOMPARE(fixture->jobs[0].outputFile, fixture->folder.FilePath("notes.xml"));
    }
};

QTEST_MAIN(tst_PrintOptions)
#include "tst_PrintOptions.moc"
