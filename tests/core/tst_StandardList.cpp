#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/SelectList.h"
#include "core/SharedState.h"
#include "core/StandardForm.h"
#include "core/StandardList.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include "core/WindowTest.h"
#include "platform/framework/WindowDriver.h"

#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;

Q_DECLARE_METATYPE(std::function<void()>)

namespace {

constexpr qint32 Me = 501;
constexpr qint32 Another = 502;

// What the test form does on its own; each test sets what it needs.
struct FormSetup
{
    bool refuseSave = false;
};
FormSetup formSetup;
int lastFormResponse = 0;

// A contact form built on the base: names, company and the private box.
class ContactForm : public StandardForm
{
public:
    int lastName, firstName, company, privateBox, nextButton, okButton, cancelButton;

    ContactForm() : StandardForm(QStringLiteral("ContactForm"), QStringLiteral("Contact"))
    {
        lastName = window.Entry(BindField(*AccessCON, "CON:LName"), "@s40").Name("LastName");
        firstName = window.Entry(BindField(*AccessCON, "CON:FName"), "@s40").Name("FirstName");
        company = window.Entry(BindField(*AccessCON, "CON:Company"), "@s40").Name("Company");
        privateBox = window.Check("Private", BindField(*AccessCON, "CON:Private")).Name("Private");
        window.Buttons([&] {
            nextButton = window.Button("Next").Name("Next");
            okButton = window.Button("OK").Name("OK");
            cancelButton = window.Button("Cancel").Name("Cancel");
        });
        CheckAccess(CurrentUserAccess[AccessArea::Contacts], QStringLiteral("Contacts"), true);
        SetRecord(*RelationsCON);
        SetButtons(okButton, cancelButton);
        SetNameField(QStringLiteral("CON:LName"));
        SetPrivateBox(privateBox);
        NoHelp();
    }

    Record atOpen; // the record as the form opened with it

    // Next: saves the record and asks the list for the next one.
    int OnAccepted(int control) override
    {
        if (control == nextButton) {
            *VCRREQUEST = VcrRequest::Down;
            Post(Event::Completed);
            return Level::Handled;
        }
        return StandardForm::OnAccepted(control);
    }

protected:
    int ValidateRecord() override { return formSetup.refuseSave ? int(Level::Handled) : int(Level::GoOn); }
    void SetUpWindow() override
    {
        StandardForm::SetUpWindow();
        atOpen = Buffer();
    }
};

// A contact list built on the base, ordered by last name or company as its sheet's tab says.
class ContactList : public StandardList
{
public:
    View view{AccessCON->GetTable()};
    StandardBrowseList brw;
    ListLocator byName, byCompany;
    QString find;
    int findEntry, bottomTool, sheet, list, insertButton, changeButton, deleteButton, copyButton, printButton,
        closeButton;
    std::vector<qint32> printed;

    ContactList() : StandardList(QStringLiteral("ContactList"), QStringLiteral("Contacts"))
    {
        window.Toolbar([&] { bottomTool = window.Tool("Last", "vcrlast.gif").Name("Last"); });
        toolbar.SetButton(bottomTool, ToolbarAction::Bottom);
        findEntry = window.Entry(Bind(find), "@s20").Name("Find");
        sheet = window.Sheet([&] {
            window.Tab("Last Name", [] {});
            window.Tab("Company", [] {});
        });
        list = window.List({{"Last Name", {}, Qt::AlignLeft},
                            {"First Name", {}, Qt::AlignLeft},
                            {"Company", {}, Qt::AlignLeft},
                            {"", {}, Qt::AlignLeft}});
        window.Buttons([&] {
            insertButton = window.Button("&Insert").Name("Insert");
            changeButton = window.Button("&Change").Name("Change");
            deleteButton = window.Button("&Delete").Name("Delete");
            copyButton = window.Button("Copy").Name("Copy");
            printButton = window.Button("Print").Name("Print");
            closeButton = window.Button("Close").Name("Close");
        });
        SetArea(CurrentUserAccess[AccessArea::Contacts], QStringLiteral("Contacts"));
        RegisterKind(WindowThreadRegistry[WindowKind::Contacts]);
        UseTable(*RelationsCON);
        NoHelp();
        SetList(brw, view, *RelationsCON, list);
        list_->SetButtons({.insert = insertButton,
                           .change = changeButton,
                           .remove = deleteButton,
                           .copy = copyButton,
                           .print = printButton});
        SetSheet(sheet);
        SetForm([] { lastFormResponse = RunProcedure<ContactForm>(); });
        SetPrint([this](qint32 number) { printed.push_back(number); });
    }

