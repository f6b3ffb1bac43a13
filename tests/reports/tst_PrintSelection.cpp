#include "platform/runtime/DayNumbers.h"
#include "reports/BuildPrintSelection.h"
#include "reports/LoadLayoutSelection.h"
#include "reports/ReportOutputFile.h"

#include <QTest>

using namespace jornix;

Q_DECLARE_METATYPE(PrintSelectionValues)

// The selection of the print options for many records as the print engine receives it, and the names of
// the files a report writes.
class tst_PrintSelection : public QObject
{
    Q_OBJECT

private slots:
    void selection_data();
    void selection();
    void layoutSelection_data();
    void layoutSelection();
    void extension_data();
    void extension();
    void outputFileKinds();
};

static int Day(int year, int month, int day)
{
    return DayNumberFromDate(QDate(year, month, day));
}

void tst_PrintSelection::selection_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<PrintSelectionValues>("values");
    QTest::addColumn<int>("sortOrder");
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QString>("filter");

    PrintSelectionValues reminders;
    reminders.reminderSortOrder = 2;
    reminders.reminderShowReminder = 2;
    reminders.reminderLinkType = 4;
    reminders.reminderDateRange = 2;
    reminders.reminderSDate = Day(2026, 3, 5);
    QTest::newRow("reminders shown, linked to a contact, from 5 March")
        << 4 << reminders << 2
        << "Show Reminder = Yes, Link Type = Contact, Reminder Date Range = >= 03/05/2026"
        << "REM:ShowReminder = 1 AND REM:LinkType = 2 AND REM:ReminderDate >= 82247";

    PrintSelectionValues remindersAll = reminders;
    remindersAll.reminderShowReminder = 3;
    remindersAll.reminderDismiss = 2;
    remindersAll.reminderLinkType = 9;
    remindersAll.reminderDateRange = 1;
    QTest::newRow("reminders not shown, dismissed, link type past the list, range All")
        << 4 << remindersAll << 2 << "Show Reminder = No, Dismiss = Yes, Link Type = Task"
        << "REM:ShowReminder = 0 AND REM:Dismiss = 1 AND REM:LinkType = 3";

    PrintSelectionValues work;
    work.logEventSortOrder = 3;
    work.logEventReportType = 2;
    work.logEventDateRange = 2;
    QTest::newRow("work log events, Range with both dates 0") << 1 << work << 3 << "Type = 2"
                                                              << "LOG:LogType = 2";

    PrintSelectionValues logFrom;
    logFrom.logEventDateRange = 2;
    logFrom.logEventSDate = Day(2004, 3, 31);
    QTest::newRow("log events of every type from one date")
        << 1 << logFrom << 1 << "Date Range = >= 03/31/2004"
        << QString("LOG:LogDate >= %1").arg(Day(2004, 3, 31));

    PrintSelectionValues closed;
    closed.taskSortOrder = 6;
    closed.taskCloseDateRange = 2;
    closed.taskCloseDateSDate = Day(2026, 3, 1);
    closed.taskCloseDateEDate = Day(2026, 3, 31);
    closed.taskCompleted = 2;
    closed.taskPriority = 2;
    QTest::newRow("tasks closed in March, completed, high")
        << 2 << closed << 6
        << "Close Date Range = >= 03/01/2026 <= 03/31/2026, Completed = Yes, Priority = High"
        << QString("TSK:CloseDate >= %1 AND TSK:CloseDate <= %2 AND TSK:Completed = 1 AND TSK:Priority = 1")
               .arg(Day(2026, 3, 1))
               .arg(Day(2026, 3, 31));

    PrintSelectionValues ranges;
    ranges.taskDueDateRange = 2;
    ranges.taskDueDateEDate = Day(2026, 1, 2);
    ranges.taskStartDateRange = 2;
    ranges.taskStartDateSDate = Day(2025, 12, 1);
    ranges.taskCloseDateRange = 1;
    ranges.taskCloseDateSDate = Day(2026, 3, 1);
    ranges.taskCompleted = 3;
    ranges.taskPriority = 6;
    QTest::newRow("tasks due before, started after, not completed, priority past the list")
        << 2 << ranges << 1
        << "Due Date Range = <= 01/02/2026, Start Date Range = >= 12/01/2025, Completed = No, Priority = Low"
        << QString("TSK:DueDate <= %1 AND TSK:StartDate >= %2 AND TSK:Completed = 0 AND TSK:Priority = 3")
               .arg(Day(2026, 1, 2))
               .arg(Day(2025, 12, 1));

    PrintSelectionValues sorts;
    sorts.contactsSortOrder = 5;
    sorts.stickySortOrder = 2;
    sorts.scrapSortOrder = 2;
    sorts.taskCompleted = 2;
    sorts.reminderDismiss = 2;
    QTest::newRow("contacts") << 3 << sorts << 5 << ""
                              << "";
    QTest::newRow("sticky notes") << 5 << sorts << 2 << ""
                                  << "";
    QTest::newRow("scrap book") << 6 << sorts << 2 << ""
                                << "";
    QTest::newRow("no area") << 7 << sorts << 0 << ""
                             << "";
}

