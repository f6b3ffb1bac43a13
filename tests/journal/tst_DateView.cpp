#include "core/CoreProcedures.h"
#include "core/StandInWindows.h"
#include "journal/DateView.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "journal/MonthGrid.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"

#include "core/WindowTest.h"
#include "journal/LogEventWindows.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"
#include "platform/help/HelpViewer.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDirIterator>
#include <QImage>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::Another;
using jornix::test::Me;

namespace {
const QDate TheDate(2026, 3, 3);

int Day(const QDate& date)
{
    return DayNumberFromDate(date);
}

// What the test forms saw and how they answer.
struct FormRun
{
    QString form;
    int request = 0;
};
std::vector<FormRun> formRuns;
int formAnswer = Response::Cancelled;
std::function<void()> formAction; // what the event form does before it answers

void TestForm(const QString& form)
{
    formRuns.push_back({form, CurrentContext().GlobalRequestCode});
    if (form == QStringLiteral("event form") && formAction)
        formAction();
    CurrentContext().GlobalResponseCode = quint8(formAnswer);
}

// A record as the forms write it; `raw` writes it straight into the table, past the data layer's checks, as
// a file from elsewhere may hold it.
void AddRecord(FileManager& access, const std::vector<std::pair<QString, QVariant>>& fields, bool raw = false)
{
    access.GetTable().ClearBuffer();
    access.SetFieldDefaults();
    for (const auto& [name, value] : fields)
        access.Buffer().SetValue(name, value);
    if (raw)
        QVERIFY(access.GetTable().Insert());
    else
        QCOMPARE(access.Insert(), 0);
}

void AddEvent(const QString& description, const QDate& date, int type = 0, int privateFlag = 0,
              qint32 creator = Me)
{
    AddRecord(*AccessLOG, {{"LOG:LogDescription", description},
                           {"LOG:LogDate", Day(date)},
                           {"LOG:LogType", type},
                           {"LOG:LogPrivate", privateFlag},
                           {"LOG:LogUniqueID", creator},
                           {"LOG:LogCreateLoginID", creator == Me ? "me" : "other"}});
}

void AddReminder(const QString& description, const QDate& date, int privateFlag = 0, qint32 creator = Me,
                 int linkType = 0)
{
    AddRecord(*AccessREM,
              {{"REM:Description", description},
               {"REM:ReminderDate", Day(date)},
               {"REM:ShowReminder", 1},
               {"REM:Private", privateFlag},
               {"REM:UniqueID", creator},
               {"REM:LinkType", linkType},
               {"REM:CreateLoginID", creator == Me ? "me" : "other"}},
              linkType > 3);
}

WindowController* OpenDateView()
{
    return FindWindow(QStringLiteral("DateView"));
}

MonthGrid* Grid(WindowController& view, int n)
{
    return dynamic_cast<MonthGrid*>(
        view.window.Widget(view.window.ControlNumber(QStringLiteral("M%1").arg(n))));
}

QStringList Titles(WindowController& view)
{
    return {Grid(view, 1)->Title(), Grid(view, 2)->Title(), Grid(view, 3)->Title()};
}

// The month (1 to 3) and the cell's text of a marker, "" when it is hidden everywhere.
QString Marker(WindowController& view, bool selected)
{
    for (int n = 1; n <= 3; ++n) {
        const MonthGrid* grid = Grid(view, n);
        const int place = selected ? grid->SelectedPlace() : grid->CurrentPlace();
        if (place >= 0)
            return QStringLiteral("%1:%2").arg(n).arg(grid->CellAt(place).text);
    }
    return {};
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The statements that the record files of the tables run while it lives, by their text, besides the check
// of whether a file has changed.
class StatementTrace
{
public:
    explicit StatementTrace(std::initializer_list<const Table*> tables)
    {
        for (const Table* table : tables)
            if (sqlite3* db = table->File()->Handle(); std::find(dbs_.begin(), dbs_.end(), db) == dbs_.end()) {
                dbs_.push_back(db);
                sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &StatementTrace::Note, this);
            }
    }
    ~StatementTrace()
    {
        for (sqlite3* db : dbs_)
            sqlite3_trace_v2(db, 0, nullptr, nullptr);
    }
    QStringList reads;

private:
    static int Note(unsigned, void* trace, void*, void* text)
    {
        const QString sql = QString::fromUtf8(static_cast<const char*>(text));
        if (sql != QStringLiteral("PRAGMA data_version"))
            static_cast<StatementTrace*>(trace)->reads << sql;
        return 0;
    }
    std::vector<sqlite3*> dbs_;
};

void ClickCell(MonthGrid& grid, int place)
{
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(place).center());
    WaitIdle();
}

