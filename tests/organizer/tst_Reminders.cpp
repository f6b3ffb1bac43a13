#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "journal/MonthGrid.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "core/DataFolder.h"
#include "journal/MiscDefinitions.h"
#include "organizer/OrganizerTest.h"
#include "platform/framework/WindowDriver.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;
using namespace jornix::test; // the shared pieces of the organizer tests

// The reminders as the user meets them: the list "Reminders", the reminder form with its link, and the pane
// "Overdue Reminders".
namespace {

struct Reminder
{
    QString description;
    qint32 date = TodayNumber;
    int show = 1;
    int dismiss = 0;
    int linkType = 0;
    qint32 linkNumber = 0;
    int privateFlag = 0;
    qint32 creator = Me;
};

// Writes reminders straight into the table, telling no window; their numbers.
std::vector<qint32> Add(const std::vector<Reminder>& reminders)
{
    std::vector<test::Fields> records;
    for (const Reminder& r : reminders)
        records.push_back({{"REM:Description", r.description},
                           {"REM:ReminderDate", r.date},
                           {"REM:ShowReminder", r.show},
                           {"REM:Dismiss", r.dismiss},
                           {"REM:LinkType", r.linkType},
                           {"REM:LinkNum", r.linkNumber},
                           {"REM:Private", r.privateFlag},
                           {"REM:UniqueID", r.creator},
                           {"REM:CreateLoginID", r.creator == Me ? "me" : "other"}});
    std::vector<qint32> numbers;
    test::InsertNumbered(AccessREM->GetTable(), records, &numbers);
    return numbers;
}

// A task, straight into its table; its number.
qint32 AddTask(const QString& description, int privateFlag = 0, qint32 creator = Me)
{
    Table& table = AccessTSK->GetTable();
    qint32 number = 0;
    table.TakeNextNumber(number);
    table.ClearBuffer();
    table.Buffer().SetValue("TSK:Num", number);
    table.Buffer().SetValue("TSK:Description", description);
    table.Buffer().SetValue("TSK:Private", privateFlag);
    table.Buffer().SetValue("TSK:UniqueID", creator);
    return table.Insert() ? number : 0;
}

// Reads a record by its number on the test's own thread; false when there is none.
bool Read(FileManager& access, const QString& numberField, const QString& key, qint32 number)
{
    access.GetTable().ClearBuffer();
    access.Buffer().SetValue(numberField, number);
    return access.FetchQuiet(access.GetTable().KeyIndex(key)) == 0;
}
bool ReadReminder(qint32 number)
{
    return Read(*AccessREM, "REM:Num", "REM:NumK", number);
}
QVariant Stored(qint32 number, const char* field)
{
    return ReadReminder(number) ? AccessREM->Buffer().Value(QString::fromLatin1(field)) : QVariant();
}

// "icon" for each row that shows an icon in the column, "-" for one that shows none.
QStringList Icons(WindowController& window, int column)
{
    QStringList icons;
    const QAbstractItemModel* model = window.window.ListModel(ControlNumber(window, "List"));
    for (int row = 0; row < model->rowCount(); ++row)
        icons << (model->data(model->index(row, column), Qt::DecorationRole).isNull() ? "-" : "icon");
    return icons;
}

// The enabled state of buttons by use-name: "on" or "off" each, joined by blanks.
QString States(WindowController& window, const QStringList& names)
{
    QStringList states;
    for (const QString& name : names)
        states << (window.window.IsEnabled(ControlNumber(window, name)) ? "on" : "off");
    return states.join(' ');
}

QRadioButton* LinkRadio(WindowController& form, const QString& text)
{
    for (QRadioButton* radio :
         form.window.Widget(ControlNumber(form, "LinkType"))->findChildren<QRadioButton*>())
        if (radio->text() == text)
            return radio;
    return nullptr;
}
// What an entry or text box of a window shows.
QString Shown(WindowController& window, int control)
{
    QWidget* widget = window.window.Widget(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget))
        return box->toPlainText();
    return QStringLiteral("(no text)");
}

// The form's control bound to a field of the reminder ("Notes": the box, not the group of that name).
int ControlOf(WindowController& form, const QString& field)
{
    for (const int control : form.window.Controls())
        if (form.window.BoundField(control).compare("REM:" + field, Qt::CaseInsensitive) == 0)
            return control;
    return 0;
}

// Another window saves a field of a reminder, on the test's own thread.
void SaveElsewhere(qint32 number, const QString& field, const QVariant& value)
{
    QVERIFY(ReadReminder(number));
    AccessREM->Buffer().SetValue(field, value);
    QVERIFY(AccessREM->GetTable().Update());
}

// Another copy of the program saves a field of a reminder through its own connection to the file.
void SaveInAnotherCopy(qint32 number, const QString& column, const QString& value)
{
    const Table& table = AccessREM->GetTable();
    sqlite3* db = nullptr;
    QVERIFY(RecordFile::OpenConnection(table.FilePath(), table.FileAttributes() & FileAttribute::Encrypt,
                                       SQLITE_OPEN_READWRITE, db));
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE Num = ?")
                               .arg(table.TableSql(), Table::QuotedName(column))
                               .toUtf8();
    QCOMPARE(sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr), SQLITE_OK);
    const QByteArray text = value.toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 2, number);
    QCOMPARE(sqlite3_step(statement), SQLITE_DONE);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

const QString RecordChangedText = "This record was changed by another station. Those changes will now be "
                                  "displayed. Use the Ditto Button or Ctrl+' to recall your changes.";

