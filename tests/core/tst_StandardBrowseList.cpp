#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/DockedPane.h"
#include "core/SelectList.h"
#include "core/SharedState.h"
#include "core/StandardBrowseList.h"
#include "core/StandardList.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Table.h"

#include "core/WindowTest.h"
#include "platform/framework/WindowDriver.h"

#include <QDir>
#include <QImage>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::RemoveAll;

// Windows built on the list component as the journal and the organizer build theirs: a window with the log
// events and the reminders of one day, a docked pane with the due reminders and a list of tasks whose High
// priority stands out.
namespace {

constexpr qint32 Me = 501;
constexpr qint32 Another = 502;
const QDate TheDate(2026, 3, 14);
const qint32 TheDay = DayNumberFromDate(TheDate);

// The forms stand in for the real ones: each notes which form ran, with which request and on which record,
// and answers "cancelled".
struct FormRun
{
    QString form;
    int request = 0;
    QString description;
};
std::vector<FormRun> formRuns;

void StandInForm(const QString& form, FileManager& access, const QString& descriptionField)
{
    formRuns.push_back(
        {form, CurrentContext().GlobalRequestCode, access.Buffer().Value(descriptionField).toString()});
    CurrentContext().GlobalResponseCode = Response::Cancelled;
}

// A row of buttons named as given; a list's buttons show the images of the list windows.
void UseButtons(WindowDescription& window, const QStringList& names, std::map<QString, int>& numbers)
{
    const std::map<QString, QString> images{{"Copy", "WIZDITTO.gif"},          {"Insert", "WIZINS.gif"},
                                            {"Change", "WIZEDIT.gif"},         {"Delete", "WIZDEL.gif"},
                                            {"Print", "wizprint.gif"},         {"ViewLink", "viewlink.gif"},
                                            {"Dismiss", "dismissreminder.gif"}};
    window.Buttons([&] {
        for (const QString& name : names) {
            const QString text = QString(name).remove(QStringLiteral("Reminder"));
            const auto image = images.find(text);
            numbers[name] =
                window.Button(QLatin1Char('&') + text, image == images.end() ? QString() : image->second)
                    .Name(name);
        }
    });
}

// The log events and the reminders of one day, side by side in one window; the log-type tabs filter the
// events.
class DayLists : public StandardWindow
{
public:
    View logView{AccessLOG->GetTable()};
    View reminderView{AccessREM->GetTable()};
    StandardBrowseList events, reminders;
    std::map<QString, int> button;
    int changeTool, logTypes, eventList, reminderList, noAccess;

