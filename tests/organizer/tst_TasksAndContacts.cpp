#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "organizer/OrganizerList.h"
#include "organizer/OrganizerProcedures.h"
#include "platform/framework/ListRowStyle.h"
#include "platform/framework/Picture.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/ShellOpen.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "core/DataFolder.h"
#include "organizer/OrganizerTest.h"
#include "platform/framework/MessageRecorder.h"
#include "platform/framework/WindowDriver.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;
using namespace jornix::test; // the shared pieces of the organizer tests

// Tasks and contacts as the user meets them: the two list windows, their forms and the two select lists.
namespace {

const qint32 EarlierDay = TodayNumber - 20;

using test::Fields;

// Writes records straight into a table, past the data layer's checks; each is public and mine unless its
// fields say otherwise.
void Add(FileManager& access, const std::vector<Fields>& records)
{
    const QString prefix = access.GetTable().Prefix() + QLatin1Char(':');
    std::vector<Fields> written;
    for (const Fields& fields : records) {
        Fields all{
            {prefix + "UniqueID", Me}, {prefix + "CreateLoginID", "me"}, {prefix + "CreateDate", EarlierDay}};
        all.insert(all.end(), fields.begin(), fields.end());
        written.push_back(std::move(all));
    }
    test::InsertNumbered(access.GetTable(), written);
}

void AddTask(const QString& description, int priority = 2, Fields more = {})
{
    more.insert(more.begin(), {{"TSK:Description", description}, {"TSK:Priority", priority}});
    Add(*AccessTSK, {more});
}

void AddContact(const QString& lastName, Fields more = {})
{
    more.insert(more.begin(), {"CON:LName", lastName});
    Add(*AccessCON, {more});
}

// The records of a table as they are stored.
std::vector<Record> Stored(FileManager& access)
{
    View view(access.GetTable());
    std::vector<ViewRow> rows;
    view.Read({}, Direction::Forward, 100, rows);
    std::vector<Record> records;
    for (const ViewRow& row : rows)
        records.push_back(row.record);
    return records;
}

QString Caption(WindowController& window, const QString& name)
{
    const int control = ControlNumber(window, name);
    QString text = window.window.Label(control);
    return text.isEmpty() ? window.window.Widget(control)->toolTip() : text;
}

bool Checked(WindowController& window, const QString& name)
{
    return qobject_cast<QAbstractButton*>(window.window.Widget(ControlNumber(window, name)))->isChecked();
}

QString EntryText(WindowController& window, const QString& name)
{
    QWidget* widget = window.window.Widget(ControlNumber(window, name));
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return spin->text();
    return qobject_cast<QLineEdit*>(widget)->text();
}

// The definitions of one record type: fields 2 and 5 shown, text boxes with a default value.
void DefineMiscFields(int recordType)
{
    QCOMPARE(RelationsMSC->Open(), 0);
    AccessMSC->GetTable().ClearBuffer();
    AccessMSC->PrepareRecord();
    Record& row = AccessMSC->Buffer();
    row.SetValue("MSC:MiscType", recordType);
    for (const int field : {2, 5}) {
        const QString f = QStringLiteral("MSC:F%1").arg(field);
        row.SetValue(f + "Show", 1);
        row.SetValue(f + "Prompt", QStringLiteral("Extra %1:").arg(field));
        row.SetValue(f + "DefVal", QStringLiteral("default %1").arg(field));
    }
    QCOMPARE(AccessMSC->InsertQuiet(), 0);
    RelationsMSC->Close();
}

void RemoveMiscFields()
{
    QCOMPARE(RelationsMSC->Open(), 0);
    RemoveAll(*AccessMSC);
    RelationsMSC->Close();
}

} // namespace

class TasksAndContactsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;
    QStringList opened; // what reached the shell
    int shellExit = 0;

    // The form of the list's highlighted row (or a new record), opened with the list's button.
    WindowController* OpenForm(const QString& list, const QString& button, int row = 0)
    {
        WindowController* window = Open(list);
        if (!window)
            return nullptr;
        PickRow(*window, ControlNumber(*window, "List"), row);
        Press(*window, button);
        return FindWindow(list == "Tasks" ? "UpdateTask" : "UpdateContact");
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsTSK, RelationsCON})); // the test's own hold, to write records
        test::StartOrganizerTest();
        SetShellOpenRunner([this](const QString& argument) {
            opened << argument;
            return shellExit;
        });
    }
    void cleanupTestCase()
    {
        SetShellOpenRunner({});
        folder.reset();
    }
    void init()
    {
        test::StartOrganizerCase();
        opened.clear();
        shellExit = 0;
        RemoveAll(*AccessTSK);
        RemoveAll(*AccessCON);
        RemoveMiscFields();
    }
    void cleanup()
    {
        // The dialogs first, then what they were called from.
        test::CloseInOrder({"SelectDate", "SelectTask", "SelectContact", "UpdateTask", "UpdateContact",
                            "Tasks", "Contacts"});
    }

    void aUserWithoutAccessGetsAccessDeniedAndNoWindow_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("area");
        QTest::addColumn<QString>("words");
        for (const char* procedure : {"Tasks", "UpdateTask", "SelectTask"})
            QTest::newRow(procedure) << procedure << int(AccessArea::Tasks) << "Tasks";
        for (const char* procedure : {"Contacts", "UpdateContact", "SelectContact"})
            QTest::newRow(procedure) << procedure << int(AccessArea::Contacts) << "Contacts";
    }
    void aUserWithoutAccessGetsAccessDeniedAndNoWindow()
    {
        QFETCH(QString, procedure);
        QFETCH(int, area);
        QFETCH(QString, words);
        CurrentUserAccess[area] = 0;
        test::MessageRecorder boxes;
        Start([procedure] {
            CurrentContext().GlobalRequestCode = quint8(procedure.startsWith("Select") ? Request::Select : 0);
            CallProcedure(procedure);
        });
        QCOMPARE(boxes.Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes.boxes[0].text, "You are not allowed to view or edit " + words +
                                          ". Please contact your system administrator to request access.");
        QVERIFY(WindowController::OpenWindows().empty());
    }

    void theButtonsFollowTheRowsAndTheAccess_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("popup");
        for (const char* list : {"Tasks", "Contacts"}) {
            const QString name(list);
            QTest::newRow(qPrintable(name + " full access"))
                << name << 2 << true << "Copy:on Insert:on Change:on Delete:on Print:on"
                << "Copy Print";
            QTest::newRow(qPrintable(name + " empty"))
                << name << 2 << false << "Copy:off Insert:on Change:off Delete:off Print:off"
                << "Copy Print";
            QTest::newRow(qPrintable(name + " view only"))
                << name << 1 << true << "Copy:off Insert:off View:on Delete:off Print:on"
                << "";
        }
    }
    void theButtonsFollowTheRowsAndTheAccess()
    {
        QFETCH(QString, list);
        QFETCH(int, level);
        QFETCH(bool, rows);
        QFETCH(QString, states);
        QFETCH(QString, popup);
        CurrentUserAccess[AccessArea::Tasks] = CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        if (rows) {
            AddTask("Pay the rent");
            AddContact("Lovelace");
        }
        WindowController* window = Open(list);
        QVERIFY(window);
        QStringList seen;
        for (const char* button : {"Copy", "Insert", "Change", "Delete", "Print"}) {
            const int control = ControlNumber(*window, button);
            seen << window->window.Label(control).remove('&') +
                        (window->window.IsEnabled(control) ? ":on" : ":off");
        }
        QCOMPARE(seen.join(' '), states);
        auto* listWindow = dynamic_cast<OrganizerListWindow*>(window);
        QVERIFY(listWindow);
        QStringList items;
        for (const PopupMenu::Item& item : listWindow->Rows().Popup().Items())
            items << item.text;
        QCOMPARE(items.join(' '), popup);
    }

    // Each tab chooses its order; equal values are ordered by the next key field.
    void eachTabListsTheTasksInItsOrder_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("listed");
        for (const char* procedure : {"Tasks", "SelectTask"}) {
            QTest::newRow(qPrintable(QString(procedure) + " by Description"))
                << procedure << 1 << QStringList{"audit", "Book", "invoice", "order"};
            QTest::newRow(qPrintable(QString(procedure) + " by Due Date"))
                << procedure << 3 << QStringList{"invoice", "order", "audit", "Book"};
            QTest::newRow(qPrintable(QString(procedure) + " by Priority"))
                << procedure << 5 << QStringList{"Book", "invoice", "audit", "order"};
        }
    }
    void eachTabListsTheTasksInItsOrder()
    {
        QFETCH(QString, procedure);
        QFETCH(int, tab);
        QFETCH(QStringList, listed);
        AddTask("order", 3);
        AddTask("invoice", 1);
        AddTask("Book", 1, {{"TSK:DueDate", TodayNumber + 3}});
        AddTask("audit", 2, {{"TSK:DueDate", TodayNumber + 3}});
        Start([procedure] {
            CurrentContext().GlobalRequestCode = quint8(procedure == "SelectTask" ? Request::Select : 0);
            CallProcedure(procedure);
        });
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        PickTab(*window, ControlNumber(*window, "TaskSortOrder"), tab);
        QCOMPARE(Column(*window, 1), listed);
    }

    void eachTabListsTheContactsInItsOrder_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("listed");
        for (const char* procedure : {"Contacts", "SelectContact"}) {
            // A contact without a last name comes first; equal last names by first name.
            QTest::newRow(qPrintable(QString(procedure) + " by Last Name"))
                << procedure << 1 << QStringList{"", "Adams", "Adams", "Baker"};
            QTest::newRow(qPrintable(QString(procedure) + " by State"))
                << procedure << 4 << QStringList{"Baker", "", "Adams", "Adams"};
        }
    }
    void eachTabListsTheContactsInItsOrder()
    {
        QFETCH(QString, procedure);
        QFETCH(int, tab);
        QFETCH(QStringList, listed);
        AddContact("Adams", {{"CON:FName", "Zoe"}, {"CON:State", "OR"}, {"CON:Zip", "97201"}});
        AddContact("Adams", {{"CON:FName", "Amy"}, {"CON:State", "OR"}, {"CON:Zip", "97301"}});
        AddContact("", {{"CON:Company", "Acme"}, {"CON:State", "OR"}, {"CON:Zip", "97001"}});
        AddContact("Baker", {{"CON:State", "CA"}, {"CON:Zip", "99999"}});
        Start([procedure] {
            CurrentContext().GlobalRequestCode = quint8(procedure == "SelectContact" ? Request::Select : 0);
            CallProcedure(procedure);
        });
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        PickTab(*window, ControlNumber(*window, "ContactSortOrder"), tab);
        QCOMPARE(Column(*window, 1), listed);
        if (tab == 1)
            QCOMPARE(Column(*window, 2), (QStringList{"", "Amy", "Zoe", ""}));
    }

    // A High priority is white on red, selected or not; the other cells keep the list's colours; a code
    // without a text shows a blank.
    void theHighPriorityCellIsWhiteOnRed_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::newRow("Tasks") << "Tasks";
        QTest::newRow("SelectTask") << "SelectTask";
    }
    void theHighPriorityCellIsWhiteOnRed()
    {
        QFETCH(QString, procedure);
        AddTask("a High one", 1);
        AddTask("b High too", 1);
        AddTask("c Medium", 2);
        AddTask("d Low", 3);
        AddTask("e Strange", 7);
        Start([procedure] {
            CurrentContext().GlobalRequestCode = quint8(procedure == "SelectTask" ? Request::Select : 0);
            CallProcedure(procedure);
        });
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        QCOMPARE(Column(*window, 4), (QStringList{"High", "High", "Medium", "Low", ""}));
        const int list = ControlNumber(*window, "List");
        PickRow(*window, list, 0);
        auto* tree = qobject_cast<QTreeView*>(window->window.Widget(list));
        tree->clearFocus(); // no focus frame over the current row
        CheckPicture(*window, procedure);
        const QImage picture = tree->viewport()->grab().toImage();
        QAbstractItemModel* model = tree->model();
        const auto colourAt = [&](int row, int column, bool right) {
            const QRect cell = tree->visualRect(model->index(row, column));
            return picture.pixelColor(right ? cell.right() - 3 : cell.left() + 3, cell.center().y());
        };
        const QColor red(255, 0, 0);
        QCOMPARE(colourAt(0, 4, true), red); // selected
        QCOMPARE(colourAt(1, 4, true), red);
        // Some of the text is white where the word is drawn.
        const QRect text = tree->visualRect(model->index(1, 4));
        bool white = false;
        for (int x = text.left(); x < text.right() && !white; ++x)
            for (int y = text.top(); y < text.bottom() && !white; ++y)
                white = picture.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY(white);
        const QColor base = colourAt(2, 1, true);
        for (int row = 2; row < 5; ++row)
            QCOMPARE(colourAt(row, 4, true), base); // Medium, Low and the blank one
        const QColor highlight = colourAt(0, 1, true);
        QVERIFY(highlight != base && highlight != red);
        QCOMPARE(model->data(model->index(0, 4), ListRole::SelectedText).value<QBrush>().color(),
                 QColor(Qt::white));
        QCOMPARE(model->data(model->index(0, 4), ListRole::SelectedBackground).value<QBrush>().color(), red);
    }

    void theFormsCaptionTellsWhatItDoes_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("caption");
        QTest::newRow("task, insert") << "Tasks"
                                      << "Insert" << 2 << "Record will be Added  (New)";
        QTest::newRow("task, change") << "Tasks"
                                      << "Change" << 2 << "Record will be Changed  (Pay the rent)";
        QTest::newRow("task, view only") << "Tasks"
                                         << "Change" << 1 << "View Record";
        QTest::newRow("contact, insert") << "Contacts"
                                         << "Insert" << 2 << "Record will be Added  (New)";
        QTest::newRow("contact, change") << "Contacts"
                                         << "Change" << 2 << "Record will be Changed  (Ada Lovelace)";
        QTest::newRow("contact, view only") << "Contacts"
                                            << "Change" << 1 << "View Record";
    }
    void theFormsCaptionTellsWhatItDoes()
    {
        QFETCH(QString, list);
        QFETCH(QString, button);
        QFETCH(int, level);
        QFETCH(QString, caption);
        CurrentUserAccess[AccessArea::Tasks] = CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        AddTask("Pay the rent   ", 2, {{"TSK:DueDate", TodayNumber + 1}});
        AddContact("Lovelace   ", {{"CON:FName", "Ada  "}, {"CON:Email", "ada@example.org"}});
        CheckPicture(*Open(list), list + " " + QTest::currentDataTag());
        WindowController* form = OpenForm(list, button);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), caption);
        const bool task = list == "Tasks";
        // The focus goes to the description or the first name.
        QCOMPARE(form->window.FocusedControl(), ControlNumber(*form, task ? "TSK:Description" : "CON:FName"));
        QCOMPARE(form->window.IsHidden(ControlNumber(*form, "OK")), level == 1);
        QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "ShowScraps")), level == 2);
        auto* tabs = qobject_cast<QTabWidget*>(form->window.Widget(form->window.ControlNumber("Sheet")));
        QVERIFY(tabs);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            CheckPicture(*form, form->ProcedureName() + " " + QTest::currentDataTag() + " " +
                                    tabs->tabText(tab).remove('&'));
        }
    }

    // The list's own date stamp shows in the form, which says "Create on" for a task.
    void theStampsShowWhoCreatedAndEditedTheRecord_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("created");
        QTest::newRow("task") << "Tasks"
                              << "Create on";
        QTest::newRow("contact") << "Contacts"
                                 << "Created on";
    }
    void theStampsShowWhoCreatedAndEditedTheRecord()
    {
        QFETCH(QString, list);
        QFETCH(QString, created);
        AddTask("Pay the rent");
        AddContact("Lovelace");
        WindowController* form = OpenForm(list, "Change");
        QVERIFY(form);
        QStringList prompts;
        for (const QLabel* label : form->window.Root()->findChildren<QLabel*>())
            prompts << label->text();
        QVERIFY(prompts.contains(created));
        QVERIFY(prompts.contains("Edited on"));
        const QString prefix = list == "Tasks" ? "TSK:" : "CON:";
        QCOMPARE(form->window.Label(ControlNumber(*form, prefix + "CreateDate")),
                 Picture("@D17").Format(EarlierDay));
        QCOMPARE(form->window.Label(ControlNumber(*form, prefix + "LastEditDate")), QString());
    }

    void copyOfALowTaskStartsANewMediumPublicTask()
    {
        AddTask("Water the plants", 3,
                {{"TSK:Private", 1}, {"TSK:StartDate", EarlierDay}, {"TSK:Notes", "The big ones too"}});
        WindowController* list = Open("Tasks");
        QVERIFY(list);
        Press(*list, "Copy");
        WindowController* form = FindWindow("UpdateTask");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Added  (New)"));
        QVERIFY(Checked(*form, "Medium"));
        QVERIFY(!Checked(*form, "Low"));
        QVERIFY(!Checked(*form, "TSK:Private"));
        QCOMPARE(EntryText(*form, "TSK:Description"), QStringLiteral("Water the plants"));
        QCOMPARE(EntryText(*form, "TSK:StartDate"), Picture("@D17").Format(EarlierDay));
        QCOMPARE(form->window.Label(ControlNumber(*form, "TSK:CreateDate")),
                 Picture("@D17").Format(TodayNumber));
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateTask"));
        QStringList priorities = Column(*list, 4);
        priorities.sort();
        QCOMPARE(priorities, (QStringList{"Low", "Medium"}));
    }

    // Ticking Completed sets today only while there is no close date; unticking keeps the date; the close
    // date can be changed only while the task is completed, and picked only by a user with full access.
    void completedSetsTheCloseDateOnce_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("completed");
        QTest::addColumn<int>("closeDate");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("closeDateAfter");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("pickable");
        QTest::newRow("open, no date, tick") << 2 << 0 << 0 << 1 << TodayNumber << true << true;
        QTest::newRow("open, a date, tick") << 2 << 0 << EarlierDay << 1 << EarlierDay << true << true;
        QTest::newRow("open, no date, tick and untick") << 2 << 0 << 0 << 2 << TodayNumber << false << false;
        QTest::newRow("open, no date, tick, untick, tick") << 2 << 0 << 0 << 3 << TodayNumber << true << true;
        QTest::newRow("done, a date, untick") << 2 << 1 << EarlierDay << 1 << EarlierDay << false << false;
        QTest::newRow("done, no date, untick, tick") << 2 << 1 << 0 << 2 << TodayNumber << true << true;
        QTest::newRow("view only, open") << 1 << 0 << 0 << 1 << 0 << false << false;
        QTest::newRow("view only, done") << 1 << 1 << EarlierDay << 1 << EarlierDay << true << false;
    }
    void completedSetsTheCloseDateOnce()
    {
        QFETCH(int, level);
        QFETCH(int, completed);
        QFETCH(int, closeDate);
        QFETCH(int, clicks);
        QFETCH(int, closeDateAfter);
        QFETCH(bool, editable);
        QFETCH(bool, pickable);
        CurrentUserAccess[AccessArea::Tasks] = quint8(level);
        AddTask("Send the invoice", 2, {{"TSK:Completed", completed}, {"TSK:CloseDate", closeDate}});
        WindowController* form = OpenForm("Tasks", "Change");
        QVERIFY(form);
        const int box = ControlNumber(*form, "TSK:Completed");
        QCOMPARE(form->window.IsEnabled(box), level == 2);
        for (int click = 0; click < clicks; ++click)
            Press(*form, box);
        QCOMPARE(EntryText(*form, "TSK:CloseDate"), Picture("@D17B").Format(closeDateAfter));
        QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "TSK:CloseDate")), editable);
        QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "CloseDatePrompt")), editable);
        QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "PickCloseDate")), pickable);
        if (level == 1)
            return;
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateTask"));
        const std::vector<Record> tasks = Stored(*AccessTSK);
        QCOMPARE(tasks.size(), size_t(1));
        QCOMPARE(tasks[0].Value("TSK:CloseDate").toInt(), closeDateAfter);
        QCOMPARE(tasks[0].Value("TSK:Completed").toInt(), (completed + clicks) % 2);
    }

    // A user who may only view changes nothing: the dates do not step, the pickers are off.
    void aViewOnlyTaskKeepsItsDates()
    {
        CurrentUserAccess[AccessArea::Tasks] = 1;
        AddTask("Read the report", 1, {{"TSK:DueDate", TodayNumber}, {"TSK:Completed", 1}});
        WindowController* form = OpenForm("Tasks", "Change");
        QVERIFY(form);
        for (const char* name : {"TSK:CloseDate", "TSK:DueDate", "TSK:StartDate"}) {
            auto* spin = qobject_cast<QSpinBox*>(form->window.Widget(ControlNumber(*form, name)));
            QVERIFY2(spin->isReadOnly(), name);
            QCOMPARE(spin->singleStep(), 0);
            spin->stepUp();
        }
        for (const char* name : {"PickCloseDate", "PickDueDate", "PickStartDate", "High", "Medium", "Low"})
            QVERIFY2(!form->window.IsEnabled(ControlNumber(*form, name)), name);
        QCOMPARE(EntryText(*form, "TSK:DueDate"), Picture("@D17").Format(TodayNumber));
        QVERIFY(Checked(*form, "High"));
    }

    // The date spin box steps one day at a time and is blank for no date.
    void aDateSpinBoxStepsByOneDay()
    {
        AddTask("Book the flight");
        WindowController* form = OpenForm("Tasks", "Change");
        QVERIFY(form);
        auto* spin = qobject_cast<QSpinBox*>(form->window.Widget(ControlNumber(*form, "TSK:DueDate")));
        QCOMPARE(spin->text(), QString());
        QCOMPARE(spin->singleStep(), 1);
        spin->setValue(TodayNumber);
        spin->stepUp();
        WaitIdle();
        QCOMPARE(spin->text(), Picture("@D17").Format(TodayNumber + 1));
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateTask"));
        QCOMPARE(Stored(*AccessTSK).at(0).Value("TSK:DueDate").toInt(), TodayNumber + 1);
    }

    // A picker starts at the field's date, or today for none, and gives back the date it started at when
    // it is closed without a choice.
    void aDatePickerStartsAtTheDateOrToday_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("date");
        QTest::newRow("due, none") << "PickDueDate"
                                   << "TSK:DueDate"
                                   << "Select Task Due Date" << 0;
        QTest::newRow("start, a date") << "PickStartDate"
                                       << "TSK:StartDate"
                                       << "Select Task Star Date" << EarlierDay;
        QTest::newRow("close, none") << "PickCloseDate"
                                     << "TSK:CloseDate"
                                     << "Select Task Close Date" << 0;
    }
    void aDatePickerStartsAtTheDateOrToday()
    {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, title);
        QFETCH(int, date);
        AddTask("Book the flight", 2, {{field, date}, {"TSK:Completed", 1}});
        WindowController* form = OpenForm("Tasks", "Change");
        QVERIFY(form);
        Press(*form, button);
        WindowController* calendar = FindWindow("SelectDate");
        QVERIFY(calendar);
        QCOMPARE(calendar->window.Caption(), title);
        QCOMPARE(calendar->Thread(), form->Thread());
        Press(*calendar, "Cancel");
        QVERIFY(!FindWindow("SelectDate"));
        QCOMPARE(EntryText(*form, field), Picture("@D17").Format(date ? date : TodayNumber));
    }

    // A stored priority outside 1 to 3 is refused when the task is written; the form stays open as typed.
    void aPriorityOutsideTheListIsRefusedAndTheFormStaysOpen()
    {
        AddTask("Odd one", 7);
        WindowController* form = OpenForm("Tasks", "Change");
        QVERIFY(form);
        for (const char* name : {"High", "Medium", "Low"})
            QVERIFY(!Checked(*form, name));
        Type(*form, "TSK:Description", "Odd one, renamed");
        test::MessageRecorder boxes;
        Press(*form, "OK");
        QCOMPARE(boxes.Captions(), QStringList{"Value Error"});
        QCOMPARE(FindWindow("UpdateTask"), form);
        QCOMPARE(EntryText(*form, "TSK:Description"), QStringLiteral("Odd one, renamed"));
        Press(*form, "Low");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateTask"));
        QCOMPARE(Column(*FindWindow("Tasks"), 1), QStringList{"Odd one, renamed"});
        QCOMPARE(Column(*FindWindow("Tasks"), 4), QStringList{"Low"});
    }

    // Every entry takes at most its 255 characters.
    void anEntryTakesNoMoreThanItsWidth_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("entry");
        QTest::newRow("description") << "Tasks"
                                     << "TSK:Description";
        for (const char* entry :
             {"CON:FName", "CON:LName", "CON:Email", "CON:Web", "CON:Phone1", "CON:Street2", "CON:Country"})
            QTest::newRow(entry) << "Contacts" << entry;
    }
    void anEntryTakesNoMoreThanItsWidth()
    {
        QFETCH(QString, list);
        QFETCH(QString, entry);
        WindowController* form = OpenForm(list, "Insert");
        QVERIFY(form);
        auto* edit = qobject_cast<QLineEdit*>(form->window.Widget(ControlNumber(*form, entry)));
        QCOMPARE(edit->maxLength(), 255);
        edit->setText(QString(300, 'x'));
        QCOMPARE(edit->text().size(), 255);
    }

    // Mail and web take what is typed now, saved or not, also for a user who may only view; the address
    // goes to the shell as one argument.
    void mailAndWebOpenWhatIsTypedNow_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("handed");
        QTest::newRow("mail, typed") << 2 << "SendEmail"
                                     << "CON:Email"
                                     << "ada@example.org  "
                                     << "mailto:ada@example.org";
        QTest::newRow("mail, odd characters") << 2 << "SendEmail"
                                              << "CON:Email"
                                              << "a b;rm -rf ~\"@x"
                                              << "mailto:a b;rm -rf ~\"@x";
        QTest::newRow("web, no scheme") << 2 << "VisitWebSite"
                                        << "CON:Web"
                                        << "example.org/shop"
                                        << "example.org/shop";
        QTest::newRow("mail, view only") << 1 << "SendEmail"
                                         << "CON:Email"
                                         << ""
                                         << "mailto:stored@example.org";
        QTest::newRow("web, view only") << 1 << "VisitWebSite"
                                        << "CON:Web"
                                        << ""
                                        << "https://example.org";
    }
    void mailAndWebOpenWhatIsTypedNow()
    {
        QFETCH(int, level);
        QFETCH(QString, button);
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, handed);
        CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        AddContact("Lovelace", {{"CON:Email", "stored@example.org"}, {"CON:Web", "https://example.org"}});
        WindowController* form = OpenForm("Contacts", "Change");
        QVERIFY(form);
        if (!typed.isEmpty())
            Type(*form, entry, typed);
        test::MessageRecorder boxes;
        Press(*form, button);
        QCOMPARE(opened, QStringList{handed});
        QVERIFY(boxes.boxes.empty());
        QCOMPARE(FindWindow("UpdateContact"), form);
    }

    void anEmptyAddressSaysWhatIsMissing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("mail") << "SendEmail"
                              << "CON:Email"
                              << "Missing E-Mail Address"
                              << "Please enter an e-mail address for this contact.";
        QTest::newRow("web") << "VisitWebSite"
                             << "CON:Web"
                             << "Missing Web Site"
                             << "Please enter web site for this contact.";
    }
    void anEmptyAddressSaysWhatIsMissing()
    {
        QFETCH(QString, button);
        QFETCH(QString, entry);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        AddContact("Lovelace", {{"CON:Email", "ada@example.org"}, {"CON:Web", "example.org"}});
        WindowController* form = OpenForm("Contacts", "Change");
        QVERIFY(form);
        Type(*form, entry, "   "); // cleared by the user
        test::MessageRecorder boxes;
        Press(*form, button);
        QCOMPARE(boxes.Captions(), QStringList{caption});
        QCOMPARE(boxes.boxes[0].text, text);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(opened.isEmpty());
        QCOMPARE(form->window.FocusedControl(), ControlNumber(*form, entry));
    }

    // xdg-open exits with 3 when no program handles the address.
    void anAddressThatNothingOpensSaysSo()
    {
        shellExit = 3;
        AddContact("Lovelace", {{"CON:Email", "ada@example.org"}});
        WindowController* form = OpenForm("Contacts", "Change");
        QVERIFY(form);
        test::MessageRecorder boxes;
        Press(*form, "SendEmail");
        QCOMPARE(boxes.Captions(), QStringList{"Error Launching Document"});
        QCOMPARE(FindWindow("UpdateContact"), form);
    }

    // A new contact is written with what was typed and shows in the list.
    void aNewContactIsWrittenAndListed()
    {
        WindowController* form = OpenForm("Contacts", "Insert");
        QVERIFY(form);
        Type(*form, "CON:FName", "Grace");
        Type(*form, "CON:LName", "Hopper");
        Type(*form, "CON:City", "Arlington");
        Type(*form, "CON:Notes", "Admiral");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateContact"));
        WindowController* list = FindWindow("Contacts");
        QCOMPARE(Column(*list, 1), QStringList{"Hopper"});
        QCOMPARE(Column(*list, 4), QStringList{"Arlington"});
        QCOMPARE(Column(*list, 7), QStringList{"me"});
    }

    // With definitions for the record type, the Misc tab shows a row per shown field under its note; a new
    // record starts with the defaults, and a user who may only view cannot change them.
    void theMiscTabShowsTheUserDefinedFields_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("recordType");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("value");
        QTest::newRow("task, insert") << "Tasks" << 3 << "Insert" << 2 << "default 2";
        QTest::newRow("task, view only") << "Tasks" << 3 << "Change" << 1 << "stored";
        QTest::newRow("contact, insert") << "Contacts" << 4 << "Insert" << 2 << "default 2";
        QTest::newRow("contact, view only") << "Contacts" << 4 << "Change" << 1 << "stored";
    }
    void theMiscTabShowsTheUserDefinedFields()
    {
        QFETCH(QString, list);
        QFETCH(int, recordType);
        QFETCH(QString, button);
        QFETCH(int, level);
        QFETCH(QString, value);
        CurrentUserAccess[AccessArea::Tasks] = CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        DefineMiscFields(recordType);
        AddTask("Pay the rent", 2, {{"TSK:Misc2", "stored"}});
        AddContact("Lovelace", {{"CON:Misc2", "stored"}});
        WindowController* form = OpenForm(list, button);
        QVERIFY(form);
        const QString field = (list == "Tasks" ? "TSK:Misc" : "CON:Misc");
        auto* second = qobject_cast<QLineEdit*>(form->window.Widget(ControlNumber(*form, field + "2")));
        auto* fifth = qobject_cast<QLineEdit*>(form->window.Widget(ControlNumber(*form, field + "5")));
        QVERIFY(second && fifth);
        QVERIFY(!form->window.ControlNumber(field + "1"));
        QCOMPARE(second->text(), value);
        QCOMPARE(second->isReadOnly(), level == 1);
        auto* tabs = qobject_cast<QTabWidget*>(form->window.Widget(form->window.ControlNumber("Sheet")));
        tabs->setCurrentIndex(1);
        CheckPicture(*form, form->ProcedureName() + " Misc with fields " + QTest::currentDataTag());
        QVERIFY(second->mapTo(form->window.Root(), QPoint()).y() <
                fifth->mapTo(form->window.Root(), QPoint()).y());
    }

    void printHandsTheAreaAndTheNumberToThePrintOptions_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("area");
        QTest::newRow("tasks") << "Tasks" << 2;
        QTest::newRow("contacts") << "Contacts" << 3;
    }
    void printHandsTheAreaAndTheNumberToThePrintOptions()
    {
        QFETCH(QString, list);
        QFETCH(int, area);
        AddTask("First");
        AddTask("Second");
        AddContact("First");
        AddContact("Second");
        WindowController* window = Open(list);
        PickRow(*window, ControlNumber(*window, "List"), 1);
        Press(*window, "Print");
        QCOMPARE(printed.size(), size_t(1));
        QCOMPARE(printed[0].area, area);
        FileManager* access = list == "Tasks" ? AccessTSK : AccessCON;
        QCOMPARE(printed[0].number, access->Buffer().Value(list == "Tasks" ? "TSK:Num" : "CON:Num").toInt());
        QVERIFY(printed[0].number > 0);
    }

    // A select list: a user who may only view may choose too; the record chosen is in the caller's buffer;
    // Cancel answers "cancelled". Another user's private record is in no list.
    void aSelectListLeavesTheChosenRecordInTheCallersBuffer_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("response");
        QTest::addColumn<QString>("chosen");
        for (const char* procedure : {"SelectTask", "SelectContact"}) {
            const QString name(procedure);
            QTest::newRow(qPrintable(name + ", select")) << name << 2 << "Select" << 1 << "Second";
            QTest::newRow(qPrintable(name + ", view only, select")) << name << 1 << "Select" << 1 << "Second";
            QTest::newRow(qPrintable(name + ", a double click")) << name << 1 << "List" << 1 << "Second";
            QTest::newRow(qPrintable(name + ", cancel")) << name << 2 << "Cancel" << 2 << "";
        }
    }
    void aSelectListLeavesTheChosenRecordInTheCallersBuffer()
    {
        QFETCH(QString, procedure);
        QFETCH(int, level);
        QFETCH(QString, button);
        QFETCH(int, response);
        QFETCH(QString, chosen);
        const bool tasks = procedure == "SelectTask";
        CurrentUserAccess[AccessArea::Tasks] = CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        const QString field = tasks ? "TSK:Description" : "CON:LName";
        FileManager* access = tasks ? AccessTSK : AccessCON;
        const QString prefix = tasks ? "TSK:" : "CON:";
        Add(*access, {{{field, "First"}},
                      {{field, "Hidden"}, {prefix + "Private", 1}, {prefix + "UniqueID", Another}},
                      {{field, "Mine"}, {prefix + "Private", 1}},
                      {{field, "Second"}}});
        int answer = -1;
        QString buffer;
        Start([&] {
            access->GetTable().ClearBuffer();
            CurrentContext().GlobalRequestCode = Request::Select;
            CallProcedure(procedure);
            answer = CurrentContext().GlobalResponseCode;
            buffer = access->Buffer().Value(field).toString();
        });
        WindowController* window = FindWindow(procedure);
        QVERIFY(window);
        QCOMPARE(window->window.FocusedControl(), ControlNumber(*window, "List"));
        QCOMPARE(Column(*window, 1), (QStringList{"First", "Mine", "Second"}));
        QCOMPARE(Caption(*window, "Select"), QStringLiteral("&Select"));
        if (tasks)
            QCOMPARE(window->window.ListModel(ControlNumber(*window, "List"))->columnCount(), 6);
        else
            QCOMPARE(window->window.ListModel(ControlNumber(*window, "List"))->columnCount(), 7);
        CheckPicture(*window, procedure + " " + QTest::currentDataTag());
        PickRow(*window, ControlNumber(*window, "List"), 2);
        Press(*window, button);
        QVERIFY(!FindWindow(procedure));
        QCOMPARE(answer, response);
        if (response == Response::Completed)
            QCOMPARE(buffer, chosen);
    }

    // Opening a select list while its list window is open shows both; the list keeps its registry entry.
    void aSelectListOpensBesideItsListWindow()
    {
        AddTask("First");
        WindowController* list = Open("Tasks");
        QVERIFY(list);
        const ThreadNumber entry = WindowThreadRegistry[WindowKind::Tasks];
        QCOMPARE(entry, list->Thread());
        StartProcedureThread([] {
            CurrentContext().GlobalRequestCode = Request::Select;
            CallProcedure(QStringLiteral("SelectTask"));
        });
        WaitIdle();
        WindowController* select = FindWindow("SelectTask");
        QVERIFY(select);
        QCOMPARE(FindWindow("Tasks"), list);
        Press(*select, "Cancel");
        QCOMPARE(WindowThreadRegistry[WindowKind::Tasks], entry);
    }
};

QTEST_MAIN(TasksAndContactsTest)
#include "tst_TasksAndContacts.moc"