const QStringList LinkTexts{"No Link", "Log Event", "Contact", "Task"};
int CheckedLinkType(WindowController& form)
{
    for (int type = 0; type < LinkTexts.size(); ++type)
        if (LinkRadio(form, LinkTexts[type])->isChecked())
            return type;
    return -1;
}

// What the stand-ins of the select lists and of the linked records' forms were asked.
struct Asked
{
    QString procedure;
    int request = 0;
    qint32 number = 0;
};
std::vector<Asked> asked;
qint32 chosen = 0; // the record a select list answers with; 0: the user cancels

const QString LinkMissingText = "The object that was linked is no longer available. It may have been deleted "
                                "or there is a problem with the database. Please setup the link again.";

} // namespace

class RemindersTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

    // The reminder form on the first reminder of the list, by Change.
    WindowController* OpenForm(const QString& button = "Change")
    {
        WindowController* list = Open("Reminder");
        if (!list)
            return nullptr;
        PickRow(*list, ControlNumber(*list, "List"), 0);
        Press(*list, button);
        return FindWindow("UpdateReminder");
    }

    // The select lists and the linked records' forms, in place of the real ones.
    static void RegisterStandIns()
    {
        const auto select = [](const QString& procedure, const QString& numberField, FileManager* access) {
            RegisterProcedure(procedure, [=] {
                ThreadContext& thread = CurrentContext();
                asked.push_back({procedure, thread.GlobalRequestCode, chosen});
                if (chosen)
                    access->Buffer().SetValue(numberField, chosen);
                thread.GlobalResponseCode = chosen ? Response::Completed : Response::Cancelled;
            });
        };
        select("SelectLogEvent", "LOG:LogNum", AccessLOG);
        select("SelectContact", "CON:Num", AccessCON);
        select("SelectTask", "TSK:Num", AccessTSK);
        const auto form = [](const QString& procedure, const QString& numberField, FileManager* access) {
            RegisterProcedure(procedure, [=] {
                ThreadContext& thread = CurrentContext();
                asked.push_back(
                    {procedure, thread.GlobalRequestCode, access->Buffer().Value(numberField).toInt()});
                thread.GlobalResponseCode = Response::Cancelled;
            });
        };
        form("UpdateLogTX", "LOG:LogNum", AccessLOG);
        form("UpdateContact", "CON:Num", AccessCON);
        form("UpdateTask", "TSK:Num", AccessTSK);
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        // The test's own hold, to write records.
        QVERIFY(folder->Hold({RelationsREM, RelationsTSK, RelationsCON, RelationsLOG}));
        test::StartOrganizerTest(true); // with Date View; the event editor gives way to a stand-in in init()
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        SetFixedClock(QDateTime(TheDate, QTime(9, 30)));
        RegisterStandIns();
        test::StartOrganizerCase();
        SelectedDate = 0;
        asked.clear();
        chosen = 0;
        RemoveAll(*AccessREM);
        RemoveAll(*AccessTSK);
    }
    void cleanup()
    {
        test::CloseInOrder(
            {"UpdateTask", "SelectTask", "UpdateReminder", "Reminder", "OverdueReminders", "DateView"});
    }

    void aUserWithoutAccessGetsAccessDeniedAndNoWindow_data()
    {
        QTest::addColumn<QString>("procedure");
        for (const char* procedure : {"Reminder", "UpdateReminder", "OverdueReminders"})
            QTest::newRow(procedure) << procedure;
    }
    void aUserWithoutAccessGetsAccessDeniedAndNoWindow()
    {
        QFETCH(QString, procedure);
        CurrentUserAccess[AccessArea::Reminders] = 0;
        test::MessageRecorder boxes;
        Start([procedure] { CallProcedure(procedure); });
        QCOMPARE(boxes.Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("You are not allowed to view or edit Reminders. Please "
                                                     "contact your system administrator to request access."));
        QVERIFY(WindowController::OpenWindows().empty());
    }

    // Order 1 by date and then description, no date first; order 2 by description. A link code without
    // words shows a blank; the other users' private reminders are not listed.
    void theListShowsTheRemindersInTheOrderOfItsTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("descriptions");
        QTest::newRow("by Reminder Date") << 1 << QStringList{"Undated", "Bank", "Call Ann", "Later"};
        QTest::newRow("by Description") << 2 << QStringList{"Bank", "Call Ann", "Later", "Undated"};
    }
    void theListShowsTheRemindersInTheOrderOfItsTab()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, descriptions);
        Add({{"Later", TodayNumber + 5, 0, 0, 3, 1},
             {"Call Ann", TodayNumber, 1, 0, 2, 4, 1},
             {"Bank", TodayNumber, 1, 0, 7, 0},
             {"Undated", 0, 0, 0, 1, 2},
             {"Theirs", TodayNumber, 1, 0, 0, 0, 1, Another}});
        WindowController* list = Open("Reminder");
        QVERIFY(list);
        PickTab(*list, ControlNumber(*list, "Sheet"), tab);
        QCOMPARE(Column(*list, 3), descriptions);
        const QMap<QString, QString> types{
            {"Later", "Task"}, {"Call Ann", "Contact"}, {"Bank", ""}, {"Undated", "Log Event"}};
        const QStringList shownTypes = Column(*list, 4);
        const QStringList reminderIcons = Icons(*list, 0);
        const QStringList privateIcons = Icons(*list, 1);
        for (int row = 0; row < descriptions.size(); ++row) {
            const QString& description = descriptions[row];
            QCOMPARE(shownTypes[row], types[description]);
            const bool shown = description == "Call Ann" || description == "Bank";
            QCOMPARE(reminderIcons[row], QString(shown ? "icon" : "-"));
            QCOMPARE(privateIcons[row], QString(description == "Call Ann" ? "icon" : "-"));
        }
        QCOMPARE(Column(*list, 2)[descriptions.indexOf("Undated")], QString());
        PickRow(*list, ControlNumber(*list, "List"), 0);
        Press(*list, "Print");
        QCOMPARE(printed.size(), std::size_t(1));
        QCOMPARE(printed[0].area, 4);
        if (tab == 1)
            CheckPicture(*list, "Reminders");
    }

    // After Date View picked a day, a new reminder falls on it; while Date View never opened, on today.
    // Show and Dismiss start unticked, and there is no link.
    void aNewReminderFallsOnTheSelectedDay_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("date");
        QTest::newRow("Date View picked a day") << TodayNumber + 40 << TodayNumber + 40;
        QTest::newRow("Date View never opened") << 0 << TodayNumber;
    }
    void aNewReminderFallsOnTheSelectedDay()
    {
        QFETCH(int, selected);
        QFETCH(int, date);
        SelectedDate = selected;
        WindowController* form = OpenForm("Insert");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Added  (New)"));
        QCOMPARE(CheckedLinkType(*form), 0);
        QCOMPARE(States(*form, {"SelectLink", "ShowLink", "ClearLink"}), QStringLiteral("off off off"));
        Type(*form, "Description", "Dentist");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateReminder"));
        View all(AccessREM->GetTable());
        std::vector<ViewRow> rows;
        QVERIFY(all.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(rows.size(), std::size_t(1));
        const Record& stored = rows[0].record;
        QCOMPARE(stored.Value("REM:Description").toString(), QStringLiteral("Dentist"));
        QCOMPARE(stored.Value("REM:ReminderDate").toInt(), date);
        QCOMPARE(stored.Value("REM:ShowReminder").toInt(), 0);
        QCOMPARE(stored.Value("REM:Dismiss").toInt(), 0);
        QCOMPARE(stored.Value("REM:LinkType").toInt(), 0);
        QCOMPARE(stored.Value("REM:UniqueID").toInt(), Me);
    }

    // Date View's reminder list runs the form, which takes the day picked there.
    void dateViewsReminderListRunsTheForm()
    {
        WindowController* view = Open("DateView");
        QVERIFY(view);
        auto* left = dynamic_cast<MonthGrid*>(view->window.Widget(ControlNumber(*view, "M1")));
        QVERIFY(left);
        QTest::mouseClick(left, Qt::LeftButton, {}, left->CellRect(left->PlaceOf(20)).center());
        WaitIdle();
        const qint32 picked = SelectedDate;
        QCOMPARE(DateFromDayNumber(picked).day(), 20);
        QVERIFY(picked != TodayNumber);
        Press(*view, "InsertReminder");
        WindowController* form = FindWindow("UpdateReminder");
        QVERIFY(form);
        Type(*form, "Description", "Picked day");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateReminder"));
        View all(AccessREM->GetTable());
        std::vector<ViewRow> rows;
        QVERIFY(all.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].record.Value("REM:ReminderDate").toInt(), picked);
        const QAbstractItemModel* day = view->window.ListModel(ControlNumber(*view, "ReminderList"));
        QCOMPARE(day->rowCount(), 1);
        QCOMPARE(day->data(day->index(0, 2)).toString(), QStringLiteral("Picked day"));
    }

    // The user-defined fields of reminders: a new reminder takes their defaults, on the tab "Misc".
    void aNewReminderTakesTheDefaultsOfItsUserDefinedFields()
    {
        test::Define({{2, MiscControlType::TextBox, "Room:", "Office"}}, true, MiscRecordType::Reminder);
        WindowController* form = OpenForm("Insert");
        QVERIFY(form);
        Type(*form, "Description", "Meeting");
        Press(*form, "OK");
        test::Define({}, false, MiscRecordType::Reminder);
        QVERIFY(!FindWindow("UpdateReminder"));
        View all(AccessREM->GetTable());
        std::vector<ViewRow> rows;
        QVERIFY(all.Read({}, Direction::Forward, 10, rows));
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].record.Value("REM:Misc2").toString(), QStringLiteral("Office"));
        QCOMPARE(rows[0].record.Value("REM:Misc1").toString(), QString());
    }

    // A copy of a linked reminder keeps Show and Dismiss, falls on the selected day and has no link.
    void aCopyKeepsTheFlagsAndHasNoLink()
    {
        const qint32 original = Add({{"Pay rent", TodayNumber - 3, 1, 1, 3, 8}})[0];
        SelectedDate = TodayNumber + 2;
        WindowController* form = OpenForm("Copy");
        QVERIFY(form);
        QCOMPARE(CheckedLinkType(*form), 0);
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateReminder"));
        QVERIFY(ReadReminder(original + 1));
        const Record& copy = AccessREM->Buffer();
        QCOMPARE(copy.Value("REM:Description").toString(), QStringLiteral("Pay rent"));
        QCOMPARE(copy.Value("REM:ReminderDate").toInt(), TodayNumber + 2);
        QCOMPARE(copy.Value("REM:ShowReminder").toInt(), 1);
        QCOMPARE(copy.Value("REM:Dismiss").toInt(), 1);
        QCOMPARE(copy.Value("REM:LinkType").toInt(), 0);
        QCOMPARE(copy.Value("REM:LinkNum").toInt(), 0);
        QCOMPARE(Stored(original, "REM:LinkNum").toInt(), 8);
    }

    // The link as the form keeps it: (state, action, answer) to (type, number, Select, Show, Clear). OK then
    // stores the link, or refuses a type without a record with "Missing Link" and the focus on Select Link.
    void theLinkFollowsTheUsersChoices_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("newType");
        QTest::addColumn<int>("newNumber");
        QTest::addColumn<QString>("buttons"); // Select, Show, Clear
        const int yes = MessageButton::Yes, no = MessageButton::No;
        const QString removeText = "A link was previously defined. Are you sure you want to remove the link?";
        const QString switchText =
            "You are about to switch to a different link type. Doing so will remove the "
            "current link. Are you sure you want to remove the link?";
        const QString clearText = "Are you sure you want to remove the link?";
        QTest::newRow("a type chosen while unlinked")
            << 2 << 0 << 0 << "Contact" << 0 << "" << 2 << 0 << "on off off";
        QTest::newRow("a type switched without a record")
            << 2 << 3 << 0 << "Contact" << 0 << "" << 2 << 0 << "on off off";
        QTest::newRow("select completed") << 2 << 3 << 0 << "select 9" << 0 << "" << 3 << 9 << "on on on";
        QTest::newRow("select completed over a link")
            << 2 << 3 << 5 << "select 9" << 0 << "" << 3 << 9 << "on on on";
        QTest::newRow("select cancelled") << 2 << 3 << 5 << "select 0" << 0 << "" << 3 << 5 << "on on on";
        QTest::newRow("select cancelled unlinked")
            << 2 << 1 << 0 << "select 0" << 0 << "" << 1 << 0 << "on off off";
        QTest::newRow("clear link, yes")
            << 2 << 3 << 5 << "clear" << yes << clearText << 3 << 0 << "on off off";
        QTest::newRow("clear link, no") << 2 << 3 << 5 << "clear" << no << clearText << 3 << 5 << "on on on";
        QTest::newRow("switch, yes") << 2 << 3 << 5 << "Contact" << yes << switchText << 2 << 0
                                     << "on off off";
        QTest::newRow("switch, no") << 2 << 3 << 5 << "Contact" << no << switchText << 3 << 5 << "on on on";
        QTest::newRow("no link, yes")
            << 2 << 1 << 5 << "No Link" << yes << removeText << 0 << 0 << "off off off";
        QTest::newRow("no link, no") << 2 << 1 << 5 << "No Link" << no << removeText << 1 << 5 << "on on on";
        QTest::newRow("view only, linked") << 1 << 3 << 5 << "" << 0 << "" << 3 << 5 << "off on off";
        QTest::newRow("view only, the type is not chosen")
            << 1 << 3 << 5 << "No Link" << 0 << "" << 3 << 5 << "off on off";
        QTest::newRow("view only, a type without a record")
            << 1 << 2 << 0 << "" << 0 << "" << 2 << 0 << "off off off";
    }
    void theLinkFollowsTheUsersChoices()
    {
        QFETCH(int, level);
        QFETCH(int, type);
        QFETCH(int, number);
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(int, newType);
        QFETCH(int, newNumber);
        QFETCH(QString, buttons);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        const qint32 reminder = Add({{"Follow up", TodayNumber, 1, 0, type, number}})[0];
        WindowController* form = OpenForm();
        QVERIFY(form);
        test::MessageRecorder boxes(answer ? QList<int>{answer} : QList<int>{});
        if (action.startsWith("select ")) {
            chosen = action.mid(7).toInt();
            Press(*form, "SelectLink");
            QCOMPARE(asked.size(), std::size_t(1));
            QCOMPARE(asked[0].procedure,
                     QStringList({"", "SelectLogEvent", "SelectContact", "SelectTask"})[type]);
            QCOMPARE(asked[0].request, int(Request::Select));
        } else if (action == "clear") {
            Press(*form, "ClearLink");
        } else if (!action.isEmpty()) {
            LinkRadio(*form, action)->click();
            WaitIdle();
        }
        QCOMPARE(boxes.boxes.size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty()) {
            QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Remove Link?"));
            QCOMPARE(boxes.boxes[0].text, question);
            QCOMPARE(boxes.boxes[0].icon, MessageIcon::Question);
            QCOMPARE(boxes.boxes[0].defaultButton, int(MessageButton::Yes));
        }
        QCOMPARE(CheckedLinkType(*form), newType);
        QCOMPARE(States(*form, {"SelectLink", "ShowLink", "ClearLink"}), buttons);
        if (level == 1) {
            QVERIFY(form->window.IsHidden(ControlNumber(*form, "OK")));
            Press(*form, "Cancel");
            QVERIFY(!FindWindow("UpdateReminder"));
            QCOMPARE(Stored(reminder, "REM:LinkNum").toInt(), number);
            return;
        }
        boxes.boxes.clear();
        Press(*form, "OK"); // asks no link question
        if (newType > 0 && newNumber == 0) {
            QCOMPARE(boxes.Captions(), QStringList{"Missing Link"});
            QCOMPARE(boxes.boxes[0].text,
                     QStringLiteral("You must select the link or change the link type to \"No Link\"."));
            QCOMPARE(FindWindow("UpdateReminder"), form);
            QCOMPARE(form->window.FocusedControl(), ControlNumber(*form, "SelectLink"));
            QCOMPARE(Stored(reminder, "REM:LinkNum").toInt(), number);
            return;
        }
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(reminder, "REM:LinkType").toInt(), newType);
        QCOMPARE(Stored(reminder, "REM:LinkNum").toInt(), newNumber);
    }

    // Show Link opens the linked record's form with the request change, for a user who may only view too;
    // a record private to another user is refused and the link stays.
    void showLinkOpensTheLinkedRecord_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("privateToAnother");
        QTest::newRow("full access") << 2 << false;
        QTest::newRow("view only") << 1 << false;
        QTest::newRow("private to another user") << 2 << true;
    }
    void showLinkOpensTheLinkedRecord()
    {
        QFETCH(int, level);
        QFETCH(bool, privateToAnother);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        const qint32 task = AddTask("Tax return", privateToAnother ? 1 : 0, privateToAnother ? Another : Me);
        Add({{"Tax", TodayNumber, 1, 0, 3, task}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        test::MessageRecorder boxes;
        Press(*form, "ShowLink");
        if (privateToAnother) {
            QCOMPARE(boxes.Captions(), QStringList{"Access Denied"});
            QCOMPARE(boxes.boxes[0].text,
                     QStringLiteral("You are not allowed to view or edit this record. It is "
                                    "private to the user who created it."));
            QVERIFY(asked.empty());
        } else {
            QVERIFY(boxes.boxes.isEmpty());
            QCOMPARE(asked.size(), std::size_t(1));
            QCOMPARE(asked[0].procedure, QStringLiteral("UpdateTask"));
            QCOMPARE(asked[0].request, int(Request::Change));
            QCOMPARE(asked[0].number, task);
        }
        QCOMPARE(CheckedLinkType(*form), 3);
        QVERIFY(form->window.IsEnabled(ControlNumber(*form, "ShowLink")));
    }

    // The real task select list and task form, through the link.
    void theLinkReachesTheTaskSelectListAndForm()
    {
        RegisterOrganizerProcedures();
        const qint32 task = AddTask("Tax return");
        const qint32 reminder = Add({{"Tax", TodayNumber, 1, 0, 3, 0}})[0];
        WindowController* form = OpenForm();
        QVERIFY(form);
        Press(*form, "SelectLink");
        WindowController* select = FindWindow("SelectTask");
        QVERIFY(select);
        PickRow(*select, ControlNumber(*select, "List"), 0);
        Press(*select, "Select");
        QVERIFY(!FindWindow("SelectTask"));
        QCOMPARE(States(*form, {"SelectLink", "ShowLink", "ClearLink"}), QStringLiteral("on on on"));
        Press(*form, "ShowLink");
        WindowController* taskForm = FindWindow("UpdateTask");
        QVERIFY(taskForm);
        QCOMPARE(taskForm->window.Caption(), QStringLiteral("Record will be Changed  (Tax return)"));
        Press(*taskForm, "Cancel");
        QVERIFY(!FindWindow("UpdateTask"));
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(reminder, "REM:LinkNum").toInt(), task);
    }

    // A reminder linked to a task deleted afterwards: "Link Missing". With full access the form falls back
    // to No Link and stores it only on OK; Cancel keeps the stored link; a user who may only view keeps it.
    void showLinkToADeletedTaskSaysLinkMissing_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("shownType");
        QTest::addColumn<int>("storedType");
        QTest::newRow("full access, OK") << 2 << "OK" << 0 << 0;
        QTest::newRow("full access, Cancel") << 2 << "Cancel" << 0 << 3;
        QTest::newRow("view only") << 1 << "Cancel" << 3 << 3;
    }
    void showLinkToADeletedTaskSaysLinkMissing()
    {
        QFETCH(int, level);
        QFETCH(QString, end);
        QFETCH(int, shownType);
        QFETCH(int, storedType);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        const qint32 task = AddTask("Old task");
        const qint32 reminder = Add({{"Check task", TodayNumber, 1, 0, 3, task}})[0];
        RemoveAll(*AccessTSK);
        WindowController* form = OpenForm();
        QVERIFY(form);
        test::MessageRecorder boxes({MessageButton::Ok, MessageButton::No}); // No: do not save
        Press(*form, "ShowLink");
        QCOMPARE(boxes.Captions(), QStringList{"Link Missing"});
        QCOMPARE(boxes.boxes[0].text, LinkMissingText);
        QCOMPARE(CheckedLinkType(*form), shownType);
        QCOMPARE(States(*form, {"SelectLink", "ShowLink", "ClearLink"}),
                 QString(level == 2 ? "off off off" : "off on off"));
        QCOMPARE(Stored(reminder, "REM:LinkType").toInt(), 3); // nothing written yet
        Press(*form, end);
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(reminder, "REM:LinkType").toInt(), storedType);
        QCOMPARE(Stored(reminder, "REM:LinkNum").toInt(), storedType ? task : 0);
    }

    void theFormLooksFinished()
    {
        Add({{"Bring the slides to the meeting", TodayNumber, 1, 0, 1, 3}});
        WindowController* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.Caption(),
                 QStringLiteral("Record will be Changed  (Bring the slides to the meeting)"));
        CheckPicture(*form, "UpdateReminder");
    }

    // A user who may only view: every field read-only, OK hidden; Show Link, Play, Stop and Export usable.
    void aViewOnlyFormKeepsTheLinkAndTheVoiceUsable()
    {
        CurrentUserAccess[AccessArea::Reminders] = 1;
        const qint32 number = Add({{"Read only", TodayNumber, 1, 0, 2, 4}})[0];
        // The reminder's voice message, named after its number.
        DataPathText = folder->folder.Path();
        QFile voice(DataPathText + QStringLiteral("r_%1.wav").arg(number));
        QVERIFY(voice.open(QIODevice::WriteOnly));
        voice.close();
        WindowController* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("View Record"));
        WindowController* list = FindWindow("Reminder");
        QCOMPARE(list->window.Label(list->window.ControlNumber("Change")), QStringLiteral("View"));
        QCOMPARE(States(*form, {"PickReminderDate", "SelectLink", "ClearLink", "ShowScraps", "ShowLink"}),
                 QStringLiteral("off off off off on"));
        QCOMPARE(States(*form, {"PlayVoiceMessage", "ExportVoiceMessage", "RecordVoiceMessage",
                                "ImportVoiceMessage", "DeleteVoiceMessage"}),
                 QStringLiteral("on on off off off"));
        QVERIFY(form->window.IsHidden(ControlNumber(*form, "OK")));
        voice.remove();
        QVERIFY(!LinkRadio(*form, "Task")->isEnabled());
    }

    // The date button opens "Select Reminder Date" on the reminder's date, or on today while it has none;
    // a cancelled picker leaves the date it started from.
    void theDateButtonPicksTheReminderDate_data()
    {
        QTest::addColumn<int>("date");
        QTest::addColumn<int>("stored");
        QTest::newRow("no date") << 0 << TodayNumber;
        QTest::newRow("a date") << TodayNumber + 9 << TodayNumber + 9;
    }
    void theDateButtonPicksTheReminderDate()
    {
        QFETCH(int, date);
        QFETCH(int, stored);
        const qint32 number = Add({{"Someday", date}})[0];
        WindowController* form = OpenForm();
        QVERIFY(form);
        Press(*form, "PickReminderDate");
        WindowController* picker = FindWindow("SelectDate");
        QVERIFY(picker);
        QVERIFY(picker->window.Caption().startsWith("Select Reminder Date"));
        Press(*picker, "Cancel");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(number, "REM:ReminderDate").toInt(), stored);
    }

    // With a fixed clock, the pane lists the reminders that are due; each appears or leaves after the
    // write's refresh, with no action in the pane. A reminder dated tomorrow comes once the clock has passed
    // midnight and a refresh came.
    void thePaneListsTheDueReminders_data()
    {
        QTest::addColumn<int>("dayOffset");
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("dismiss");
        QTest::addColumn<bool>("listedToday");
        QTest::addColumn<bool>("listedTomorrow");
        QTest::newRow("shown, dated today") << 0 << 1 << 0 << true << true;
        QTest::newRow("shown, dated last year") << -365 << 1 << 0 << true << true;
        QTest::newRow("shown, dated tomorrow") << 1 << 1 << 0 << false << true;
        QTest::newRow("shown and dismissed") << 0 << 1 << 1 << false << false;
        QTest::newRow("not shown") << 0 << 0 << 0 << false << false;
    }
    void thePaneListsTheDueReminders()
    {
        QFETCH(int, dayOffset);
        QFETCH(int, show);
        QFETCH(int, dismiss);
        QFETCH(bool, listedToday);
        QFETCH(bool, listedTomorrow);
        Add({{"Always due", 0}});
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        QCOMPARE(Column(*pane, 1), QStringList{"Always due"});
        // Written through the data layer, as another window writes.
        AccessREM->PrepareRecord();
        AccessREM->Buffer().SetValue("REM:Description", "Under test");
        AccessREM->Buffer().SetValue("REM:ReminderDate", TodayNumber + dayOffset);
        AccessREM->Buffer().SetValue("REM:ShowReminder", show);
        AccessREM->Buffer().SetValue("REM:Dismiss", dismiss);
        QCOMPARE(AccessREM->Insert(), 0);
        const qint32 number = AccessREM->Buffer().Value("REM:Num").toInt();
        WaitIdle();
        QCOMPARE(Column(*pane, 1).contains("Under test"), listedToday);
        SetFixedClock(QDateTime(TheDate.addDays(1), QTime(0, 0, 5)));
        QCOMPARE(Column(*pane, 1).contains("Under test"), listedToday); // no refresh yet
        BroadcastRefresh();                                             // the frame's timer
        WaitIdle();
        QCOMPARE(Column(*pane, 1).contains("Under test"), listedTomorrow);
        QVERIFY(ReadReminder(number));
        AccessREM->Buffer().SetValue("REM:ShowReminder", 0);
        QCOMPARE(AccessREM->Update(), 0);
        WaitIdle();
        QCOMPARE(Column(*pane, 1), QStringList{"Always due"});
    }

    // The pane's buttons by access and rows, and View Link only while the highlighted reminder has a link.
    void thePaneButtonsFollowTheRowsAndTheAccess_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<QString>("firstRow");  // Insert Change Delete Copy ViewLink Dismiss
        QTest::addColumn<QString>("secondRow"); // the same after the unlinked row is highlighted
        QTest::addColumn<QString>("change");
        QTest::newRow("full access") << 2 << true << "on on on on on on"
                                     << "on on on on off on"
                                     << "Change";
        QTest::newRow("view only") << 1 << true << "off on off off on off"
                                   << "off on off off off off"
                                   << "View";
        QTest::newRow("no due reminders") << 2 << false << "on off off off off off"
                                          << ""
                                          << "Change";
    }
    void thePaneButtonsFollowTheRowsAndTheAccess()
    {
        QFETCH(int, level);
        QFETCH(bool, rows);
        QFETCH(QString, firstRow);
        QFETCH(QString, secondRow);
        QFETCH(QString, change);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        if (rows)
            Add({{"Linked", TodayNumber, 1, 0, 2, 6}, {"Plain"}});
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        const QStringList buttons{"Insert", "Change", "Delete", "Copy", "ViewLink", "Dismiss"};
        const int list = ControlNumber(*pane, "List");
        if (rows)
            PickRow(*pane, list, 0);
        QCOMPARE(States(*pane, buttons), firstRow);
        const int changeButton = ControlNumber(*pane, "Change");
        QString changeText = pane->window.Label(changeButton).remove('&');
        QCOMPARE(changeText.isEmpty() ? pane->window.Widget(changeButton)->toolTip() : changeText, change);
        QVERIFY(pane->window.IsHidden(ControlNumber(*pane, "Close")));
        if (!rows) {
            CheckPicture(*pane, "OverdueRemindersEmpty");
            return;
        }
        PickRow(*pane, list, 1);
        QCOMPARE(States(*pane, buttons), secondRow);
        PickRow(*pane, list, 0);
        QCOMPARE(States(*pane, buttons), firstRow);
        if (level == 2)
            CheckPicture(*pane, "OverdueReminders");
    }

    // Dismiss reads the reminder afresh and changes only its flag: what another window saved after the
    // pane read its row stays.
    void dismissKeepsWhatAnotherWindowSaved()
    {
        const qint32 number = Add({{"Renew passport"}})[0];
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        PickRow(*pane, ControlNumber(*pane, "List"), 0);
        // Another window saves notes and a user-defined value; the pane's row stays as it was read.
        QVERIFY(ReadReminder(number));
        AccessREM->Buffer().SetValue("REM:Notes", "Photos are in the drawer");
        AccessREM->Buffer().SetValue("REM:Misc2", "Office");
        QVERIFY(AccessREM->GetTable().Update());
        Press(*pane, "Dismiss");
        QCOMPARE(Stored(number, "REM:Dismiss").toInt(), 1);
        QCOMPARE(Stored(number, "REM:Notes").toString(), QStringLiteral("Photos are in the drawer"));
        QCOMPARE(Stored(number, "REM:Misc2").toString(), QStringLiteral("Office"));
        QCOMPARE(Column(*pane, 1), QStringList());
    }

    // The reminder form on record N while another window (or another copy of the program) saves N, then
    // OK: a form that changed nothing writes nothing; a form with changes never overwrites the other save
    // silently: the notice, the stored reminder shown, the user's own values back with Ctrl+', and the
    // next OK keeps both.
    void aChangeNeverOverwritesWhatAnotherWindowSaved_data()
    {
        QTest::addColumn<QString>("edited"); // the field the form edits: "" none, Description, Notes
        QTest::addColumn<bool>("anotherCopy");
        QTest::newRow("no edit") << "" << false;
        QTest::newRow("an edit of another field") << "Notes" << false;
        QTest::newRow("an edit of the same field") << "Description" << false;
        QTest::newRow("another copy, the same field") << "Description" << true;
        QTest::newRow("another copy, another field") << "Notes" << true;
    }
    void aChangeNeverOverwritesWhatAnotherWindowSaved()
    {
        QFETCH(QString, edited);
        QFETCH(bool, anotherCopy);
        const qint32 number = Add({{"Dentist"}})[0];
        WindowController* form = OpenForm();
        QVERIFY(form);
        const QString mine = edited == "Notes" ? "Bring the card" : "Doctor";
        const int control = ControlOf(*form, edited);
        if (!edited.isEmpty())
            Type(*form, control, mine);
        if (anotherCopy)
            SaveInAnotherCopy(number, "Description", "Dentist at ten");
        else
            SaveElsewhere(number, "REM:Description", "Dentist at ten");
        test::MessageRecorder boxes;
        Press(*form, "OK");
        if (edited.isEmpty()) {
            QVERIFY(boxes.boxes.isEmpty());
            QVERIFY(!FindWindow("UpdateReminder"));
            QCOMPARE(Stored(number, "REM:Description").toString(), QStringLiteral("Dentist at ten"));
            return;
        }
        QCOMPARE(boxes.Captions(), QStringList{"Record Was Not Updated"});
        QCOMPARE(boxes.boxes[0].text, RecordChangedText);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
        QCOMPARE(FindWindow("UpdateReminder"), form);
        QCOMPARE(Stored(number, "REM:Description").toString(), QStringLiteral("Dentist at ten"));
        QCOMPARE(Shown(*form, ControlOf(*form, "Description")), QStringLiteral("Dentist at ten"));
        QCOMPARE(Shown(*form, ControlOf(*form, "Notes")), QString());
        form->window.Select(control);
        WaitIdle();
        PressKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
        QCOMPARE(Shown(*form, control), mine);
        Press(*form, "OK");
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(number, qPrintable("REM:" + edited)).toString(), mine);
        if (edited == "Notes")
            QCOMPARE(Stored(number, "REM:Description").toString(), QStringLiteral("Dentist at ten"));
    }

    // The list's form is open on a due reminder while the overdue pane dismisses it: OK in the form, with
    // or without an edit, never makes it due again.
    void theListsFormKeepsTheDismissOfThePane_data()
    {
        QTest::addColumn<bool>("editNotes");
        QTest::newRow("no edit") << false;
        QTest::newRow("notes edited") << true;
    }
    void theListsFormKeepsTheDismissOfThePane()
    {
        QFETCH(bool, editNotes);
        const qint32 number = Add({{"Renew passport"}})[0];
        WindowController* form = OpenForm();
        QVERIFY(form);
        if (editNotes)
            Type(*form, ControlOf(*form, "Notes"), "Photos first");
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        PickRow(*pane, ControlNumber(*pane, "List"), 0);
        Press(*pane, "Dismiss");
        QCOMPARE(Stored(number, "REM:Dismiss").toInt(), 1);
        test::MessageRecorder boxes;
        Press(*form, "OK");
        if (editNotes) {
            QCOMPARE(boxes.Captions(), QStringList{"Record Was Not Updated"});
            form->window.Select(ControlOf(*form, "Notes"));
            // The pane took the activation: the key goes to the form once it is the active window again.
            form->window.Root()->activateWindow();
            QTRY_VERIFY(form->window.Root()->isActiveWindow());
            PressKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
            QCOMPARE(Shown(*form, ControlOf(*form, "Notes")), QStringLiteral("Photos first"));
            Press(*form, "OK");
            QCOMPARE(Stored(number, "REM:Notes").toString(), QStringLiteral("Photos first"));
        }
        QVERIFY(!FindWindow("UpdateReminder"));
        QCOMPARE(Stored(number, "REM:Dismiss").toInt(), 1);
    }

    // A form that ends without saving lets go of the record it read: the pane's Dismiss on the same thread
    // afterwards still writes, although another window saved the reminder in between.
    void thePanesDismissAfterACancelledFormStillWrites()
    {
        const qint32 number = Add({{"Renew passport"}})[0];
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        PickRow(*pane, ControlNumber(*pane, "List"), 0);
        Press(*pane, "Change");
        WindowController* form = FindWindow("UpdateReminder");
        QVERIFY(form);
        Press(*form, "Cancel");
        QVERIFY(!FindWindow("UpdateReminder"));
        SaveElsewhere(number, "REM:Notes", "Photos first");
        test::MessageRecorder boxes;
        PickRow(*pane, ControlNumber(*pane, "List"), 0);
        Press(*pane, "Dismiss");
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(Stored(number, "REM:Dismiss").toInt(), 1);
        QCOMPARE(Stored(number, "REM:Notes").toString(), QStringLiteral("Photos first"));
    }

    // A delete whose reminder another copy of the program changed while "Confirm Delete" was up asks again,
    // about what is stored now; No keeps the other copy's change.
    void aDeleteOfAReminderChangedMeanwhileAsksAgain_data()
    {
        QTest::addColumn<int>("secondAnswer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Yes again") << int(MessageButton::Yes) << true;
        QTest::newRow("No") << int(MessageButton::No) << false;
    }
    void aDeleteOfAReminderChangedMeanwhileAsksAgain()
    {
        QFETCH(int, secondAnswer);
        QFETCH(bool, deleted);
        const qint32 number = Add({{"Dentist"}})[0];
        WindowController* list = Open("Reminder");
        QVERIFY(list);
        PickRow(*list, ControlNumber(*list, "List"), 0);
        test::MessageRecorder boxes({MessageButton::Yes, secondAnswer});
        boxes.onShow = [&](const MessageBoxRequest&) {
            if (boxes.boxes.size() == 1)
                SaveInAnotherCopy(number, "Description", "Dentist at ten");
        };
        Press(*list, "Delete");
        QCOMPARE(boxes.Captions(), QStringList({"Confirm Delete", "Confirm Delete"}));
        QCOMPARE(ReadReminder(number), !deleted);
        if (!deleted)
            QCOMPARE(Stored(number, "REM:Description").toString(), QStringLiteral("Dentist at ten"));
    }

    // View Link in the pane: the linked record's form, or for a record that is gone "Link Missing" and the
    // link cleared in the table at once, whatever the user's level.
    void viewLinkInThePane_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("full access, the task is there") << 2 << false;
        QTest::newRow("full access, the task was deleted") << 2 << true;
        QTest::newRow("view only, the task was deleted") << 1 << true;
    }
    void viewLinkInThePane()
    {
        QFETCH(int, level);
        QFETCH(bool, deleted);
        CurrentUserAccess[AccessArea::Reminders] = quint8(level);
        const qint32 task = AddTask("Water the plants");
        const qint32 number = Add({{"Plants", TodayNumber, 1, 0, 3, task}})[0];
        if (deleted)
            RemoveAll(*AccessTSK);
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        PickRow(*pane, ControlNumber(*pane, "List"), 0);
        test::MessageRecorder boxes;
        Press(*pane, "ViewLink");
        if (!deleted) {
            QVERIFY(boxes.boxes.isEmpty());
            QCOMPARE(asked.size(), std::size_t(1));
            QCOMPARE(asked[0].procedure, QStringLiteral("UpdateTask"));
            QCOMPARE(asked[0].number, task);
            QCOMPARE(Stored(number, "REM:LinkNum").toInt(), task);
            return;
        }
        QCOMPARE(boxes.Captions(), QStringList{"Link Missing"});
        QCOMPARE(boxes.boxes[0].text, LinkMissingText);
        QCOMPARE(Stored(number, "REM:LinkType").toInt(), 0);
        QCOMPARE(Stored(number, "REM:LinkNum").toInt(), 0);
        QVERIFY(!pane->window.IsEnabled(ControlNumber(*pane, "ViewLink")));
    }

    // The X asks the pane's question; No keeps it open, Yes closes it.
    void theCloseQuestionOfThePane_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::newRow("No") << int(MessageButton::No) << true;
        QTest::newRow("Yes") << int(MessageButton::Yes) << false;
    }
    void theCloseQuestionOfThePane()
    {
        QFETCH(int, answer);
        QFETCH(bool, open);
        WindowController* pane = Open("OverdueReminders");
        QVERIFY(pane);
        test::MessageRecorder boxes({answer});
        Press(*pane, "CloseX");
        QCOMPARE(boxes.Captions(), QStringList{"Close the window?"});
        QCOMPARE(boxes.boxes[0].text,
                 QStringLiteral("You are about to close the Overdue Reminders window. To "
                                "activate it again, select View --> Overdue Reminders. "
                                "Close the window?"));
        QCOMPARE(FindWindow("OverdueReminders") != nullptr, open);
    }
};

QTEST_MAIN(RemindersTest)
#include "tst_Reminders.moc"