    DayLists() : StandardWindow(QStringLiteral("DayLists"), QStringLiteral("Date View"), WindowType::Child)
    {
        window.Toolbar([&] { changeTool = window.Tool("Change", "WIZEDIT.gif").Name("ChangeTool"); });
        toolbar.SetButton(changeTool, ToolbarAction::Change);
        window.Column([&] {
            window.Group(QStringLiteral("Log Events"), [&] {
                logTypes = window.Sheet([&] {
                    for (const char* tab : {"None (show all)", "Home", "Work", "Other"})
                        window.Tab(QString::fromLatin1(tab), [] {});
                });
                eventList = window
                                .List({{"", {}, Qt::AlignLeft},
                                       {"Log Description", {}, Qt::AlignLeft},
                                       {"Created By", {}, Qt::AlignLeft}})
                                .Name("Events")
                                .Stretch();
                UseButtons(window, {"Copy", "Insert", "Change", "Delete", "Print"}, button);
            });
            window.Group(QStringLiteral("Reminder Events"), [&] {
                reminderList =
                    window.List({{"Description", {}, Qt::AlignLeft}, {"Created By", {}, Qt::AlignLeft}})
                        .Name("Reminders")
                        .Stretch();
                noAccess = window.Prompt("No Access to View/Edit Reminders").Name("NoAccess").Hide();
                UseButtons(window, {"CopyReminder", "InsertReminder", "ChangeReminder", "DeleteReminder"},
                           button);
            });
        });
        CheckAccess(CurrentUserAccess[AccessArea::LogEvents], QStringLiteral("Log Events"));
        UseTable(*RelationsLOG);
        UseTable(*RelationsREM);
        NoHelp();

        events.SetList(eventList, logView, *RelationsLOG);
        events.SetAccessLevel(CurrentUserAccess[AccessArea::LogEvents]);
        events.SetButtons({.insert = button["Insert"],
                           .change = button["Change"],
                           .remove = button["Delete"],
                           .copy = button["Copy"],
                           .print = button["Print"],
                           .printForViewers = true});
        events.SetFilterTabs(logTypes, {"", "LOG:LogType = 1", "LOG:LogType = 2", "LOG:LogType = 3"});
        events.SetFilter(QStringLiteral("LOG:LogDate = %1").arg(TheDay));
        events.SetForm([] { StandInForm("log event form", *AccessLOG, "LOG:LogDescription"); });
        events.SetPrint([this](qint32 number) { printed.push_back(number); });
        AddList(events);

        reminders.SetList(reminderList, reminderView, *RelationsREM);
        reminders.SetAccessLevel(CurrentUserAccess[AccessArea::Reminders]);
        reminders.SetButtons({.insert = button["InsertReminder"],
                              .change = button["ChangeReminder"],
                              .remove = button["DeleteReminder"],
                              .copy = button["CopyReminder"]});
        reminders.SetFilter(QStringLiteral("REM:ReminderDate = %1").arg(TheDay));
        reminders.SetForm([] { StandInForm("reminder form", *AccessREM, "REM:Description"); });
        AddList(reminders);
    }

    std::vector<qint32> printed;

protected:
    void SetUpWindow() override
    {
        if (reminders.AccessLevel() == 0)
            window.Show(noAccess);
        window.Root()->resize(600, 560);
    }
    void SetUpListOrders() override
    {
        events.AddOrder(logView.ViewTable().KeyIndex("LOG:LogDateRankDescriptionK"));
        events.SetPrivateFields(QStringLiteral("LOG:LogPrivate"), QStringLiteral("LOG:LogUniqueID"));
        events.SetIcons({QStringLiteral("~private.bmp")});
        events.MapIcon(QStringLiteral("LOG:LogPrivate"), 0);
        events.MapField(QStringLiteral("LOG:LogDescription"), 1);
        events.MapField(QStringLiteral("LOG:LogCreateLoginID"), 2);
        reminders.AddOrder(reminderView.ViewTable().KeyIndex("REM:ReminderDateK"));
        reminders.SetPrivateFields(QStringLiteral("REM:Private"), QStringLiteral("REM:UniqueID"));
        reminders.MapField(QStringLiteral("REM:Description"), 0);
        reminders.MapField(QStringLiteral("REM:CreateLoginID"), 1);
    }
};

// The reminders that are due, in a pane docked at the frame's side.
class DuePane : public DockedPane
{
public:
    View view{AccessREM->GetTable()};
    StandardBrowseList due;
    std::map<QString, int> button;
    int list;

    DuePane()
        : DockedPane(QStringLiteral("DuePane"), QStringLiteral("Overdue Reminders"),
                     QStringLiteral("Close the overdue reminders?"))
    {
        list = window.List({{"Date", {}, Qt::AlignLeft}, {"Description", {}, Qt::AlignLeft}})
                   .Name("Due")
                   .Stretch();
        UseButtons(window, {"Insert", "Change", "Delete", "ViewLink", "Dismiss", "Copy"}, button);
        CheckAccess(CurrentUserAccess[AccessArea::Reminders], QStringLiteral("Reminders"));
        UseTable(*RelationsREM);
        NoHelp();
        due.SetList(list, view, *RelationsREM);
        due.SetAccessLevel(CurrentUserAccess[AccessArea::Reminders]);
        due.SetButtons({.insert = button["Insert"],
                        .change = button["Change"],
                        .remove = button["Delete"],
                        .copy = button["Copy"],
                        .needRows = {button["ViewLink"], button["Dismiss"]},
                        .needFull = {button["Dismiss"]}});
        due.SetFilter(
            QStringLiteral("REM:ShowReminder = 1 AND REM:Dismiss = 0 AND REM:ReminderDate <= TODAY()"));
        due.SetForm([] { StandInForm("reminder form", *AccessREM, "REM:Description"); });
        AddList(due);
    }

protected:
    void SetUpListOrders() override
    {
        due.AddOrder(-1);
        due.SetPrivateFields(QStringLiteral("REM:Private"), QStringLiteral("REM:UniqueID"));
        due.MapField(QStringLiteral("REM:ReminderDate"), 0, QStringLiteral("@D17B"));
        due.MapField(QStringLiteral("REM:Description"), 1);
    }
};

// Chooses a task for its caller.
class SelectTask : public SelectList
{
public:
    View view{AccessTSK->GetTable()};
    StandardBrowseList brw;
    int list, selectButton, cancelButton;

