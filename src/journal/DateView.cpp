#include "journal/DateView.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedFunctions.h"
#include "core/SharedState.h"
#include "core/StandardBrowseList.h"
#include "core/StandardWindow.h"
#include "journal/LogEventLists.h"
#include "journal/MonthGrid.h"
#include "journal/SelectDate.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"

#include <QDate>
#include <QLabel>

#include <array>
#include <vector>

namespace jornix {
namespace {

constexpr int Months = 3;
// Months are counted as year * 12 + month - 1; the calendar shows January 1801 to December 2099.
constexpr int FirstMonth = 1801 * 12;
constexpr int LastMonth = 2099 * 12 + 11;

QDate FirstDayOf(int month)
{
    return QDate(month / 12, month % 12 + 1, 1);
}

int MonthOf(const QDate& date)
{
    return date.year() * 12 + date.month() - 1;
}

// The days from `first` to `last` that hold a record that marks its day: one the signed-in user may see
// whose private flag is 0, or 1 with the user's own id. One statement per table, over the index that leads
// with the record's owner, so that its cost follows the records of those days and not the table.
class DayMarks
{
public:
    DayMarks(Table& table, const QString& dateField, const QString& flagField)
        : table_(table), date_(table.RequireField(dateField)), flag_(table.RequireField(flagField))
    {
    }

    // Reads again only when the record file, the days or the user have changed since the last read; true
    // when it read again (the marks may differ).
    bool Read(int first, int last)
    {
        const quint64 changes = table_.ChangeCount();
        if (valid_ && changes == changes_ && first == first_ && last == last_ && user_ == CurrentUserUniqueID)
            return false;
        marked_.assign(std::size_t(last - first + 1), false);
        first_ = first;
        last_ = last;
        user_ = CurrentUserUniqueID;
        changes_ = changes;
        valid_ = ReadDays();
        return true;
    }
    bool Marked(int day) const { return day >= first_ && day <= last_ && marked_[std::size_t(day - first_)]; }
    int Reads() const { return reads_; }

private:
    bool ReadDays()
    {
        RecordFile* file = table_.File();
        if (!file)
            return false;
        const QString date = table_.ColumnSql(date_);
        const QString owner = Table::PrivateToSql();
        const QString sql =
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 IS NULL AND %1 BETWEEN ?1 AND ?2 UNION "
                           "SELECT %1 FROM %2 WHERE %3 = ?3 AND %4 = 1 AND %1 BETWEEN ?1 AND ?2")
                .arg(date, table_.TableSql(), owner, table_.ColumnSql(flag_));
        Status status;
        Statement statement = file->Prepare(sql, status);
        if (!statement)
            return false;
        ++reads_;
        statement.Bind(1, first_);
        statement.Bind(2, last_);
        statement.Bind(3, CurrentUserUniqueID);
        int result;
        while ((result = statement.Step()) == SQLITE_ROW) {
            const qint64 day = statement.Int64(0);
            if (day >= first_ && day <= last_)
                marked_[std::size_t(day - first_)] = true;
        }
        return result == SQLITE_DONE;
    }

    Table& table_;
    const int date_;
    const int flag_;
    std::vector<bool> marked_;
    int first_ = 0, last_ = -1;
    qint32 user_ = 0;
    quint64 changes_ = 0;
    bool valid_ = false;
    int reads_ = 0;
};

// The reminders of the day with their link type in words; a code without words shows a blank.
class ReminderRows : public StandardBrowseList
{
public:
    QString reminderType;