    int Init() override
    {
        if (const int level = StandardList::Init())
            return level;
        AddButtonAction(closeButton, Response::Cancelled);
        return Level::GoOn;
    }

    QStringList Names() const
    {
        QStringList names;
        for (int row = 0; row < brw.RowCount(); ++row)
            names << brw.Row(row)->texts.value(0);
        return names;
    }
    QString SelectedName() const { return brw.Selected() ? brw.Selected()->texts.value(0) : QString(); }

protected:
    void SetUpListOrders() override
    {
        const Table& table = view.ViewTable();
        brw.AddOrder(table.KeyIndex("CON:LNameK"));
        brw.SetLocator(byName);
        byName.Init(0, QStringLiteral("CON:LName"), true, brw);
        brw.AddOrder(table.KeyIndex("CON:CompanyK"));
        brw.SetLocator(byCompany);
        byCompany.Init(findEntry, QStringLiteral("CON:Company"), true, brw);
        brw.SetPrivateFields(QStringLiteral("CON:Private"), QStringLiteral("CON:UniqueID"));
        brw.MapField(QStringLiteral("CON:LName"), 0);
        brw.MapField(QStringLiteral("CON:FName"), 1);
        brw.MapField(QStringLiteral("CON:Company"), 2);
        brw.MapIcon(QStringLiteral("CON:Private"), 3);
        brw.SetIcons({QStringLiteral("~private.bmp")});
    }
};

// A window of another thread: counts the presses of its one button.
int otherPressed = 0;
class OtherWindow : public WindowController
{
public:
    OtherWindow() : WindowController(QStringLiteral("Other"), QStringLiteral("Other"))
    {
        window.Button("Press me");
    }
    int Init() override
    {
        if (const int level = WindowController::Init())
            return level;
        ShowWindow();
        return Level::GoOn;
    }
    int OnAccepted(int control) override
    {
        if (control == 1)
            ++otherPressed;
        return WindowController::OnAccepted(control);
    }
};

// Chooses a contact for its caller.
class SelectContact : public SelectList
{
public:
    View view{AccessCON->GetTable()};
    StandardBrowseList brw;
    int list, selectButton, cancelButton;

    SelectContact() : SelectList(QStringLiteral("SelectContact"), QStringLiteral("Select a Contact"))
    {
        list = window.List({{"Last Name", {}, Qt::AlignLeft}});
        window.Buttons([&] {
            selectButton = window.Button("&Select").Name("Select");
            cancelButton = window.Button("Cancel").Name("Cancel");
        });
        SetArea(CurrentUserAccess[AccessArea::Contacts], QStringLiteral("Contacts"));
        RegisterKind(WindowThreadRegistry[WindowKind::Contacts]);
        UseTable(*RelationsCON);
        NoHelp();
        SetList(brw, view, *RelationsCON, list);
        SetSelectButtons(selectButton, cancelButton);
    }

protected:
    void SetUpListOrders() override
    {
        brw.AddOrder(view.ViewTable().KeyIndex("CON:LNameK"));
        brw.SetPrivateFields(QStringLiteral("CON:Private"), QStringLiteral("CON:UniqueID"));
        brw.MapField(QStringLiteral("CON:LName"), 0);
    }
};

ContactList* OpenList()
{
    return static_cast<ContactList*>(FindWindow(QStringLiteral("ContactList")));
}

ContactForm* OpenForm()
{
    return static_cast<ContactForm*>(FindWindow(QStringLiteral("ContactForm")));
}

Table& Contacts()
{
    return AccessCON->GetTable();
}

struct Contact
{
    QString lastName;
    QString company = {};
    int flag = 0;
    qint32 creator = Me;
};

// Writes contacts straight into the table, numbered after the highest number given.
void AddContacts(const std::vector<Contact>& contacts)
{
    std::vector<test::Fields> records;
    for (const Contact& contact : contacts)
        records.push_back({{"CON:LName", contact.lastName},
                           {"CON:FName", "F " + contact.lastName},
                           {"CON:Company", contact.company},
                           {"CON:Private", contact.flag},
                           {"CON:UniqueID", contact.creator},
                           {"CON:CreateLoginID", contact.creator == Me ? "me" : "other"}});
    test::InsertNumbered(Contacts(), records);
}

// Contacts "Name 000", "Name 001" ... with numbers of so many digits.
std::vector<Contact> Numbered(int count, int digits)
{
    std::vector<Contact> contacts;
    for (int i = 0; i < count; ++i)
        contacts.push_back({QStringLiteral("Name %1").arg(i, digits, 10, QLatin1Char('0'))});
    return contacts;
}

qint64 ContactCount()
{
    qint64 count = -1;
    Contacts().RecordCount(count);
    return count;
}

} // namespace

class StandardListTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;
    int formResponse = 0;

    ContactList* StartList()
    {
        Start([] { RunProcedure<ContactList>(); });
        return OpenList();
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsCON})); // the test's own hold, to write and count records
        SetFixedClock(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        formSetup = {};
        CurrentUserAccess[AccessArea::Contacts] = 2;
        CurrentUserUniqueID = Me;
        UsrAccess::LoginID = QStringLiteral("me");
        test::RemoveAll(*AccessCON);
    }
    void cleanup()
    {
        if (ContactForm* form = OpenForm()) {
            form->CANCELACTION = 0; // a form left open asks nothing on the way out
            Press(*form, form->cancelButton);
        }
        if (WindowController* select = FindWindow(QStringLiteral("SelectContact")))
            Press(*select, QStringLiteral("Cancel"));
        if (ContactList* list = OpenList())
            Press(*list, list->closeButton);
        QVERIFY(!OpenForm());
        QVERIFY(!OpenList());
    }

    void aUserWhoMayOnlyViewGetsViewAndNoUpdates_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("view only") << 1;
        QTest::newRow("full") << 2;
    }
    void aUserWhoMayOnlyViewGetsViewAndNoUpdates()
    {
        QFETCH(int, level);
        const bool full = level == 2;
        CurrentUserAccess[AccessArea::Contacts] = quint8(level);
        AddContacts({{"Adams"}, {"Baker"}});
        ContactList* list = StartList();
        QVERIFY(list);
        QCOMPARE(list->window.Label(list->changeButton),
                 full ? QStringLiteral("&Change") : QStringLiteral("View"));
        for (const int button : {list->insertButton, list->deleteButton, list->copyButton})
            QCOMPARE(list->window.IsEnabled(button), full);
        QVERIFY(list->window.IsEnabled(list->changeButton));
        QVERIFY(list->window.IsEnabled(list->printButton));
        QCOMPARE(list->brw.Popup().HasItem("Copy"), full);
        QCOMPARE(list->brw.Popup().HasItem("Print"), full);

        Press(*list, list->changeButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.Caption(),
                 full ? QStringLiteral("Record will be Changed  (Adams)") : QStringLiteral("View Record"));
        QCOMPARE(form->window.IsHidden(form->okButton), !full);
        auto* entry = qobject_cast<QLineEdit*>(form->window.Widget(form->lastName));
        QCOMPARE(entry->isReadOnly(), !full);
        // Completing a view-only form still returns "cancelled".
        lastFormResponse = 0;
        if (full)
            Press(*form, form->cancelButton);
        else
            PostEvent(Event::Completed, 0, form->Thread());
        WaitIdle();
        QVERIFY(!OpenForm());
        QCOMPARE(lastFormResponse, int(Response::Cancelled));
    }

    void anotherUsersPrivateRecordIsNeverListed()
    {
        AddContacts({{"Adams", {}, 0, Another},
                     {"Baker", {}, 1, Another},
                     {"Clark", {}, 7, Another},
                     {"Dixon", {}, 1, Me}});
        ContactList* list = StartList();
        QCOMPARE(list->Names(), (QStringList{"Adams", "Dixon"}));
    }

    void thePrivateBoxIsForTheCreatorOnly_data()
    {
        QTest::addColumn<int>("creator");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("own record") << int(Me) << true;
        QTest::newRow("another user's record") << int(Another) << false;
    }
    void thePrivateBoxIsForTheCreatorOnly()
    {
        QFETCH(int, creator);
        QFETCH(bool, enabled);
        AddContacts({{"Adams", {}, 0, creator}});
        ContactList* list = StartList();
        Press(*list, list->changeButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.IsEnabled(form->privateBox), enabled);
    }

    void copyIsDisabledOnAnEmptyList()
    {
        ContactList* list = StartList();
        QCOMPARE(list->brw.RowCount(), 0);
        QVERIFY(!list->window.IsEnabled(list->copyButton));
        QVERIFY(!list->window.IsEnabled(list->printButton));
        QVERIFY(!list->window.IsEnabled(list->changeButton));
        QVERIFY(list->window.IsEnabled(list->insertButton));
    }

    void copyOpensTheInsertFormWithTheHighlightedRecordsValues()
    {
        AddContacts({{"Adams", "Acme", 1, Me}, {"Baker", "Bolt"}});
        SetFixedClock(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
        ContactList* list = StartList();
        PickRow(*list, list->list, 0);
        const qint32 sourceNumber = list->brw.Selected()->record.Long(Contacts().FieldIndex("CON:Num"));
        Press(*list, list->copyButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Added  (New)"));
        const Record buffer = form->atOpen;
        QCOMPARE(buffer.Value("CON:LName").toString(), QStringLiteral("Adams"));
        QCOMPARE(buffer.Value("CON:Company").toString(), QStringLiteral("Acme"));
        QVERIFY(buffer.Value("CON:Num").toInt() > list->brw.Row(1)->record.Value("CON:Num").toInt());
        QVERIFY(buffer.Value("CON:Num").toInt() > sourceNumber);
        QCOMPARE(buffer.Value("CON:Private").toInt(), 0); // the field default
        QCOMPARE(buffer.Value("CON:CreateDate").toInt(), DayNumberFromDate(QDate(2026, 3, 15)));
        QCOMPARE(buffer.Value("CON:CreateLoginID").toString(), QStringLiteral("me"));
        Press(*form, form->okButton);
        QVERIFY(!OpenForm());
        QCOMPARE(ContactCount(), 3);
        QCOMPARE(list->Names(), (QStringList{"Adams", "Adams", "Baker"}));
        QCOMPARE(list->brw.Selected()->record.Value("CON:Num").toInt(), buffer.Value("CON:Num").toInt());
    }

    void closingTheInsertForm_data()
    {
        QTest::addColumn<int>("cancelAction");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<int>("contacts");
        const QList<int> none;
        const int yes = MessageButton::Yes, no = MessageButton::No, cancel = MessageButton::Cancel;
        QTest::newRow("unchanged: no question, no row")
            << 3 << QString() << none << QStringList{} << false << 1;
        QTest::newRow("changed, No: closes without the row")
            << 3 << "Evans" << QList<int>{no} << QStringList{"Save Record"} << false << 1;
        QTest::newRow("changed, Cancel: stays open")
            << 3 << "Evans" << QList<int>{cancel} << QStringList{"Save Record"} << true << 2;
        QTest::newRow("changed, Yes: saved")
            << 3 << "Evans" << QList<int>{yes} << QStringList{"Save Record"} << false << 2;
        QTest::newRow("offer to save only: saved without a question")
            << 1 << "Evans" << none << QStringList{} << false << 2;
        QTest::newRow("ask only, Yes: closes without the row")
            << 2 << "Evans" << QList<int>{yes} << QStringList{"Changes will be lost!"} << false << 1;
        QTest::newRow("ask only, No: stays open")
            << 2 << "Evans" << QList<int>{no} << QStringList{"Changes will be lost!"} << true << 2;
    }
    void closingTheInsertForm()
    {
        QFETCH(int, cancelAction);
        QFETCH(QString, typed);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, stillOpen);
        QFETCH(int, contacts);
        AddContacts({{"Adams"}});
        ContactList* list = StartList();
        Press(*list, list->insertButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(ContactCount(), 2); // the row added for the new record's number
        form->CANCELACTION = cancelAction;
        if (!typed.isEmpty())
            Type(*form, form->lastName, typed);
        test::MessageRecorder boxes;
        boxes.answers = answers;
        Press(*form, form->cancelButton);
        QCOMPARE(boxes.Captions(), asked);
        if (asked == QStringList{"Save Record"}) {
            QCOMPARE(boxes.boxes[0].text, QStringLiteral("Do you want to save the changes to this record?"));
            QCOMPARE(boxes.boxes[0].buttons,
                     int(MessageButton::Yes | MessageButton::No | MessageButton::Cancel));
            QCOMPARE(boxes.boxes[0].defaultButton, int(MessageButton::Cancel));
        } else if (!asked.isEmpty()) {
            QCOMPARE(boxes.boxes[0].text, QStringLiteral("Are you sure you want to cancel?"));
        }
        QCOMPARE(bool(OpenForm()), stillOpen);
        QCOMPARE(ContactCount(), qint64(contacts));
        if (stillOpen)
            QCOMPARE(qobject_cast<QLineEdit*>(form->window.Widget(form->lastName))->text(), typed);
    }

    // Insert, OK; Insert again, Cancel, No: the record written before stays, in the table and the list.
    void aCancelledInsertKeepsTheRecordWrittenBefore_data()
    {
        QTest::addColumn<bool>("insertedBefore");
        QTest::newRow("the first insert of the window") << false;
        QTest::newRow("after a record was added in the same window") << true;
    }
    void aCancelledInsertKeepsTheRecordWrittenBefore()
    {
        QFETCH(bool, insertedBefore);
        AddContacts({{"Adams"}});
        ContactList* list = StartList();
        if (insertedBefore) {
            Press(*list, list->insertButton);
            Type(*OpenForm(), OpenForm()->lastName, "Baker");
            Press(*OpenForm(), OpenForm()->okButton);
            QVERIFY(!OpenForm());
        }
        Press(*list, list->insertButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        Type(*form, form->lastName, "Evans");
        test::MessageRecorder boxes;
        boxes.answers = {MessageButton::No};
        Press(*form, form->cancelButton);
        QCOMPARE(boxes.Captions(), QStringList{"Save Record"});
        QVERIFY(!OpenForm());
        const QStringList kept = insertedBefore ? QStringList{"Adams", "Baker"} : QStringList{"Adams"};
        QCOMPARE(ContactCount(), qint64(kept.size()));
        QCOMPARE(list->Names(), kept);
    }

    void aRefusedSaveKeepsTheValuesEntered()
    {
        ContactList* list = StartList();
        Press(*list, list->insertButton);
        ContactForm* form = OpenForm();
        formSetup.refuseSave = true;
        Type(*form, form->lastName, "Evans");
        Press(*form, form->okButton);
        QCOMPARE(OpenForm(), form);
        QCOMPARE(qobject_cast<QLineEdit*>(form->window.Widget(form->lastName))->text(),
                 QStringLiteral("Evans"));
        formSetup.refuseSave = false;
        Press(*form, form->okButton);
        QVERIFY(!OpenForm());
        QCOMPARE(list->Names(), QStringList{"Evans"});
    }

    void deleteAsksAndNeverOpensTheForm_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("Yes deletes") << int(MessageButton::Yes) << QStringList{"Baker"};
        QTest::newRow("No keeps") << int(MessageButton::No) << QStringList{"Adams", "Baker"};
    }
    void deleteAsksAndNeverOpensTheForm()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        AddContacts({{"Adams"}, {"Baker"}});
        ContactList* list = StartList();
        test::MessageRecorder boxes;
        boxes.answers = {answer};
        bool formSeen = false;
        boxes.onShow = [&](const MessageBoxRequest&) { formSeen = OpenForm() && OpenForm()->IsOpen(); };
        Press(*list, list->deleteButton);
        QCOMPARE(boxes.Captions(), QStringList{"Confirm Delete"});
        QCOMPARE(boxes.boxes[0].text,
                 QStringLiteral("Are you sure you want to delete the highlighted record?"));
        QVERIFY(!formSeen);
        QCOMPARE(list->Names(), left);
    }

    void aFormLeavesOtherThreadsUsableAndItsListWaitsForIt()
    {
        AddContacts({{"Baker"}, {"Dixon"}});
        ContactList* list = StartList();
        Press(*list, list->insertButton);
        ContactForm* form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->Thread(), list->Thread());

        // Another thread's window works while the form is open.
        otherPressed = 0;
        Start([] { RunProcedure<OtherWindow>(); });
        WindowController* other = FindWindow(QStringLiteral("Other"));
        QVERIFY(other);
        QVERIFY(other->window.Root()->isEnabled());
        Press(*other, 1);
        QCOMPARE(otherPressed, 1);
        PostEvent(Event::CloseWindow, 0, other->Thread());
        WaitIdle();
        QVERIFY(!FindWindow(QStringLiteral("Other")));

        // A refresh while the form is open leaves the list as it was.
        AddContacts({{"Adams"}});
        BroadcastRefresh();
        WaitIdle();
        QCOMPARE(list->Names(), (QStringList{"Baker", "Dixon"}));

        Type(*form, form->lastName, "Carter");
        Press(*form, form->okButton);
        QVERIFY(!OpenForm());
        QCOMPARE(list->Names(), (QStringList{"Adams", "Baker", "Carter", "Dixon"}));
        QCOMPARE(list->SelectedName(), QStringLiteral("Carter"));
    }

    void nextInTheFormSavesAndStepsToTheNextRow()
    {
        AddContacts({{"Adams"}, {"Baker"}, {"Clark"}});
        ContactList* list = StartList();
        PickRow(*list, list->list, 1);
        Press(*list, list->changeButton);
        ContactForm* form = OpenForm();
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Changed  (Baker)"));
        Type(*form, form->company, "Bolt");
        Press(*form, form->nextButton);
        form = OpenForm();
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Changed  (Clark)"));
        QCOMPARE(list->brw.Row(1)->texts[2], QStringLiteral("Bolt"));
        // At the last row there is nothing to step to: the form closes.
        Press(*form, form->nextButton);
        QVERIFY(!OpenForm());
        QCOMPARE(list->SelectedName(), QStringLiteral("Clark"));
    }

    void printHandsOverTheHighlightedRecordsNumber_data()
    {
        QTest::addColumn<bool>("fromPopup");
        QTest::newRow("Print button") << false;
        QTest::newRow("popup item") << true;
    }
    void printHandsOverTheHighlightedRecordsNumber()
    {
        QFETCH(bool, fromPopup);
        AddContacts({{"Adams"}, {"Baker"}});
        ContactList* list = StartList();
        PickRow(*list, list->list, 1);
        if (fromPopup) {
            const QList<QAction*> items = list->brw.Popup().Menu()->actions();
            QCOMPARE(items.size(), 2);
            QCOMPARE(items[1]->text(), QStringLiteral("Print"));
            items[1]->trigger();
            WaitIdle();
        } else {
            Press(*list, list->printButton);
        }
        QCOMPARE(list->printed.size(), size_t(1));
        QCOMPARE(list->printed[0], list->brw.Row(1)->record.Long(Contacts().FieldIndex("CON:Num")));
    }

    void aPrivateRowShowsItsIcon()
    {
        QTemporaryDir images;
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(images.filePath(QStringLiteral("~PRIVATE.BMP")), "BMP"));
        WindowDescription::SetImageFolder(images.path());
        AddContacts({{"Adams", {}, 0, Me}, {"Baker", {}, 1, Me}});
        ContactList* list = StartList();
        QAbstractItemModel* model = list->window.ListModel(list->list);
        QCOMPARE(list->brw.Row(0)->icons[3], 0);
        QCOMPARE(list->brw.Row(1)->icons[3], 1);
        QVERIFY(model->data(model->index(0, 3), Qt::DecorationRole).isNull());
        QVERIFY(!model->data(model->index(1, 3), Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(model->data(model->index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("Baker"));
        WindowDescription::SetImageFolder({});
    }

    void aSelectListLeavesTheChosenRecordInTheCallersBuffer_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("response");
        QTest::addColumn<QString>("inBuffer");
        QTest::newRow("Select") << "Select" << int(Response::Completed) << "Baker";
        QTest::newRow("Cancel") << "Cancel" << int(Response::Cancelled) << "";
    }
    void aSelectListLeavesTheChosenRecordInTheCallersBuffer()
    {
        QFETCH(QString, button);
        QFETCH(int, response);
        QFETCH(QString, inBuffer);
        AddContacts({{"Adams"}, {"Baker"}, {"Clark", {}, 1, Another}});
        int answered = 0;
        QString chosen;
        Start([&] {
            RelationsCON->Open();
            AccessCON->Buffer().Clear();
            CurrentContext().GlobalRequestCode = Request::Select;
            answered = RunProcedure<SelectContact>();
            chosen = response == Response::Completed
                         ? AccessCON->Buffer().Text(Contacts().FieldIndex("CON:LName"))
                         : QString();
            RelationsCON->Close();
        });
        WindowController* select = FindWindow(QStringLiteral("SelectContact"));
        QVERIFY(select);
        QCOMPARE(WindowThreadRegistry[WindowKind::Contacts], 0);
        PickRow(*select, static_cast<SelectContact*>(select)->list, 1);
        Press(*select, button);
        QVERIFY(!FindWindow(QStringLiteral("SelectContact")));
        QCOMPARE(answered, response);
        QCOMPARE(chosen, inBuffer);
    }

    void theSheetsTabChoosesTheOrder()
    {
        AddContacts({{"Adams", "Zeta"}, {"Baker", "Alpha"}});
        ContactList* list = StartList();
        QCOMPARE(list->Names(), (QStringList{"Adams", "Baker"}));
        PickTab(*list, list->sheet, 2);
        QCOMPARE(list->Names(), (QStringList{"Baker", "Adams"}));
        QCOMPARE(list->brw.Order(), 2);
    }

    void typingInTheListFindsTheFirstMatchWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("lower case") << "sm"
                                    << "smart";
        QTest::newRow("mixed case") << "sMi"
                                    << "Smith";
        QTest::newRow("upper case") << "SMY"
                                    << "Smyth";
        QTest::newRow("beyond the last") << "zz"
                                         << "Young";
        QTest::newRow("before the first") << "a"
                                          << "Adams";
    }
    void typingInTheListFindsTheFirstMatchWithoutRegardToCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        AddContacts({{"Adams"}, {"Baker"}, {"smart"}, {"Smith"}, {"Smyth"}, {"Young"}});
        ContactList* list = StartList();
        QTest::keyClicks(list->window.Widget(list->list), typed);
        WaitIdle();
        QCOMPARE(list->byName.Text(), typed);
        QCOMPARE(list->SelectedName(), found);
    }

    void typingIntoTheLocatorsEntryFindsTheCompany()
    {
        AddContacts({{"Adams", "Zeta"}, {"Baker", "Alpha"}, {"Clark", "bolt"}, {"Dixon", "Crane"}});
        ContactList* list = StartList();
        PickTab(*list, list->sheet, 2);
        Type(*list, list->findEntry, "BO");
        QCOMPARE(list->byCompany.Text(), QStringLiteral("BO"));
        QCOMPARE(list->SelectedName(), QStringLiteral("Clark"));
    }

    // A refresh tick re-reads a list only when its file has changed, and keeps the user's first visible row
    // and highlighted record where they were.
    void aRefreshKeepsTheFirstVisibleRowAndReadsOnlyAfterAChange_data()
    {
        QTest::addColumn<std::function<void()>>("change");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("first");
        const auto remove = [](const QString& name) {
            Table& table = Contacts();
            View all(table);
            std::vector<ViewRow> rows;
            all.Read({}, Direction::Forward, 1000, rows);
            for (const ViewRow& row : rows) {
                if (row.record.Value("CON:LName").toString() == name) {
                    QVERIFY(table.FetchRow(row.position.rowId));
                    QVERIFY(table.Delete());
                }
            }
        };
        QTest::newRow("nothing changed: nothing read") << std::function<void()>([] {}) << false << "Name 040"
                                                       << "Name 000";
        QTest::newRow("records added above and below the top row") << std::function<void()>([] {
            AddContacts({{"Aaron"}, {"Name 040a"}});
        }) << true << "Name 040"
                                                                   << "Aaron";
        QTest::newRow("the top row deleted: the next takes its place")
            << std::function<void()>([remove] { remove("Name 040"); }) << true << "Name 041"
            << "Name 000";
    }
    void aRefreshKeepsTheFirstVisibleRowAndReadsOnlyAfterAChange()
    {
        QFETCH(std::function<void()>, change);
        QFETCH(bool, reads);
        QFETCH(QString, top);
        QFETCH(QString, first);
        AddContacts(Numbered(150, 3));
        ContactList* list = StartList();
        list->window.Root()->resize(600, 400);
        WaitIdle();
        auto* tree = qobject_cast<QTreeView*>(list->window.Widget(list->list));
        PickRow(*list, list->list, 42);
        tree->scrollTo(tree->model()->index(40, 0), QAbstractItemView::PositionAtTop);
        WaitIdle();
        const auto topName = [&] { return list->brw.Row(tree->indexAt(QPoint(0, 0)).row())->texts.value(0); };
        QCOMPARE(topName(), QStringLiteral("Name 040"));
        const int pages = list->brw.PagesRead();

        change();
        PostEvent(RefreshEvent, 0, list->Thread());
        WaitIdle();
        QCOMPARE(list->brw.PagesRead() > pages, reads);
        QCOMPARE(topName(), top);
        QCOMPARE(list->SelectedName(), QStringLiteral("Name 042"));
        QCOMPARE(list->brw.Row(0)->texts.value(0), first);
    }

    // A value that the list's filter names is read at each tick: when it has changed, the list reads again.
    void aRefreshReadsAgainWhenAValueTheFilterNamesChanges()
    {
        AddContacts({{"Adams"}, {"Baker"}});
        ContactList* list = StartList();
        QString hidden = QStringLiteral("Adams");
        list->view.Names().Bind(QStringLiteral("HIDDEN"), [&hidden] { return QVariant(hidden); });
        QVERIFY(list->view.SetFilter(QStringLiteral("CON:LName <> HIDDEN")));
        PostEvent(RefreshEvent, 0, list->Thread());
        WaitIdle();
        QCOMPARE(list->Names(), QStringList{"Baker"});
        const int pages = list->brw.PagesRead();
        PostEvent(RefreshEvent, 0, list->Thread());
        WaitIdle();
        QCOMPARE(list->brw.PagesRead(), pages);
        hidden = QStringLiteral("Baker");
        PostEvent(RefreshEvent, 0, list->Thread());
        WaitIdle();
        QCOMPARE(list->Names(), QStringList{"Adams"});
    }

    // However far the user scrolls, the list holds a bounded window of rows around the screen, and reads
    // the rows it let go again when the user comes back.
    void aLongListHoldsABoundedWindowOfRows()
    {
        AddContacts(Numbered(2 * BrowseList::MaxRows, 4));
        ContactList* list = StartList();
        list->window.Root()->resize(600, 400);
        WaitIdle();
        auto* tree = qobject_cast<QTreeView*>(list->window.Widget(list->list));
        const auto contiguous = [&] {
            for (int row = 1; row < list->brw.RowCount(); ++row)
                if (list->brw.Row(row)->texts[0] <= list->brw.Row(row - 1)->texts[0])
                    return false;
            return true;
        };
        for (int scroll = 0; scroll < 12; ++scroll) {
            tree->scrollToBottom();
            WaitIdle();
        }
        QVERIFY(list->brw.RowCount() <= BrowseList::MaxRows);
        QVERIFY(list->brw.Row(0)->texts[0] > QStringLiteral("Name 0000"));
        QVERIFY(list->brw.Row(list->brw.RowCount() - 1)->texts[0] > QStringLiteral("Name 0500"));
        QVERIFY(contiguous());
        for (int scroll = 0; scroll < 20 && list->brw.Row(0)->texts[0] != QStringLiteral("Name 0000");
             ++scroll) {
            tree->scrollToTop();
            WaitIdle();
        }
        QCOMPARE(list->brw.Row(0)->texts[0], QStringLiteral("Name 0000"));
        QVERIFY(list->brw.RowCount() <= BrowseList::MaxRows);
        QVERIFY(contiguous());
    }

    void aLongListReadsPagesAsItScrolls()
    {
        AddContacts(Numbered(1000, 4));
        ContactList* list = StartList();
        list->window.Root()->resize(600, 400);
        WaitIdle();
        QCOMPARE(list->brw.RowCount(), BrowseList::PageRows);
        auto* tree = qobject_cast<QTreeView*>(list->window.Widget(list->list));
        tree->scrollToBottom();
        WaitIdle();
        QVERIFY(list->brw.RowCount() > BrowseList::PageRows);
        QVERIFY(list->brw.RowCount() < 1000);

        // The last rows, and back up from there.
        Press(*list, list->bottomTool);
        QCOMPARE(list->SelectedName(), QStringLiteral("Name 0999"));
        QVERIFY(list->brw.RowCount() <= BrowseList::PageRows);
        tree->scrollToTop();
        WaitIdle();
        QCOMPARE(list->brw.Row(0)->texts[0], QStringLiteral("Name 0880"));
        QCOMPARE(list->SelectedName(), QStringLiteral("Name 0999"));
    }
};

QTEST_MAIN(StandardListTest)
#include "tst_StandardList.moc"