// Pick Date: the date picker opens on the selected date's month; steps to the month of the date and presses
// its day.
void PickDate(WindowController& view, const QDate& date)
{
    Press(view, QStringLiteral("PickGoToDate"));
    WindowController* picker = FindWindow(QStringLiteral("SelectDate"));
    QVERIFY(picker);
    const QDate from = DateFromDayNumber(SelectedDate);
    int months = (date.year() - from.year()) * 12 + date.month() - from.month();
    const QString step = months < 0 ? QStringLiteral("PreviousMonth") : QStringLiteral("NextMonth");
    for (; months != 0; months += months < 0 ? 1 : -1)
        Press(*picker, step);
    for (int place = 1; place <= 42; ++place) {
        const int button = picker->window.ControlNumber(QStringLiteral("Day%1").arg(place));
        if (!picker->window.IsHidden(button) && picker->window.Label(button) == QString::number(date.day())) {
            Press(*picker, button);
            return;
        }
    }
    QFAIL("the picker shows no such day");
}

// The rows of a list as the user reads them: per row its texts, and "*" for each icon column with an icon.
QStringList Rows(WindowController& view, const QString& list)
{
    QAbstractItemModel* model = view.window.ListModel(view.window.ControlNumber(list));
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data().toString();
            cells << (text.isEmpty() && !index.data(Qt::DecorationRole).isNull() ? QStringLiteral("*")
                                                                                 : text);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString State(WindowController& view, const QString& name)
{
    const int button = view.window.ControlNumber(name);
    const QString text = view.window.Label(button).remove(QLatin1Char('&'));
    if (view.window.IsHidden(button))
        return text + QStringLiteral(":hidden");
    return text + (view.window.IsEnabled(button) ? QStringLiteral(":on") : QStringLiteral(":off"));
}

QStringList States(WindowController& view, const QStringList& names)
{
    QStringList states;
    for (const QString& name : names)
        states << State(view, name);
    return states;
}

// Whether the cell of a day shows ink of the colour: the cell as it is painted.
bool CellShows(MonthGrid& grid, int place, const QColor& colour)
{
    const QImage picture = grid.grab().toImage();
    const QRect cell = grid.CellRect(place);
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor pixel =
                picture.pixelColor(x * picture.width() / grid.width(), y * picture.height() / grid.height());
            if (qAbs(pixel.red() - colour.red()) < 40 && qAbs(pixel.green() - colour.green()) < 40 &&
                qAbs(pixel.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

const QStringList EventButtons{"Copy", "Insert", "Change", "Delete", "Print"};
const QStringList ReminderButtons{"CopyReminder", "InsertReminder", "ChangeReminder", "DeleteReminder"};

} // namespace

class DateViewTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

    WindowController* Open()
    {
        Start(DateView);
        return OpenDateView();
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsLOG, RelationsREM}));
        test::StartJournalTest([] { TestForm(QStringLiteral("event form")); });
        RegisterProcedure(QStringLiteral("UpdateReminder"),
                          [] { TestForm(QStringLiteral("reminder form")); });
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        SetFixedClock(QDateTime(TheDate, QTime(9, 30)));
        test::StartJournalCase();
        GLO = PreservedSettings{};
        formRuns.clear();
        formAnswer = Response::Cancelled;
        formAction = {};
        test::RemoveAll(*AccessREM);
    }
    void cleanup() { test::CloseWindows(); }

    void opensOnTodayInTheMiddleMonth()
    {
        SelectedDate = Day(QDate(2020, 1, 1));
        WindowController* view = Open();
        QVERIFY(view);
        QCOMPARE(Titles(*view), (QStringList{"February 2026", "March 2026", "April 2026"}));
        QCOMPARE(SelectedDate, Day(TheDate));
        QCOMPARE(Marker(*view, true), QStringLiteral("2:03"));
        QCOMPARE(Marker(*view, false), QStringLiteral("2:03"));
        QCOMPARE(view->window.Caption(), QStringLiteral("Date View"));
        QCOMPARE(view->window.Root()->minimumSize(), view->window.Root()->size());
        // Every control lies inside the window, and the window inside the frame.
        for (const int control : view->window.Controls()) {
            QWidget* widget = view->window.Widget(control);
            if (control <= 0 || !widget || !widget->isVisibleTo(view->window.Root()))
                continue;
            const QRect box(widget->mapTo(view->window.Root(), QPoint(0, 0)), widget->size());
            QVERIFY2(view->window.Root()->rect().contains(box), qPrintable(widget->objectName()));
        }
        test::SavePicture(view->window.Root(), QStringLiteral("DateView"));
    }

    void theDateMenuAndTheButtonsSayWhatTheyDo()
    {
        std::vector<HelpRequest> help;
        SetHelpSink([&](const HelpRequest& request) -> QWidget* {
            help.push_back(request);
            return nullptr;
        });
        WindowController* view = Open();
        QStringList items;
        for (const int control : view->window.Controls())
            if (control < 0 && view->window.KindOf(control) == ControlKind::Item)
                items.prepend(view->window.Label(control) + QStringLiteral(" (") +
                              view->window.Action(control)->toolTip() + QLatin1Char(')')); // -1 first
        QCOMPARE(items, (QStringList{"&Today (Go to Today)", "Pic&k Date... (Pick Date)",
                                     "&Next Month (Go to Next Month)", "&Prev Month (Go to Prev Month)",
                                     "Ne&xt Year (Go to Next Year)", "Prev &Year (Go to Prev Year)"}));
        QStringList tips;
        for (const char* button : {"PrevYear", "PrevMonth", "GoToToday", "PickGoToDate", "NextMonth",
                                   "NextYear", "Help", "Copy", "Insert", "Change", "Delete", "CopyReminder"})
            tips << view->window.Widget(ControlNumber(*view, QString::fromLatin1(button)))->toolTip();
        QCOMPARE(tips, (QStringList{"Go to Prev Year", "Go to Prev Month", "Go to Today", "Pick Date",
                                    "Go to Next Month", "Go to Next Year", "Help", "Copy Selected Event",
                                    "Insert New Event", "Edit Selected Event", "Delete Selected Event",
                                    "Copy Selected Event"}));
        Press(*view, QStringLiteral("Help"));
        SetHelpSink({});
        QCOMPARE(help.size(), std::size_t(1));
        QVERIFY2(help.front().path.endsWith(QStringLiteral("dateview.htm")), qPrintable(help.front().path));
    }

    void movesKeepTheSelectionInsideTheMonths_data()
    {
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QDate>("selected");
        QTest::newRow("31 May, Prev Month")
            << QDate(2024, 5, 31) << QStringList{"PrevMonth"}
            << QStringList{"March 2024", "April 2024", "May 2024"} << QDate(2024, 5, 31);
        QTest::newRow("31 May, Prev Month twice")
            << QDate(2024, 5, 31) << QStringList{"PrevMonth", "PrevMonth"}
            << QStringList{"February 2024", "March 2024", "April 2024"} << QDate(2024, 4, 30);
        QTest::newRow("31 January, Next Month once")
            << QDate(2025, 1, 31) << QStringList{"NextMonth"}
            << QStringList{"January 2025", "February 2025", "March 2025"} << QDate(2025, 1, 31);
        QTest::newRow("31 January, Next Month twice")
            << QDate(2025, 1, 31) << QStringList{"NextMonth", "NextMonth"}
            << QStringList{"February 2025", "March 2025", "April 2025"} << QDate(2025, 2, 28);
        QTest::newRow("29 February, Next Year from the menu: into the left month")
            << QDate(2024, 2, 29) << QStringList{"menu:Ne&xt Year"}
            << QStringList{"January 2025", "February 2025", "March 2025"} << QDate(2025, 1, 29);
        QTest::newRow("31 March, Prev Year from the menu: into the right month, its last day")
            << QDate(2025, 3, 31) << QStringList{"menu:Prev &Year"}
            << QStringList{"February 2024", "March 2024", "April 2024"} << QDate(2024, 4, 30);
        QTest::newRow("Prev Year, Next Month and Prev Month from the menu")
            << QDate(2024, 6, 15) << QStringList{"PrevYear", "menu:&Next Month", "menu:&Prev Month"}
            << QStringList{"May 2023", "June 2023", "July 2023"} << QDate(2023, 7, 15);
        QTest::newRow("Today from the menu")
            << QDate(2024, 6, 15) << QStringList{"menu:&Today"}
            << QStringList{"February 2026", "March 2026", "April 2026"} << TheDate;
        QTest::newRow("no month before January 1801")
            << QDate(1801, 1, 10) << QStringList{"PrevMonth", "PrevYear"}
            << QStringList{"January 1801", "February 1801", "March 1801"} << QDate(1801, 1, 10);
        QTest::newRow("no month after December 2099")
            << QDate(2099, 12, 31) << QStringList{"NextYear", "NextMonth"}
            << QStringList{"October 2099", "November 2099", "December 2099"} << QDate(2099, 12, 31);
    }
    void movesKeepTheSelectionInsideTheMonths()
    {
        QFETCH(QDate, picked);
        QFETCH(QStringList, presses);
        QFETCH(QStringList, titles);
        QFETCH(QDate, selected);
        AddEvent(QStringLiteral("On the selected day"), selected);
        WindowController* view = Open();
        PickDate(*view, picked);
        QCOMPARE(SelectedDate, Day(picked));
        for (const QString& press : presses) {
            if (press.startsWith(QStringLiteral("menu:"))) {
                int item = 0;
                for (const int control : view->window.Controls())
                    if (control < 0 && view->window.Label(control) == press.mid(5))
                        item = control;
                QVERIFY(item);
                Press(*view, item);
            } else {
                Press(*view, press);
            }
        }
        QCOMPARE(Titles(*view), titles);
        QCOMPARE(SelectedDate, Day(selected));
        QCOMPARE(QDate(SelectedYear, SelectedMonth, SelectedDay), selected);
        const int month = titles.indexOf(selected.toString(QStringLiteral("MMMM yyyy"))) + 1;
        QCOMPARE(Marker(*view, true),
                 QStringLiteral("%1:%2").arg(month).arg(selected.day(), 2, 10, QChar('0')));
        QCOMPARE(Rows(*view, QStringLiteral("List")), QStringList{"|On the selected day|me"});
    }

    void aMonthFillsItsCellsFromItsWeekday_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<int>("firstPlace");
        QTest::addColumn<int>("lastPlace");
        QTest::newRow("February 2026: four rows, no leading cell") << QDate(2026, 2, 1) << 0 << 27;
        QTest::newRow("August 2026: the sixth row") << QDate(2026, 8, 1) << 6 << 36;
        QTest::newRow("March 2026 starts on a Sunday") << QDate(2026, 3, 1) << 0 << 30;
        QTest::newRow("January 1801 starts on a Thursday") << QDate(1801, 1, 1) << 4 << 34;
    }
    void aMonthFillsItsCellsFromItsWeekday()
    {
        QFETCH(QDate, month);
        QFETCH(int, firstPlace);
        QFETCH(int, lastPlace);
        WindowController* view = Open();
        PickDate(*view, month);
        const int n = month == QDate(1801, 1, 1) ? 1 : 2;
        MonthGrid* grid = Grid(*view, n);
        QCOMPARE(grid->Title(), month.toString(QStringLiteral("MMMM yyyy")));
        QStringList texts;
        for (int place = 0; place < MonthGrid::Cells; ++place)
            texts << grid->CellAt(place).text;
        QStringList expected;
        for (int place = 0; place < MonthGrid::Cells; ++place)
            expected << (place < firstPlace || place > lastPlace
                             ? QString()
                             : QStringLiteral("%1").arg(place - firstPlace + 1, 2, 10, QLatin1Char('0')));
        QCOMPARE(texts, expected);
    }

    void aClickedDayIsSelectedAndTheMonthsStay()
    {
        AddEvent(QStringLiteral("Ninth"), QDate(2026, 2, 9));
        WindowController* view = Open();
        PickDate(*view, QDate(2026, 3, 3));
        MonthGrid* left = Grid(*view, 1);
        ClickCell(*left, left->PlaceOf(9));
        QCOMPARE(SelectedDate, Day(QDate(2026, 2, 9)));
        QCOMPARE(Titles(*view), (QStringList{"February 2026", "March 2026", "April 2026"}));
        QCOMPARE(Marker(*view, true), QStringLiteral("1:09"));
        QCOMPARE(Marker(*view, false), QStringLiteral("2:03"));
        QCOMPARE(Rows(*view, QStringLiteral("List")), QStringList{"|Ninth|me"});
        // An empty cell changes nothing.
        QVERIFY(left->CellAt(41).text.isEmpty());
        ClickCell(*left, 41);
        QCOMPARE(SelectedDate, Day(QDate(2026, 2, 9)));
        QCOMPARE(Marker(*view, true), QStringLiteral("1:09"));
        // Pick Date cancelled keeps the day, but centres the months on it and frames it as the current day.
        Press(*view, QStringLiteral("PickGoToDate"));
        WindowController* picker = FindWindow(QStringLiteral("SelectDate"));
        QVERIFY(picker);
        Press(*picker, QStringLiteral("Cancel"));
        QCOMPARE(SelectedDate, Day(QDate(2026, 2, 9)));
        QCOMPARE(Titles(*view), (QStringList{"January 2026", "February 2026", "March 2026"}));
        QCOMPARE(Marker(*view, true), QStringLiteral("2:09"));
        QCOMPARE(Marker(*view, false), QStringLiteral("2:09"));
    }

    void privateEventsAreListedAndMarkedForTheirCreator_data()
    {
        QTest::addColumn<int>("privateFlag");
        QTest::addColumn<qint32>("creator");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("bold");
        QTest::newRow("flag 0 of another user") << 0 << Another << QStringList{"|Event|other"} << true;
        QTest::newRow("flag 1 of the user") << 1 << Me << QStringList{"*|Event|me"} << true;
        QTest::newRow("flag 1 of another user") << 1 << Another << QStringList{} << false;
        QTest::newRow("flag 2 of the user") << 2 << Me << QStringList{"*|Event|me"} << false;
        QTest::newRow("flag 2 of another user") << 2 << Another << QStringList{} << false;
    }
    void privateEventsAreListedAndMarkedForTheirCreator()
    {
        QFETCH(int, privateFlag);
        QFETCH(qint32, creator);
        QFETCH(QStringList, rows);
        QFETCH(bool, bold);
        AddEvent(QStringLiteral("Event"), TheDate, 0, privateFlag, creator);
        WindowController* view = Open();
        QCOMPARE(Rows(*view, QStringLiteral("List")), rows);
        MonthGrid* middle = Grid(*view, 2);
        QCOMPARE(middle->CellAt(middle->PlaceOf(3)).bold, bold);
        QVERIFY(!middle->CellAt(middle->PlaceOf(4)).bold);
    }

    void daysWithAVisibleReminderShowTheReminderColour_data()
    {
        QTest::addColumn<qint32>("setting");
        QTest::addColumn<int>("privateFlag");
        QTest::addColumn<qint32>("creator");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0x0000FF is red") << 0x0000FF << 0 << Me << QColor(255, 0, 0);
        QTest::newRow("0x00FF00 is green") << 0x00FF00 << 0 << Me << QColor(0, 255, 0);
        QTest::newRow("a private reminder of the user") << 0x0000FF << 1 << Me << QColor(255, 0, 0);
        QTest::newRow("a private reminder of another user") << 0x0000FF << 1 << Another << QColor();
    }
    void daysWithAVisibleReminderShowTheReminderColour()
    {
        QFETCH(qint32, setting);
        QFETCH(int, privateFlag);
        QFETCH(qint32, creator);
        QFETCH(QColor, colour);
        GLO.ReminderDayColor = setting;
        AddReminder(QStringLiteral("Call"), QDate(2026, 3, 10), privateFlag, creator);
        WindowController* view = Open();
        MonthGrid* middle = Grid(*view, 2);
        const int place = middle->PlaceOf(10);
        QCOMPARE(middle->CellAt(place).colour, colour);
        QCOMPARE(middle->CellAt(middle->PlaceOf(11)).colour, QColor());
        if (colour.isValid()) {
            QVERIFY(CellShows(*middle, place, colour));
            QVERIFY(!CellShows(*middle, middle->PlaceOf(11), colour));
        }
    }

    void remindersShowTheirLinkTypeAndIcons_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<int>("privateFlag");
        QTest::addColumn<QString>("row");
        QTest::newRow("none") << 0 << 0 << "*||Call|None|me";
        QTest::newRow("log event, private") << 1 << 1 << "*|*|Call|Log Event|me";
        QTest::newRow("contact") << 2 << 0 << "*||Call|Contact|me";
        QTest::newRow("task") << 3 << 0 << "*||Call|Task|me";
        QTest::newRow("an unknown type is blank") << 7 << 0 << "*||Call||me";
    }
    void remindersShowTheirLinkTypeAndIcons()
    {
        QFETCH(int, linkType);
        QFETCH(int, privateFlag);
        QFETCH(QString, row);
        AddReminder(QStringLiteral("Task first"), TheDate, 0, Me, 3);
        AddReminder(QStringLiteral("Call"), TheDate.addDays(1), privateFlag, Me, linkType);
        WindowController* view = Open();
        ClickCell(*Grid(*view, 2), Grid(*view, 2)->PlaceOf(4));
        QCOMPARE(Rows(*view, QStringLiteral("ReminderList")), QStringList{row});
    }

    void theLogTypeTabsFilterTheDay_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("None (show all)")
            << 1 << QStringList{"|Chores|me", "|Misc|me"}
            << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"};
        QTest::newRow("Home") << 2 << QStringList{}
                              << QStringList{"Copy:off", "Insert:on", "Change:off", "Delete:off",
                                             "Print:off"};
        QTest::newRow("Other") << 4 << QStringList{"|Misc|me"}
                               << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"};
    }
    void theLogTypeTabsFilterTheDay()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, buttons);
        AddEvent(QStringLiteral("Chores"), TheDate, 0);
        AddEvent(QStringLiteral("Misc"), TheDate, 3);
        AddEvent(QStringLiteral("Another day"), TheDate.addDays(1), 3);
        WindowController* view = Open();
        PickTab(*view, view->window.ControlNumber(QStringLiteral("LogTypeTab")), tab);
        QCOMPARE(Rows(*view, QStringLiteral("List")), rows);
        QCOMPARE(States(*view, EventButtons), buttons);
        MonthGrid* middle = Grid(*view, 2);
        QVERIFY(middle->CellAt(middle->PlaceOf(3)).bold);
    }

    void accessLevelsShapeTheLists_data()
    {
        QTest::addColumn<int>("logAccess");
        QTest::addColumn<int>("reminderAccess");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("reminders");
        QTest::addColumn<bool>("noAccessText");
        QTest::newRow("full") << 2 << 2
                              << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"}
                              << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on"} << false;
        QTest::newRow("view only") << 1 << 1
                                   << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off",
                                                  "Print:on"}
                                   << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off"} << false;
        QTest::newRow("no reminders")
            << 2 << 0 << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"}
            << QStringList{"Copy:hidden", "Insert:hidden", "Change:hidden", "Delete:hidden"} << true;
    }
    void accessLevelsShapeTheLists()
    {
        QFETCH(int, logAccess);
        QFETCH(int, reminderAccess);
        QFETCH(QStringList, events);
        QFETCH(QStringList, reminders);
        QFETCH(bool, noAccessText);
        CurrentUserAccess[AccessArea::LogEvents] = quint8(logAccess);
        CurrentUserAccess[AccessArea::Reminders] = quint8(reminderAccess);
        AddEvent(QStringLiteral("Event"), TheDate);
        AddReminder(QStringLiteral("Reminder"), TheDate);
        WindowController* view = Open();
        QCOMPARE(States(*view, EventButtons), events);
        QCOMPARE(States(*view, ReminderButtons), reminders);
        const int text = view->window.ControlNumber(QStringLiteral("NoReminderAccess"));
        QCOMPARE(!view->window.IsHidden(text), noAccessText);
        QCOMPARE(view->window.IsHidden(view->window.ControlNumber(QStringLiteral("ReminderList"))),
                 noAccessText);
        if (noAccessText)
            test::SavePicture(view->window.Root(), QStringLiteral("DateView-no-reminders"));
    }

    void noLogEventAccessIsRefused()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 0;
        test::MessageRecorder messages;
        Start(DateView);
        QVERIFY(!OpenDateView());
        QCOMPARE(messages.Captions(), QStringList{"Access Denied"});
        QCOMPARE(messages.boxes.front().text,
                 QStringLiteral("You are not allowed to view or edit Log Events. Please contact your system "
                                "administrator to request access."));
        QCOMPARE(WindowThreadRegistry[WindowKind::DateView], 0);
    }

    void printHandsTheEventsNumberToThePrintOptions()
    {
        std::vector<PrintRecValues> printed;
        RegisterProcedure(QStringLiteral("PrintRec"), [&] { printed.push_back(PrintRecRequest); });
        AddEvent(QStringLiteral("Printed"), TheDate);
        const qint32 number = AccessLOG->Buffer().Long(AccessLOG->GetTable().FieldIndex("LOG:LogNum"));
        WindowController* view = Open();
        PickRow(*view, view->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*view, QStringLiteral("Print"));
        QCOMPARE(printed.size(), std::size_t(1));
        QCOMPARE(printed.front().area, 1);
        QCOMPARE(printed.front().number, number);
    }

    void copyOfAnEventKeepsItsDocumentByteForByte()
    {
        Table& log = AccessLOG->GetTable();
        const int numberField = log.FieldIndex(QStringLiteral("LOG:LogNum"));
        const int documentField = log.FieldIndex(QStringLiteral("LOG:LogDoc"));
        // A document with a table and an image, and bytes that no text would hold.
        QFile image(QStringLiteral(":/icons/DateView.png"));
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QByteArray document = QByteArray("\x00\x01JXDOC", 7) +
                                    "<table><tr><td>cell</td><td>two</td></tr></table><img src=\"data:\">" +
                                    image.readAll() + QByteArray(3, '\0');
        AddRecord(*AccessLOG, {{"LOG:LogDescription", "With notes"},
                               {"LOG:LogCreateLoginID", "me"},
                               {"LOG:LogDate", Day(TheDate)},
                               {"LOG:LogLocation", "Office"},
                               {"LOG:LogUniqueID", Me},
                               {"LOG:LogDoc", document}});
        const qint32 original = log.Buffer().Long(numberField);
        AddEvent(QStringLiteral("Deleted later"), TheDate.addDays(5));
        const qint32 deleted = log.Buffer().Long(numberField);
        QVERIFY(log.Delete());
        const QString voiceFolder = folder->folder.Path();
        QFile voice(voiceFolder + QStringLiteral("l_%1.wav").arg(original));
        QVERIFY(voice.open(QIODevice::WriteOnly));
        voice.write("RIFF");
        voice.close();

        formAnswer = Response::Completed;
        WindowController* view = Open();
        PickRow(*view, view->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*view, QStringLiteral("Copy"));
        QCOMPARE(formRuns.size(), std::size_t(1));
        QCOMPARE(formRuns.front().request, int(Request::Insert));

        View all(log);
        all.SetOrder(log.KeyIndex(QStringLiteral("LOG:LogNumK")));
        all.SetReadBlobs(true);
        std::vector<ViewRow> rows;
        QVERIFY(all.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(rows.size(), std::size_t(2));
        const Record& copy = rows.back().record;
        QCOMPARE(copy.Long(numberField), deleted + 1);
        QCOMPARE(copy.Value(QStringLiteral("LOG:LogDescription")).toString(), QStringLiteral("With notes"));
        QCOMPARE(copy.Value(QStringLiteral("LOG:LogLocation")).toString(), QStringLiteral("Office"));
        QCOMPARE(copy.Value(QStringLiteral("LOG:LogDoc")).toByteArray(), document);
        QCOMPARE(rows.front().record.Value(documentField).toByteArray(), document);
        QStringList voiceFiles;
        for (QDirIterator files(voiceFolder, {QStringLiteral("*.wav")}, QDir::Files,
                                QDirIterator::Subdirectories);
             files.hasNext();)
            voiceFiles << QFileInfo(files.next()).fileName();
        QCOMPARE(voiceFiles, QStringList{QStringLiteral("l_%1.wav").arg(original)});
        QCOMPARE(Rows(*view, QStringLiteral("List")), (QStringList{"|With notes|me", "|With notes|me"}));
    }

    void copyOfAReminderStartsFromTheHighlightedOne()
    {
        formAnswer = Response::Completed;
        AddReminder(QStringLiteral("Dentist"), TheDate, 1, Me);
        WindowController* view = Open();
        PickRow(*view, view->window.ControlNumber(QStringLiteral("ReminderList")), 0);
        Press(*view, QStringLiteral("CopyReminder"));
        QCOMPARE(formRuns.size(), std::size_t(1));
        QCOMPARE(formRuns.front().form, QStringLiteral("reminder form"));
        QCOMPARE(formRuns.front().request, int(Request::Insert));
        QCOMPARE(Rows(*view, QStringLiteral("ReminderList")),
                 (QStringList{"*|*|Dentist|None|me", "*||Dentist|None|me"}));
    }

    void onlyACompletedFormRebuildsTheCalendar_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("rebuilt");
        QTest::newRow("cancelled") << int(Response::Cancelled) << false;
        QTest::newRow("completed") << int(Response::Completed) << true;
    }
    void onlyACompletedFormRebuildsTheCalendar()
    {
        QFETCH(int, answer);
        QFETCH(bool, rebuilt);
        AddEvent(QStringLiteral("Moved"), TheDate);
        formAnswer = answer;
        // The form moves the event to the 20th and saves it.
        formAction = [] {
            AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogDate"), Day(QDate(2026, 3, 20)));
            QCOMPARE(AccessLOG->Update(), 0);
        };
        WindowController* view = Open();
        PickRow(*view, view->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*view, QStringLiteral("Change"));
        QCOMPARE(formRuns.size(), std::size_t(1));
        MonthGrid* middle = Grid(*view, 2);
        QCOMPARE(middle->CellAt(middle->PlaceOf(20)).bold, rebuilt);
        QCOMPARE(middle->CellAt(middle->PlaceOf(3)).bold, !rebuilt);
    }

    void aRefreshMeetingAnOpenFormIsIgnored()
    {
        RegisterStandInWindows();
        RegisterCoreProcedures();
        RegisterJournalProcedures(); // the event editor: a dialog that stays open until it is closed
        WindowController* view = Open();
        Press(*view, QStringLiteral("Insert"));
        WindowController* form = FindWindow(QStringLiteral("UpdateLogTX"));
        QVERIFY(form);
        AddEvent(QStringLiteral("Written elsewhere"), QDate(2026, 3, 12));
        RefreshSuppressed = 0;
        BroadcastRefresh();
        WaitIdle();
        RefreshSuppressed = 1; // closing the form takes back its new record: that write posts nothing here
        MonthGrid* middle = Grid(*view, 2);
        QVERIFY(!middle->CellAt(middle->PlaceOf(12)).bold);
        Press(*form, QStringLiteral("Cancel"));
        QVERIFY(!FindWindow(QStringLiteral("UpdateLogTX")));
        QVERIFY(!middle->CellAt(middle->PlaceOf(12)).bold);
        // The next refresh reaches the calendar.
        RefreshSuppressed = 0;
        BroadcastRefresh();
        WaitIdle();
        QVERIFY(middle->CellAt(middle->PlaceOf(12)).bold);
        RegisterProcedure(QStringLiteral("UpdateLogTX"), [] { TestForm(QStringLiteral("event form")); });
        RegisterProcedure(QStringLiteral("UpdateReminder"),
                          [] { TestForm(QStringLiteral("reminder form")); });
    }

    // A refresh that changes nothing paints nothing; one after a change paints the month it changed.
    void anEmptyRefreshRepaintsNothing()
    {
        WindowController* view = Open();
        QVERIFY(view);
        WaitIdle();
        QTest::qWait(50);
        QVERIFY(Grid(*view, 2)->isVisible());
        PaintCounter left(Grid(*view, 1)), middle(Grid(*view, 2)), right(Grid(*view, 3));
        RefreshSuppressed = 0;
        BroadcastRefresh();
        WaitIdle();
        QTest::qWait(50);
        QCOMPARE(left.paints + middle.paints + right.paints, 0);
        AddEvent(QStringLiteral("Written elsewhere"), QDate(2026, 3, 12));
        BroadcastRefresh();
        WaitIdle();
        QTRY_VERIFY(middle.paints > 0);
        QCOMPARE(left.paints + right.paints, 0);
    }

    // A refresh reads the days' marks again only when what they show may have changed: a write of this or
    // another connection; the months moved meanwhile are filled by the move. Midnight changes nothing shown:
    // the framed day is the one Today or Pick Date chose.
    void aRefreshReadsTheMarksOnlyWhenTheyMayHaveChanged_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<int>("month");   // the grid (1 to 3) that shows the day below
        QTest::addColumn<int>("boldDay"); // the day of that month that is bold after the refresh, 0: none
        QTest::newRow("nothing changed") << "nothing" << false << 2 << 0;
        QTest::newRow("an event written by this connection") << "this connection" << true << 2 << 12;
        QTest::newRow("an event moved by another connection") << "another connection" << true << 2 << 12;
        QTest::newRow("the months moved before the refresh") << "month move" << false << 3 << 12;
        QTest::newRow("midnight passed") << "midnight" << false << 2 << 0;
    }
    void aRefreshReadsTheMarksOnlyWhenTheyMayHaveChanged()
    {
        QFETCH(QString, change);
        QFETCH(bool, reads);
        QFETCH(int, month);
        QFETCH(int, boldDay);
        RefreshSuppressed = 1;
        // Shown nowhere at first: in May, after the three months February to April.
        AddEvent(QStringLiteral("Later"), QDate(2026, 5, 12));
        WindowController* view = Open();
        QVERIFY(view);
        WaitIdle();
        QCOMPARE(Titles(*view).join(QLatin1Char('|')),
                 QStringLiteral("February 2026|March 2026|April 2026"));
        Table& log = AccessLOG->GetTable();
        if (change == QStringLiteral("this connection")) {
            AddEvent(QStringLiteral("Written here"), QDate(2026, 3, 12));
        } else if (change == QStringLiteral("another connection")) {
            sqlite3* db = nullptr;
            QVERIFY(RecordFile::OpenConnection(log.FilePath(), log.FileAttributes() & FileAttribute::Encrypt,
                                               SQLITE_OPEN_READWRITE, db));
            const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 = %3")
                                       .arg(log.TableSql(),
                                            log.ColumnSql(log.RequireField(QStringLiteral("LOG:LogDate"))))
                                       .arg(Day(QDate(2026, 3, 12)))
                                       .toUtf8();
            QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else if (change == QStringLiteral("month move")) {
            Press(*view, QStringLiteral("NextMonth"));
            QCOMPARE(Titles(*view).join(QLatin1Char('|')),
                     QStringLiteral("March 2026|April 2026|May 2026"));
        } else if (change == QStringLiteral("midnight")) {
            SetFixedClock(QDateTime(TheDate.addDays(1), QTime(0, 1)));
        }
        const QString currentBefore = Marker(*view, false);
        PaintCounter left(Grid(*view, 1)), middle(Grid(*view, 2)), right(Grid(*view, 3));
        {
            StatementTrace trace({&log, &AccessREM->GetTable()});
            RefreshSuppressed = 0;
            BroadcastRefresh();
            WaitIdle();
            RefreshSuppressed = 1;
            QCOMPARE(!trace.reads.isEmpty(), reads);
        }
        QTest::qWait(50);
        if (!reads)
            QCOMPARE(left.paints + middle.paints + right.paints, 0);
        MonthGrid* grid = Grid(*view, month);
        for (int day = 1; day <= 31; ++day)
            if (const int place = grid->PlaceOf(day); place >= 0)
                QCOMPARE(grid->CellAt(place).bold, day == boldDay);
        QCOMPARE(Marker(*view, false), currentBefore);
    }

    void aSecondStartBringsTheOpenWindowForward()
    {
        WindowController* view = Open();
        const ThreadNumber thread = view->Thread();
        Start(DateView);
        QCOMPARE(WindowController::OpenWindows().size(), std::size_t(1));
        QCOMPARE(WindowThreadRegistry[WindowKind::DateView], thread);
    }
};

QTEST_MAIN(DateViewTest)
#include "tst_DateView.moc"