    void FillRow(ListRow& row) override
    {
        static const std::array<const char*, 4> types{"None", "Log Event", "Contact", "Task"};
        const int type = row.record.Value(QStringLiteral("REM:LinkType")).toInt();
        reminderType = type >= 0 && type < int(types.size()) ? QString::fromLatin1(types[type]) : QString();
        StandardBrowseList::FillRow(row);
        row.icons[0] = row.record.Value(QStringLiteral("REM:ShowReminder")).toInt() != 0 ? 1 : 0;
        row.icons[1] = row.record.Value(QStringLiteral("REM:Private")).toInt() != 0 ? 2 : 0;
        row.texts[3] = reminderType;
    }
};

class DateViewWindow : public StandardWindow
{
public:
    DateViewWindow()
        : StandardWindow(QStringLiteral("DateView"), QStringLiteral("Date View"), WindowType::Child)
    {
        DescribeMenu();
        window.Row([&] {
            DescribeLogEventHeading(window, QStringLiteral("Date View"));
            window.Spacer();
            prevYear_ = NavigationButton({}, QStringLiteral("PrevYear.png"), "Go to Prev Year", "PrevYear");
            prevMonth_ =
                NavigationButton({}, QStringLiteral("PrevMonth.png"), "Go to Prev Month", "PrevMonth");
            goToToday_ = NavigationButton(QStringLiteral("Today"), {}, "Go to Today", "GoToToday");
            pickDate_ = NavigationButton({}, QStringLiteral("pickdate.gif"), "Pick Date", "PickGoToDate");
            nextMonth_ =
                NavigationButton({}, QStringLiteral("NextMonth.png"), "Go to Next Month", "NextMonth");
            nextYear_ = NavigationButton({}, QStringLiteral("NextYear.png"), "Go to Next Year", "NextYear");
            help_ = NavigationButton({}, QStringLiteral("help.gif"), "Help", "Help");
        });
        window.Row([&] {
            window.Spacer();
            for (int n = 0; n < Months; ++n) {
                auto* grid = new MonthGrid;
                grids_[n] = grid;
                monthControls_[n] = window.Custom(grid).Name(QStringLiteral("M%1").arg(n + 1));
                grid->SetPressed([this, n](int place) {
                    pressed_[n] = place;
                    window.Notify(Event::Accepted, monthControls_[n]);
                });
            }
            window.Spacer();
        });
        window.Row([&] {
            window.Group(QStringLiteral("Log Events"), [&] {
                logTypes_ = window
                                .Sheet([&] {
                                    for (const char* tab : {"None (show all)", "Home", "Work", "Other"})
                                        window.Tab(QString::fromLatin1(tab), [] {});
                                })
                                .Name(QStringLiteral("LogTypeTab"));
                eventList_ = window
                                 .List({{QString(), {}, Qt::AlignLeft},
                                        {QStringLiteral("Log Description"), {}, Qt::AlignLeft},
                                        {QStringLiteral("Created By"), {}, Qt::AlignLeft}})
                                 .Tip(QStringLiteral("Browsing Events"))
                                 .Name(QStringLiteral("List"))
                                 .Stretch();
                window.Buttons([&] {
                    copy_ = ListButton(window, "&Copy", "WIZDITTO.gif", "Copy Selected Event", "Copy");
                    insert_ = ListButton(window, "&Insert", "WIZINS.gif", "Insert New Event", "Insert");
                    change_ = ListButton(window, "&Change", "WIZEDIT.gif", "Edit Selected Event", "Change");
                    delete_ = ListButton(window, "&Delete", "WIZDEL.gif", "Delete Selected Event", "Delete");
                    print_ = ListButton(window, "&Print", "wizprint.gif", nullptr, "Print");
                });
            });
            window.Group(QStringLiteral("Reminder Events"), [&] {
                reminderList_ = window
                                    .List({{QString(), {}, Qt::AlignLeft},
                                           {QString(), {}, Qt::AlignLeft},
                                           {QStringLiteral("Description"), {}, Qt::AlignLeft},
                                           {QStringLiteral("Link Type"), {}, Qt::AlignLeft},
                                           {QStringLiteral("Created By"), {}, Qt::AlignLeft}})
                                    .Tip(QStringLiteral("Browsing Records"))
                                    .Name(QStringLiteral("ReminderList"))
                                    .Stretch();
                noReminderAccess_ = window.Prompt(QStringLiteral("No Access to View/Edit Reminders"))
                                        .Name(QStringLiteral("NoReminderAccess"))
                                        .Hide();
                window.Buttons([&] {
                    copyReminder_ =
                        ListButton(window, "&Copy", "WIZDITTO.gif", "Copy Selected Event", "CopyReminder");
                    insertReminder_ = ListButton(window, "&Insert", "WIZINS.gif", nullptr, "InsertReminder");
                    changeReminder_ = ListButton(window, "&Change", "WIZEDIT.gif", nullptr, "ChangeReminder");
                    deleteReminder_ = ListButton(window, "&Delete", "WIZDEL.gif", nullptr, "DeleteReminder");
                });
            });
        });

        CheckAccess(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"));
        RegisterKind(WindowThreadRegistry[WindowKind::DateView]);
        UseTable(*RelationsLOG);
        UseTable(*RelationsREM);
        KeepMinimumSize();
        SetHelp(QStringLiteral("dateview.htm"), help_);

        events_.SetList(eventList_, logView_, *RelationsLOG);
        events_.SetAccessLevel(CurrentUserAccess[AccessArea::LogEvents]);
        events_.SetButtons({.insert = insert_,
                            .change = change_,
                            .remove = delete_,
                            .copy = copy_,
                            .print = print_,
                            .printForViewers = true});
        // The tabs filter the day's events by their log type; they choose no order.
        events_.SetFilterTabs(logTypes_, {{},
                                          QStringLiteral("LOG:LogType = 1"),
                                          QStringLiteral("LOG:LogType = 2"),
                                          QStringLiteral("LOG:LogType = 3")});
        events_.SetForm([] { CallProcedure(QStringLiteral("UpdateLogTX")); });
        events_.SetPrint([](qint32 number) { PrintRec(1, number); });
        AddList(events_);

        reminders_.SetList(reminderList_, reminderView_, *RelationsREM);
        reminders_.SetAccessLevel(CurrentUserAccess[AccessArea::Reminders]);
        reminders_.SetButtons({.insert = insertReminder_,
                               .change = changeReminder_,
                               .remove = deleteReminder_,
                               .copy = copyReminder_});
        reminders_.SetForm([] { CallProcedure(QStringLiteral("UpdateReminder")); });
        reminderView_.Names().Bind(QStringLiteral("ReminderType"),
                                   [this] { return reminders_.reminderType; });
        AddList(reminders_);
    }

    int Init() override
    {
        if (const int level = StandardWindow::Init())
            return level;
        started_ = true;
        return Level::GoOn;
    }

    int OnAccepted(int control) override
    {
        if (const int level = StandardWindow::OnAccepted(control))
            return level;
        // The Date menu's items press their buttons, so that menu and button run the same code.
        for (const auto& [item, button] : menuItems_)
            if (control == item) {
                Post(Event::Accepted, *button);
                return Level::Handled;
            }
        if (control == prevYear_)
            Move(-12);
        else if (control == nextYear_)
            Move(12);
        else if (control == prevMonth_)
            Move(-1);
        else if (control == nextMonth_)
            Move(1);
        else if (control == goToToday_)
            GoToDate(Today());
        else if (control == pickDate_)
            GoToDate(SelectDate(SelectedDate, QStringLiteral("Select Date")));
        else if (const int n = MonthOfControl(control); n >= 0)
            ClickDay(n, pressed_[n]);
        else
            return Level::GoOn;
        return Level::Handled;
    }

    int OnWindowEvent(const FrameworkEvent& event) override
    {
        const int level = StandardWindow::OnWindowEvent(event);
        if (event.event == RefreshEvent)
            FillCalendar();
        return level;
    }

    // A form that ends with anything but "cancelled" may have changed a day's marks.
    int RunSubProcedure(int number, int request) override
    {
        const int response = StandardWindow::RunSubProcedure(number, request);
        if (response != Response::Cancelled)
            FillCalendar();
        return response;
    }

protected:
    void SetUpWindow() override
    {
        if (reminders_.AccessLevel() == 0)
            window.Show(noReminderAccess_);
        const QColor selectedFill = QColorFromColour(quint32(GLO.SelectDayFillColor));
        const QColor currentFrame = QColorFromColour(quint32(GLO.CurrentDayColor));
        reminderColour_ = QColorFromColour(quint32(GLO.ReminderDayColor));
        for (MonthGrid* grid : grids_)
            grid->SetMarkerColours(selectedFill, currentFrame);
        // A new window always starts on today; its lists are read with today's filters when Init is done.
        GoToDate(Today());
    }

    void SetUpListOrders() override
    {
        const Table& log = logView_.ViewTable();
        events_.AddOrder(log.KeyIndex(QStringLiteral("LOG:LogDateRankDescriptionK")));
        events_.SetPrivateFields(QStringLiteral("LOG:LogPrivate"), QStringLiteral("LOG:LogUniqueID"));
        events_.SetIcons({QStringLiteral("~private.bmp")});
        events_.MapIcon({}, 0);
        events_.MapField(QStringLiteral("LOG:LogDescription"), 1);
        events_.MapField(QStringLiteral("LOG:LogCreateLoginID"), 2);

        const Table& reminder = reminderView_.ViewTable();
        reminders_.AddOrder(reminder.KeyIndex(QStringLiteral("REM:ReminderDateK")));
        reminders_.SetPrivateFields(QStringLiteral("REM:Private"), QStringLiteral("REM:UniqueID"));
        reminders_.SetIcons({QStringLiteral("~reminder.bmp"), QStringLiteral("~private.bmp")});
        reminders_.MapIcon({}, 0);
        reminders_.MapIcon({}, 1);
        reminders_.MapField(QStringLiteral("REM:Description"), 2);
        reminders_.MapField(QStringLiteral("REM:LinkType"), 3);
        reminders_.MapField(QStringLiteral("REM:CreateLoginID"), 4);
    }

private:
    // The Date menu's items are named apart from the buttons they press.
    void DescribeMenu()
    {
        const struct
        {
            const char* text;
            const char* tip;
            const char* name;
            int* button;
        } items[] = {{"&Today", "Go to Today", "ViewGoToToday", &goToToday_},
                     {"Pic&k Date...", "Pick Date", "ViewGoToPickDate", &pickDate_},
                     {"&Next Month", "Go to Next Month", "ViewGoToNextMonth", &nextMonth_},
                     {"&Prev Month", "Go to Prev Month", "ViewGoToPrevMonth", &prevMonth_},
                     {"Ne&xt Year", "Go to Next Year", "ViewGoToNextYear", &nextYear_},
                     {"Prev &Year", "Go to Prev Year", "ViewGoToPrevYear", &prevYear_}};
        const auto body = [&] {
            for (const auto& item : items) {
                const int number = window.Item(QString::fromLatin1(item.text))
                                       .Name(QString::fromLatin1(item.name))
                                       .Tip(QString::fromLatin1(item.tip))
                                       .StatusText(QString::fromLatin1(item.tip));
                menuItems_.push_back({number, item.button});
            }
        };
        window.Menu(QStringLiteral("&Date"), body)
            .Name(QStringLiteral("Date"))
            .Tip(QStringLiteral("Date Menu"));
    }

    int NavigationButton(const QString& text, const QString& image, const char* tip, const char* name)
    {
        return window.Button(text, image).Tip(QString::fromLatin1(tip)).Name(QString::fromLatin1(name));
    }

    int MonthOfControl(int control) const
    {
        for (int n = 0; n < Months; ++n)
            if (control == monthControls_[n])
                return n;
        return -1;
    }

    static int SelectedMonthIndex() { return SelectedYear * 12 + SelectedMonth - 1; }

    void SetSelected(const QDate& date)
    {
        SelectedMonth = quint8(date.month());
        SelectedDay = quint8(date.day());
        SelectedYear = qint16(date.year());
    }

    // Today and Pick Date: the day becomes the selected and the current day, in the middle month.
    void GoToDate(int date)
    {
        QDate day = DateFromDayNumber(date);
        if (!day.isValid())
            day = DateFromDayNumber(Today());
        day = qBound(FirstDayOf(FirstMonth), day, FirstDayOf(LastMonth).addMonths(1).addDays(-1));
        SetSelected(day);
        currentDay_ = DayNumberFromDate(day);
        leftMonth_ = qBound(FirstMonth, MonthOf(day) - 1, LastMonth - (Months - 1));
        SelectedDate = currentDay_;
        FillCalendar();
        ApplyDayFilters();
    }

    // The months move together; none goes before the first month or after the last.
    void Move(int months)
    {
        leftMonth_ = qBound(FirstMonth, leftMonth_ + months, LastMonth - (Months - 1));
        FillCalendar();
    }

    void FillCalendar()
    {
        const int remembered = SelectedDate;
        // The selected month stays among those shown; its day is kept within the month.
        const int selected = qBound(leftMonth_, SelectedMonthIndex(), leftMonth_ + Months - 1);
        SelectedYear = qint16(selected / 12);
        SelectedMonth = quint8(selected % 12 + 1);
        const int first = DayNumberFromDate(FirstDayOf(leftMonth_));
        const int last = DayNumberFromDate(FirstDayOf(leftMonth_ + Months)) - 1;
        const bool eventsRead = eventMarks_.Read(first, last);
        const bool remindersRead = reminderMarks_.Read(first, last);
        const Shown shown{leftMonth_, selected, SelectedDay, currentDay_, reminderColour_.rgba()};
        // With the same marks and the same months, selection and current day, the grids stay as they are.
        if (eventsRead || remindersRead || !filled_ || !(shown == shown_))
            FillMonths(selected);
        SelectedDate = DayNumberFromDate(QDate(SelectedYear, SelectedMonth, SelectedDay));
        if (SelectedDate != remembered)
            ApplyDayFilters();
    }

    void FillMonths(int selected)
    {
        for (int n = 0; n < Months; ++n) {
            const int month = leftMonth_ + n;
            const QDate firstDay = FirstDayOf(month);
            const int firstNumber = DayNumberFromDate(firstDay);
            const int days = DaysInMonth(firstNumber);
            if (month == selected && SelectedDay > days)
                SelectedDay = quint8(days);
            MonthGrid& grid = *grids_[n];
            grid.SetTitle(MonthName(firstNumber) + QString::number(firstDay.year()));
            const int leading = firstNumber % 7; // 0: Sunday, the first column
            int selectedPlace = -1, currentPlace = -1;
            for (int place = 0; place < MonthGrid::Cells; ++place) {
                const int dayOfMonth = place - leading + 1;
                if (dayOfMonth < 1 || dayOfMonth > days) {
                    grid.SetCell(place, {});
                    continue;
                }
                const int day = firstNumber + dayOfMonth - 1;
                grid.SetCell(place, {QStringLiteral("%1").arg(dayOfMonth, 2, 10, QLatin1Char('0')),
                                     eventMarks_.Marked(day),
                                     reminderMarks_.Marked(day) ? reminderColour_ : QColor()});
                if (month == selected && dayOfMonth == SelectedDay)
                    selectedPlace = place;
                if (day == currentDay_)
                    currentPlace = place;
            }
            grid.SetSelectedPlace(selectedPlace);
            grid.SetCurrentPlace(currentPlace);
            grid.ShowCells();
        }
        shown_ = {leftMonth_, selected, SelectedDay, currentDay_, reminderColour_.rgba()};
        filled_ = true;
    }

    // A day clicked: it becomes the selected day; the months and the current day stay.
    void ClickDay(int n, int place)
    {
        if (place < 0 || grids_[n]->CellAt(place).text.isEmpty())
            return;
        const QDate firstDay = FirstDayOf(leftMonth_ + n);
        SetSelected(QDate(firstDay.year(), firstDay.month(), grids_[n]->CellAt(place).text.toInt()));
        for (int other = 0; other < Months; ++other)
            grids_[other]->SetSelectedPlace(other == n ? place : -1);
        shown_.selectedMonth = SelectedMonthIndex();
        shown_.selectedDay = SelectedDay;
        SelectedDate = DayNumberFromDate(QDate(SelectedYear, SelectedMonth, SelectedDay));
        ApplyDayFilters();
    }

    // Both lists show the selected day; the events list adds its tab's log type.
    void ApplyDayFilters()
    {
        events_.SetFilter(QStringLiteral("LOG:LogDate = %1").arg(SelectedDate));
        reminders_.SetFilter(QStringLiteral("REM:ReminderDate = %1").arg(SelectedDate));
        if (!started_)
            return;
        events_.ReadFirst();
        reminders_.ReadFirst();
    }

    View logView_{AccessLOG->GetTable()};
    View reminderView_{AccessREM->GetTable()};
    LogEventRows events_; // a private event shows the private icon, whatever its flag
    ReminderRows reminders_;
    DayMarks eventMarks_{AccessLOG->GetTable(), QStringLiteral("LOG:LogDate"),
                         QStringLiteral("LOG:LogPrivate")};
    DayMarks reminderMarks_{AccessREM->GetTable(), QStringLiteral("REM:ReminderDate"),
                            QStringLiteral("REM:Private")};

    std::array<MonthGrid*, Months> grids_{};
    std::array<int, Months> monthControls_{};
    std::array<int, Months> pressed_{-1, -1, -1};
    std::vector<std::pair<int, int*>> menuItems_; // a Date menu item and the button it presses
    int prevYear_ = 0, prevMonth_ = 0, goToToday_ = 0, pickDate_ = 0, nextMonth_ = 0, nextYear_ = 0,
        help_ = 0;
    int logTypes_ = 0, eventList_ = 0, reminderList_ = 0, noReminderAccess_ = 0;
    int copy_ = 0, insert_ = 0, change_ = 0, delete_ = 0, print_ = 0;
    int copyReminder_ = 0, insertReminder_ = 0, changeReminder_ = 0, deleteReminder_ = 0;

    // What the grids show follows from these and the marks alone.
    struct Shown
    {
        int leftMonth = 0;
        int selectedMonth = 0;
        int selectedDay = 0;
        int currentDay = 0;
        QRgb reminderColour = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown shown_;
    bool filled_ = false;

    int leftMonth_ = 0;  // the first of the three months shown
    int currentDay_ = 0; // framed; set by Today and Pick Date only
    QColor reminderColour_;
    bool started_ = false;
};

} // namespace

void DateView()
{
    RunProcedure<DateViewWindow>();
}

} // namespace jornix