    SelectTask() : SelectList(QStringLiteral("SelectTask"), QStringLiteral("Select Task"))
    {
        list = window.List({{"Description", {}, Qt::AlignLeft}}).Name("Tasks");
        window.Buttons([&] {
            selectButton = window.Button("&Select", "OKButton.gif").Name("Select");
            cancelButton = window.Button("Cancel", "CancelButton.gif").Name("Cancel");
        });
        SetArea(CurrentUserAccess[AccessArea::Tasks], QStringLiteral("Tasks"));
        UseTable(*RelationsTSK);
        NoHelp();
        SetList(brw, view, *RelationsTSK, list);
        SetSelectButtons(selectButton, cancelButton);
    }

protected:
    void SetUpListOrders() override
    {
        brw.AddOrder(view.ViewTable().KeyIndex("TSK:DescriptionK"));
        brw.MapField(QStringLiteral("TSK:Description"), 0);
    }
};

// Tasks with their priority in colour: a High task's priority is white on red, an open task's row is bold.
class TaskList : public StandardList
{
public:
    class Rows : public StandardBrowseList
    {
    public:
        void FillRow(ListRow& row) override
        {
            StandardBrowseList::FillRow(row);
            const int priority = row.record.Value("TSK:Priority").toInt();
            row.texts[1] = priority == 1 ? "High" : priority == 2 ? "Medium" : "Low";
            if (priority == 1)
                row.style.SetColours(1, QColorFromColour(16777215), QColorFromColour(255));
            row.style.SetBold(row.record.Value("TSK:Completed").toInt() == 0);
        }
    };
    View view{AccessTSK->GetTable()};
    Rows brw;
    int list;