void tst_PrintSelection::selection()
{
    QFETCH(int, area);
    QFETCH(PrintSelectionValues, values);
    const PrintSelection selection = BuildPrintSelection(area, values);
    QTEST(selection.sortOrder, "sortOrder");
    QTEST(selection.criteria, "criteria");
    QTEST(selection.filter, "filter");
}

// The layout's selection read into values that the window held before: log events whose dates are 11 and
// 12, tasks whose priority is 4.
void tst_PrintSelection::layoutSelection_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<QString>("layoutFilter");
    QTest::addColumn<QString>("expected"); // the area's values after loading, joined by ","

    QTest::newRow("empty text keeps all") << 1 << ""
                                          << "1,0,1,11,12";
    QTest::newRow("count without values") << 1 << "0|"
                                          << "1,0,1,11,12";
    QTest::newRow("count and three values") << 1 << "3|2|1|2|"
                                            << "2,1,2,11,12";
    QTest::newRow("text after the last bar is no value") << 1 << "3|2|1|2"
                                                         << "2,1,1,11,12";
    QTest::newRow("all five with blanks") << 1 << "5|3 |2| 2|82247|82250|   "
                                          << "3,2,2,82247,82250";
    QTest::newRow("more values than options") << 6 << "2|2|9|"
                                              << "2";
    QTest::newRow("tasks: first two") << 2 << "2|5|2|"
                                      << "5,2,0,0,1,0,0,1,0,0,1,4";
    QTest::newRow("no area") << 9 << "1|2|"
                             << "";
}

void tst_PrintSelection::layoutSelection()
{
    QFETCH(int, area);
    QFETCH(QString, layoutFilter);
    PrintSelectionValues values;
    values.logEventSDate = 11;
    values.logEventEDate = 12;
    values.taskPriority = 4;
    LoadLayoutSelection(area, layoutFilter, values);
    const auto join = [](std::initializer_list<qint32> list) {
        QStringList texts;
        for (qint32 value : list)
            texts << QString::number(value);
        return texts.join(',');
    };
    const PrintSelectionValues& v = values;
    const QString byArea[] = {
        {},
        join({v.logEventSortOrder, v.logEventReportType, v.logEventDateRange, v.logEventSDate,
              v.logEventEDate}),
        join({v.taskSortOrder, v.taskDueDateRange, v.taskDueDateSDate, v.taskDueDateEDate,
              v.taskCloseDateRange, v.taskCloseDateSDate, v.taskCloseDateEDate, v.taskStartDateRange,
              v.taskStartDateSDate, v.taskStartDateEDate, v.taskCompleted, v.taskPriority}),
        join({v.contactsSortOrder}),
        join({v.reminderSortOrder, v.reminderShowReminder, v.reminderDismiss, v.reminderLinkType,
              v.reminderDateRange, v.reminderSDate, v.reminderEDate}),
        join({v.stickySortOrder}),
        join({v.scrapSortOrder}),
    };
    QTEST(area >= 1 && area <= 6 ? byArea[area] : QString(), "expected");
}

void tst_PrintSelection::extension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<QString>("xml");

    QTest::newRow("no dot") << "june"
                            << "june.pdf"
                            << "june.xml";
    QTest::newRow("final dot") << "june."
                               << "june..pdf"
                               << "june..xml";
    QTest::newRow("capitals") << "june.PDF"
                              << "june.PDF"
                              << "june.PDF.xml";
    QTest::newRow("other extension") << "june.txt"
                                     << "june.txt.pdf"
                                     << "june.txt.xml";
    QTest::newRow("blanks around") << " june.xml "
                                   << "june.xml.pdf"
                                   << "june.xml";
    QTest::newRow("dot in the folder") << "/home/a.b/june"
                                       << "/home/a.b/june.pdf"
                                       << "/home/a.b/june.xml";
}

void tst_PrintSelection::extension()
{
    QFETCH(QString, name);
    QTEST(GiveExtension(name, ".pdf"), "pdf");
    QTEST(GiveExtension(name, ".xml"), "xml");
}

void tst_PrintSelection::outputFileKinds()
{
    QVERIFY(!WritesFile(2));
    QVERIFY(!WritesFile(3));
    for (int format = 4; format <= 13; ++format) {
        const OutputFileKind* kind = FindOutputFileKind(format);
        QVERIFY(kind);
        QCOMPARE(kind->defaultName, "report" + kind->extension);
        QVERIFY(kind->mask.endsWith("|*" + kind->extension.toUpper()));
    }
    QCOMPARE(FindOutputFileKind(11)->mask, "XML (*.xml)|*.XML");
    QVERIFY(!FindOutputFileKind(14));
}

QTEST_GUILESS_MAIN(tst_PrintSelection)
#include "tst_PrintSelection.moc"