    TaskList() : StandardList(QStringLiteral("TaskList"), QStringLiteral("Tasks"))
    {
        list =
            window.List({{"Description", {}, Qt::AlignLeft}, {"Priority", {}, Qt::AlignLeft}}).Name("Tasks");
        SetArea(CurrentUserAccess[AccessArea::Tasks], QStringLiteral("Tasks"));
        UseTable(*RelationsTSK);
        NoHelp();
        SetList(brw, view, *RelationsTSK, list);
    }

protected:
    void SetUpListOrders() override
    {
        brw.AddOrder(view.ViewTable().KeyIndex("TSK:DescriptionK"));
        brw.MapField(QStringLiteral("TSK:Description"), 0);
        brw.MapField(QStringLiteral("TSK:Priority"), 1);
    }
};

// Writes records straight into a table: each is a list of field names and values.
void AddRecords(FileManager& access, const std::vector<std::vector<std::pair<QString, QVariant>>>& records)
{
    for (const auto& fields : records) {
        access.GetTable().ClearBuffer();
        access.SetFieldDefaults();
        for (const auto& [name, value] : fields)
            access.Buffer().SetValue(name, value);
        QCOMPARE(access.Insert(), 0);
    }
}

void AddEvent(const QString& description, int type, qint32 day = TheDay, int privateFlag = 0,
              qint32 creator = Me)
{
    AddRecords(*AccessLOG, {{{"LOG:LogDescription", description},
                             {"LOG:LogType", type},
                             {"LOG:LogDate", day},
                             {"LOG:LogPrivate", privateFlag},
                             {"LOG:LogUniqueID", creator},
                             {"LOG:LogCreateLoginID", creator == Me ? "me" : "other"}}});
}

void AddReminder(const QString& description, qint32 day = TheDay, int show = 1, int dismiss = 0)
{
    AddRecords(*AccessREM, {{{"REM:Description", description},
                             {"REM:ReminderDate", day},
                             {"REM:ShowReminder", show},
                             {"REM:Dismiss", dismiss},
                             {"REM:UniqueID", Me},
                             {"REM:CreateLoginID", "me"}}});
}

// A button as the user sees it: its text, and whether it can be pressed ("on"), is greyed ("off") or is not
// there at all ("hidden").
QString State(WindowController& window, int button)
{
    const QString text = window.window.Label(button).remove(QLatin1Char('&'));
    if (window.window.IsHidden(button))
        return text + QStringLiteral(":hidden");
    return text + (window.window.IsEnabled(button) ? QStringLiteral(":on") : QStringLiteral(":off"));
}

QStringList States(WindowController& window, const std::map<QString, int>& buttons, const QStringList& names)
{
    QStringList states;
    for (const QString& name : names)
        states << State(window, buttons.at(name));
    return states;
}

QString PopupItems(const StandardBrowseList& list)
{
    QStringList items;
    for (const PopupMenu::Item& item : const_cast<StandardBrowseList&>(list).Popup().Items())
        items << item.text;
    return items.join(QLatin1Char(' '));
}

QStringList Texts(const BrowseList& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.RowCount(); ++row)
        texts << list.Row(row)->texts.value(column);
    return texts;
}

// With JORNIX_PICTURES set, the window's picture goes to that folder, to be looked at.
void SavePicture(QWidget* window, const QString& name)
{
    const QString pictures = qEnvironmentVariable("JORNIX_PICTURES");
    if (!pictures.isEmpty())
        QVERIFY(window->grab().save(QDir(pictures).filePath(name + QStringLiteral(".png"))));
}

DayLists* OpenDayLists()
{
    return static_cast<DayLists*>(FindWindow(QStringLiteral("DayLists")));
}
DuePane* OpenPane()
{
    return static_cast<DuePane*>(FindWindow(QStringLiteral("DuePane")));
}
TaskList* OpenTasks()
{
    return static_cast<TaskList*>(FindWindow(QStringLiteral("TaskList")));
}

const QStringList EventButtons{"Copy", "Insert", "Change", "Delete", "Print"};
const QStringList ReminderButtons{"CopyReminder", "InsertReminder", "ChangeReminder", "DeleteReminder"};
const QStringList PaneButtons{"Insert", "Change", "Delete", "ViewLink", "Dismiss", "Copy"};

} // namespace

class StandardBrowseListTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        // The test's own hold on the tables, to write records.
        QVERIFY(folder->Hold({RelationsLOG, RelationsREM, RelationsTSK}));
        SetFixedClock(QDateTime(TheDate, QTime(9, 30)));
        WindowDescription::SetImageFolder(QStringLiteral(":/icons"));
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        test::SignInWithFullAccess(Me);
        formRuns.clear();
        RemoveAll(*AccessLOG);
        RemoveAll(*AccessREM);
        RemoveAll(*AccessTSK);
    }
    void cleanup() { test::CloseInOrder({"DayLists", "DuePane", "TaskList", "SelectTask"}); }

    void eachListsButtonsFollowItsRowsAndItsAreasAccess_data()
    {
        QTest::addColumn<int>("eventLevel");
        QTest::addColumn<int>("reminderLevel");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<QStringList>("eventButtons");
        QTest::addColumn<QStringList>("reminderButtons");
        QTest::addColumn<QStringList>("popups");
        QTest::addColumn<bool>("remindersShown");
        const QStringList allEvents{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"};
        const QStringList allReminders{"Copy:on", "Insert:on", "Change:on", "Delete:on"};
        QTest::newRow("full access to both")
            << 2 << 2 << true << allEvents << allReminders << QStringList{"Copy Print", "Copy"} << true;
        QTest::newRow("an empty day")
            << 2 << 2 << false
            << QStringList{"Copy:off", "Insert:on", "Change:off", "Delete:off", "Print:off"}
            << QStringList{"Copy:off", "Insert:on", "Change:off", "Delete:off"}
            << QStringList{"Copy Print", "Copy"} << true;
        QTest::newRow("log events view only")
            << 1 << 2 << true << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off", "Print:on"}
            << allReminders << QStringList{"Print", "Copy"} << true;
        QTest::newRow("reminders view only")
            << 2 << 1 << true << allEvents << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off"}
            << QStringList{"Copy Print", ""} << true;
        QTest::newRow("no access to reminders")
            << 2 << 0 << true << allEvents
            << QStringList{"Copy:hidden", "Insert:hidden", "Change:hidden", "Delete:hidden"}
            << QStringList{"Copy Print", ""} << false;
    }
    void eachListsButtonsFollowItsRowsAndItsAreasAccess()
    {
        QFETCH(int, eventLevel);
        QFETCH(int, reminderLevel);
        QFETCH(bool, rows);
        QFETCH(QStringList, eventButtons);
        QFETCH(QStringList, reminderButtons);
        QFETCH(QStringList, popups);
        QFETCH(bool, remindersShown);
        CurrentUserAccess[AccessArea::LogEvents] = quint8(eventLevel);
        CurrentUserAccess[AccessArea::Reminders] = quint8(reminderLevel);
        if (rows) {
            AddEvent("Dentist", 1);
            AddReminder("Call back");
        }
        Start([] { RunProcedure<DayLists>(); });
        DayLists* window = OpenDayLists();
        QVERIFY(window);
        QCOMPARE(States(*window, window->button, EventButtons), eventButtons);
        QCOMPARE(States(*window, window->button, ReminderButtons), reminderButtons);
        QCOMPARE((QStringList{PopupItems(window->events), PopupItems(window->reminders)}), popups);
        QCOMPARE(window->window.IsHidden(window->reminderList), !remindersShown);
        QCOMPARE(window->window.IsHidden(window->noAccess), remindersShown);
        // A button the user cannot see does nothing, even when its press arrives.
        Press(*window, window->button["InsertReminder"]);
        QCOMPARE(formRuns.size(), size_t(remindersShown && reminderLevel == 2 ? 1 : 0));
    }

    void thePanesButtonsFollowItsRowsAndAccess_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("due");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("popup");
        QTest::newRow("full access") << 2 << true << QStringList{"Insert:on",   "Change:on",  "Delete:on",
                                                                 "ViewLink:on", "Dismiss:on", "Copy:on"}
                                     << "Copy";
        QTest::newRow("nothing due") << 2 << false << QStringList{"Insert:on",    "Change:off",  "Delete:off",
                                                                  "ViewLink:off", "Dismiss:off", "Copy:off"}
                                     << "Copy";
        QTest::newRow("view only") << 1 << true << QStringList{"Insert:off",  "View:on",     "Delete:off",
                                                               "ViewLink:on", "Dismiss:off", "Copy:off"}
                                   << "";
    }
    void thePanesButtonsFollowItsRowsAndAccess()
    {
        QFETCH(int, level);
        QFETCH(bool, due);
        QFETCH(QStringList, buttons);
        QFETCH(QString, popup);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        AddReminder("Tomorrow", TheDay + 1);
        AddReminder("Dismissed", TheDay, 1, 1);
        AddReminder("Not shown", TheDay, 0);
        if (due) {
            AddReminder("No date", 0);
            AddReminder("Yesterday", TheDay - 1);
        }
        Start([] { RunProcedure<DuePane>(); });
        DuePane* pane = OpenPane();
        QVERIFY(pane);
        QCOMPARE(Texts(pane->due, 1), due ? (QStringList{"No date", "Yesterday"}) : QStringList{});
        QCOMPARE(States(*pane, pane->button, PaneButtons), buttons);
        QCOMPARE(PopupItems(pane->due), popup);
        SavePicture(folder->frame.frame.Root(), QStringLiteral("DuePane ") + QTest::currentDataTag());
    }

    // Each list asks its own form, on the record highlighted in that list.
    void eachListRunsItsOwnFormOnItsOwnRecord_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("form");
        QTest::addColumn<int>("request");
        QTest::addColumn<QString>("record");
        QTest::newRow("event insert") << "DayLists"
                                      << "Insert"
                                      << "log event form" << 1 << "";
        QTest::newRow("event change") << "DayLists"
                                      << "Change"
                                      << "log event form" << 2 << "Lunch";
        QTest::newRow("event delete") << "DayLists"
                                      << "Delete"
                                      << "log event form" << 3 << "Lunch";
        QTest::newRow("event copy") << "DayLists"
                                    << "Copy"
                                    << "log event form" << 1 << "Lunch";
        QTest::newRow("reminder insert") << "DayLists"
                                         << "InsertReminder"
                                         << "reminder form" << 1 << "";
        QTest::newRow("reminder change") << "DayLists"
                                         << "ChangeReminder"
                                         << "reminder form" << 2 << "Pay rent";
        QTest::newRow("reminder copy") << "DayLists"
                                       << "CopyReminder"
                                       << "reminder form" << 1 << "Pay rent";
        QTest::newRow("pane change") << "DuePane"
                                     << "Change"
                                     << "reminder form" << 2 << "Pay rent";
        QTest::newRow("pane copy") << "DuePane"
                                   << "Copy"
                                   << "reminder form" << 1 << "Pay rent";
    }
    void eachListRunsItsOwnFormOnItsOwnRecord()
    {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, form);
        QFETCH(int, request);
        QFETCH(QString, record);
        AddEvent("Breakfast", 0);
        AddEvent("Lunch", 0);
        AddReminder("Call back");
        AddReminder("Pay rent");
        if (window == "DayLists")
            Start([] { RunProcedure<DayLists>(); });
        else
            Start([] { RunProcedure<DuePane>(); });
        WindowController* open = FindWindow(window);
        QVERIFY(open);
        for (const char* list : {"Events", "Reminders", "Due"})
            if (const int control = open->window.ControlNumber(QString::fromLatin1(list)))
                PickRow(*open, control, 1);
        Press(*open, button);
        QCOMPARE(formRuns.size(), size_t(1));
        QCOMPARE(formRuns[0].form, form);
        QCOMPARE(formRuns[0].request, request);
        QCOMPARE(formRuns[0].description, record);
    }

    // A window opened to view only gives its lists no update buttons and runs no form.
    void aWindowOpenedToViewOnlyRunsNoForm_data()
    {
        QTest::addColumn<QString>("button");
        for (const char* button : {"Insert", "Change", "Delete", "Copy", "InsertReminder", "ChangeReminder"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }
    void aWindowOpenedToViewOnlyRunsNoForm()
    {
        QFETCH(QString, button);
        AddEvent("Breakfast", 0);
        AddReminder("Call back");
        Start([] {
            CurrentContext().GlobalRequestCode = Request::ViewOnly;
            RunProcedure<DayLists>();
        });
        DayLists* window = OpenDayLists();
        QVERIFY(window);
        Press(*window, button);
        QVERIFY(formRuns.empty());
        QCOMPARE(window->events.RowCount(), 1);
    }

    // Select, or a row's double click, answers with the highlighted task; a list without rows has nothing to
    // choose, also for a user who may only view tasks.
    void aSelectListChoosesOnlyARowItHas_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<bool>("byDoubleClick");
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("Select") << 2 << true << false << "Select:on"
                                << "Deploy";
        QTest::newRow("double click") << 2 << true << true << "Select:on"
                                      << "Deploy";
        QTest::newRow("view only") << 1 << true << false << "Select:on"
                                   << "Deploy";
        QTest::newRow("no rows") << 2 << false << false << "Select:off"
                                 << "";
        QTest::newRow("no rows, double click") << 2 << false << true << "Select:off"
                                               << "";
    }
    void aSelectListChoosesOnlyARowItHas()
    {
        QFETCH(int, level);
        QFETCH(bool, rows);
        QFETCH(bool, byDoubleClick);
        QFETCH(QString, select);
        QFETCH(QString, chosen);
        CurrentUserAccess[AccessArea::Tasks] = quint8(level);
        if (rows)
            AddRecords(*AccessTSK, {{{"TSK:Description", "Backup"}}, {{"TSK:Description", "Deploy"}}});
        int response = 0;
        QString inBuffer;
        Start([&] {
            RelationsTSK->Open();
            AccessTSK->GetTable().ClearBuffer();
            CurrentContext().GlobalRequestCode = Request::Select;
            response = RunProcedure<SelectTask>();
            inBuffer = AccessTSK->Buffer().Value("TSK:Description").toString();
            RelationsTSK->Close();
        });
        auto* window = static_cast<SelectTask*>(FindWindow(QStringLiteral("SelectTask")));
        QVERIFY(window);
        QCOMPARE(State(*window, window->selectButton), select);
        if (rows)
            PickRow(*window, window->list, 1);
        Press(*window, byDoubleClick ? window->list : window->selectButton);
        QCOMPARE(bool(FindWindow(QStringLiteral("SelectTask"))), !rows);
        if (!rows) {
            Press(*window, window->cancelButton);
            QVERIFY(!FindWindow(QStringLiteral("SelectTask")));
        }
        QCOMPARE(response, int(rows ? Response::Completed : Response::Cancelled));
        QCOMPARE(inBuffer, chosen);
    }

    void theToolbarActsOnTheListThatHasTheFocus()
    {
        AddEvent("Breakfast", 0);
        AddReminder("Call back");
        Start([] { RunProcedure<DayLists>(); });
        DayLists* window = OpenDayLists();
        const auto changeFromToolbarIn = [&](int list) {
            formRuns.clear();
            if (list)
                window->window.Widget(list)->setFocus();
            Press(*window, window->changeTool);
            return formRuns.size() == 1 ? formRuns[0].form : QString();
        };
        QCOMPARE(changeFromToolbarIn(0), QStringLiteral("log event form")); // the first list
        QCOMPARE(changeFromToolbarIn(window->reminderList), QStringLiteral("reminder form"));
        QCOMPARE(changeFromToolbarIn(window->eventList), QStringLiteral("log event form"));
    }

    void printHandsOverTheHighlightedEvent()
    {
        AddEvent("Breakfast", 0);
        AddEvent("Lunch", 0);
        AddReminder("Call back");
        Start([] { RunProcedure<DayLists>(); });
        DayLists* window = OpenDayLists();
        PickRow(*window, window->eventList, 1);
        PickRow(*window, window->reminderList, 0); // the other list's highlight does not matter
        Press(*window, window->button["Print"]);
        QCOMPARE(window->printed.size(), size_t(1));
        QCOMPARE(window->printed[0], window->events.Row(1)->record.Value("LOG:LogNum").toInt());
    }

    void theLogTypeTabsFilterTheEventsOfTheDay_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("None (show all)") << 1 << QStringList{"Errand", "Garden", "Meeting", "Travel"};
        QTest::newRow("Home") << 2 << QStringList{"Garden"};
        QTest::newRow("Work") << 3 << QStringList{"Meeting"};
        QTest::newRow("Other") << 4 << QStringList{"Travel"};
    }
    void theLogTypeTabsFilterTheEventsOfTheDay()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, events);
        AddEvent("Errand", 0);
        AddEvent("Garden", 1);
        AddEvent("Meeting", 2);
        AddEvent("Travel", 3);
        AddEvent("Work of another day", 2, TheDay + 1);
        AddEvent("Private of another user", 2, TheDay, 1, Another);
        AddReminder("Call back");
        Start([] { RunProcedure<DayLists>(); });
        DayLists* window = OpenDayLists();
        // From another tab, so that the tab asked for is a change.
        PickTab(*window, window->logTypes, tab == 1 ? 2 : 1);
        PickTab(*window, window->logTypes, tab);
        QCOMPARE(Texts(window->events, 1), events);
        QCOMPARE(Texts(window->reminders, 0), QStringList{"Call back"});
        // The tab's filter joins the list's own, and a refresh keeps both.
        AddEvent("Late " + events.first(), tab == 1 ? 0 : tab - 1);
        PostEvent(RefreshEvent, 0, window->Thread());
        WaitIdle();
        QCOMPARE(Texts(window->events, 1).size(), events.size() + 1);
    }

    void aCellKeepsItsColoursInTheSelectedRow()
    {
        AddRecords(*AccessTSK, {{{"TSK:Description", "Backup"}, {"TSK:Priority", 1}, {"TSK:Completed", 1}},
                                {{"TSK:Description", "Clean up"}, {"TSK:Priority", 2}},
                                {{"TSK:Description", "Deploy"}, {"TSK:Priority", 1}}});
        Start([] { RunProcedure<TaskList>(); });
        TaskList* tasks = OpenTasks();
        QVERIFY(tasks);
        auto* tree = qobject_cast<QTreeView*>(tasks->window.Widget(tasks->list));
        tasks->window.Root()->resize(500, 300);
        PickRow(*tasks, tasks->list, 0);
        QAbstractItemModel* model = tree->model();
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("High"));
        QVERIFY(!model->data(model->index(0, 1), Qt::FontRole).value<QFont>().bold()); // completed
        QVERIFY(model->data(model->index(1, 0), Qt::FontRole).value<QFont>().bold());

        // Where no text is drawn: the right end of each cell; without the focus frame over the current row.
        tree->clearFocus();
        SavePicture(tasks->window.Root(), QStringLiteral("TaskList"));
        const QImage picture = tree->viewport()->grab().toImage();
        const auto colourAt = [&](int row, int column) {
            const QRect cell = tree->visualRect(model->index(row, column));
            return picture.pixelColor(cell.right() - 3, cell.center().y());
        };
        const QColor red(255, 0, 0);
        const QColor highlight = tree->palette().color(QPalette::Active, QPalette::Highlight);
        const QColor inactiveHighlight = tree->palette().color(QPalette::Inactive, QPalette::Highlight);
        QCOMPARE(colourAt(0, 1), red);                                               // High, selected
        QCOMPARE(colourAt(2, 1), red);                                               // High
        QVERIFY(colourAt(0, 0) == highlight || colourAt(0, 0) == inactiveHighlight); // the selected row
        QVERIFY(colourAt(1, 1) != red && colourAt(1, 1) != highlight); // Medium: the list's colours
        QCOMPARE(model->data(model->index(0, 1), ListRole::SelectedText).value<QBrush>().color(),
                 QColor(Qt::white));
    }

    // The picture of a window with two lists: nothing clipped, every control inside the window.
    void theDayListsWindowShowsAllItsControls()
    {
        AddEvent("Blood test", 1, TheDay, 1); // private to the signed-in user
        AddEvent("Dentist", 1);
        AddEvent("Team meeting", 2);
        AddReminder("Call back");
        Start([] { RunProcedure<DayLists>(); });
        DayLists* window = OpenDayLists();
        QWidget* root = window->window.Root();
        WaitIdle();
        for (const int control : window->window.Controls()) {
            QWidget* widget = window->window.Widget(control);
            if (!widget || !widget->isVisibleTo(root) || control <= 0)
                continue;
            const QRect inRoot(widget->mapTo(root, QPoint(0, 0)), widget->size());
            QVERIFY2(root->rect().contains(inRoot), qPrintable(widget->objectName()));
            QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(widget->objectName()));
        }
        // The log-type tabs hold no controls: only their tab bar shows, right above the list.
        auto* tabs = qobject_cast<QTabWidget*>(window->window.Widget(window->logTypes));
        QCOMPARE(tabs->height(), tabs->tabBar()->sizeHint().height());
        SavePicture(root, QStringLiteral("DayLists"));
    }
};

QTEST_MAIN(StandardBrowseListTest)
#include "tst_StandardBrowseList.moc"
