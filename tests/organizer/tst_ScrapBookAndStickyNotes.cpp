#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "organizer/MiniSrap.h"
#include "organizer/MiniStickyNotes.h"
#include "organizer/OrganizerList.h"
#include "organizer/OrganizerPane.h"
#include "organizer/OrganizerProcedures.h"
#include "organizer/Scrap.h"
#include "organizer/SelectScrap.h"
#include "organizer/StickyNotes.h"
#include "platform/framework/Picture.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/View.h"

#include "core/DataFolder.h"
#include "organizer/OrganizerTest.h"
#include "platform/framework/WindowDriver.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>

using namespace jornix;
using namespace jornix::testing;
using namespace jornix::test; // the shared pieces of the organizer tests

// The scrap book and the sticky notes as the user meets them: the two list windows, their forms, the scrap
// picker and the two docked panes.
namespace {

// Each area's table, its windows and the words of its "Access Denied" text.
struct Area
{
    QString prefix, list, form, pane;
    int access;
    QString deniedText;
    FileManager* Access() const { return prefix == "SCR:" ? AccessSCR : AccessSTK; }
    QString TextField() const { return prefix == "SCR:" ? "SCR:Scrap" : "STK:Notes"; }
};
const Area Scraps{
    "SCR:",
    "Scrap",
    "UpdateScrap",
    "MiniSrap",
    AccessArea::ScrapBook,
    "You are not allowed to view or edit the Scrap Book. Please contact your system administrator "
    "to request access."};
const Area Notes{
    "STK:",
    "StickyNotes",
    "UpdateStickyNotes",
    "MiniStickyNotes",
    AccessArea::StickyNotes,
    "You are not allowed to view or edit Sticky Notes. Please contact your system administrator to "
    "request access."};
const Area& AreaOf(const QString& prefix)
{
    return prefix == "SCR:" ? Scraps : Notes;
}

struct Entry
{
    QString description;
    QString text = {};
    qint32 created = TodayNumber;
    int privateFlag = 0;
    qint32 creator = Me;
};

// Writes records straight into the area's table.
void Add(const Area& area, const std::vector<Entry>& entries)
{
    std::vector<test::Fields> records;
    for (const Entry& entry : entries)
        records.push_back({{area.prefix + "Description", entry.description},
                           {area.TextField(), entry.text},
                           {area.prefix + "CreateDate", entry.created},
                           {area.prefix + "Private", entry.privateFlag},
                           {area.prefix + "UniqueID", entry.creator},
                           {area.prefix + "CreateLoginID", entry.creator == Me ? "me" : "other"}});
    test::InsertNumbered(area.Access()->GetTable(), records);
}

// The rows that show the private icon in the first column, by description.
QStringList WithIcon(WindowController& window)
{
    QStringList texts;
    const QAbstractItemModel* model = window.window.ListModel(ControlNumber(window, "List"));
    for (int row = 0; row < model->rowCount(); ++row)
        if (!model->data(model->index(row, 0), Qt::DecorationRole).isNull())
            texts << model->data(model->index(row, 1)).toString();
    return texts;
}

// A button as the user sees it: its text or tip, and whether it can be pressed.
QString State(WindowController& window, const QString& name)
{
    const int button = ControlNumber(window, name);
    QString text = window.window.Label(button).remove(QLatin1Char('&'));
    if (text.isEmpty())
        text = window.window.Widget(button)->toolTip();
    return text + (window.window.IsEnabled(button) ? ":on" : ":off");
}

QString TextOf(WindowController& window, const QString& name)
{
    auto* box = qobject_cast<QPlainTextEdit*>(window.window.Widget(ControlNumber(window, name)));
    return box ? box->toPlainText() : QString();
}

// The items of the list's popup menu.
QString PopupItems(WindowController& window)
{
    StandardBrowseList* list = nullptr;
    if (auto* listWindow = dynamic_cast<OrganizerList*>(&window))
        list = &listWindow->brw;
    else if (auto* pane = dynamic_cast<OrganizerPane*>(&window))
        list = &pane->brw;
    QStringList items;
    if (list)
        for (const PopupMenu::Item& item : list->Popup().Items())
            items << item.text;
    return items.join(QLatin1Char(' '));
}

} // namespace

class ScrapBookAndStickyNotesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsSCR, RelationsSTK})); // the test's own hold, to write records
        test::StartOrganizerTest();
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        test::StartOrganizerCase();
        RemoveAll(*Scraps.Access());
        RemoveAll(*Notes.Access());
    }
    void cleanup()
    {
        test::CloseInOrder({"UpdateScrap", "UpdateStickyNotes", "SelectScrap", "Scrap", "StickyNotes",
                            "MiniSrap", "MiniStickyNotes"});
    }

    void aUserWithoutAccessGetsAccessDeniedAndNoWindow_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("prefix");
        for (const char* procedure : {"Scrap", "UpdateScrap", "SelectScrap", "MiniSrap"})
            QTest::newRow(procedure) << procedure << "SCR:";
        for (const char* procedure : {"StickyNotes", "UpdateStickyNotes", "MiniStickyNotes"})
            QTest::newRow(procedure) << procedure << "STK:";
    }
    void aUserWithoutAccessGetsAccessDeniedAndNoWindow()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, prefix);
        CurrentUserAccess[AreaOf(prefix).access] = 0;
        test::MessageRecorder boxes;
        Start([procedure] { CallProcedure(procedure); });
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Access Denied"));
        QCOMPARE(boxes.boxes[0].text, AreaOf(prefix).deniedText);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Exclamation);
        QVERIFY(WindowController::OpenWindows().empty());
    }

    // The picker and the mini scrap book copy the highlighted scrap's text, not its description.
    void copyToClipboardPutsTheScrapWithoutTrailingBlanks_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<int>("level");
        for (const char* procedure : {"SelectScrap", "MiniSrap"}) {
            for (const int level : {2, 1}) {
                const QString tag = QString::fromLatin1(procedure) + (level == 1 ? " view only" : "");
                QTest::newRow(qPrintable(tag + ", a signature")) << procedure << "Yours truly,\n  Bo  "
                                                                 << "Yours truly,\n  Bo" << level;
            }
            QTest::newRow(qPrintable(QString::fromLatin1(procedure) + ", an empty scrap")) << procedure << ""
                                                                                           << "" << 2;
        }
    }
    void copyToClipboardPutsTheScrapWithoutTrailingBlanks()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, text);
        QFETCH(QString, copied);
        QFETCH(int, level);
        CurrentUserAccess[AccessArea::ScrapBook] = quint8(level);
        Add(Scraps, {{"Address", "12 High Street"}, {"Signature", text}});
        QGuiApplication::clipboard()->setText(QStringLiteral("what was there"));
        WindowController* window = Open(procedure);
        QVERIFY(window);
        PickRow(*window, ControlNumber(*window, "List"), 1);
        Press(*window, "CopyToClipboard");
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(FindWindow(procedure), window); // still open, to copy again
        PickRow(*window, ControlNumber(*window, "List"), 0);
        Press(*window, "CopyToClipboard");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12 High Street"));
    }

    void theButtonsFollowTheRowsAndTheAccess_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("rows");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QString>("popup");
        const QStringList list{"Copy", "Insert", "Change", "Delete", "Print"};
        const QStringList pane{"Copy", "Insert", "Change", "Delete"};
        for (const char* procedure : {"Scrap", "StickyNotes"}) {
            const QString name = QString::fromLatin1(procedure);
            QTest::newRow(qPrintable(name + " full access"))
                << name << 2 << true << list
                << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Print:on"} << "Copy Print";
            QTest::newRow(qPrintable(name + " empty"))
                << name << 2 << false << list
                << QStringList{"Copy:off", "Insert:on", "Change:off", "Delete:off", "Print:off"}
                << "Copy Print";
            QTest::newRow(qPrintable(name + " view only"))
                << name << 1 << true << list
                << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off", "Print:on"} << "";
        }
        QTest::newRow("MiniSrap full access")
            << "MiniSrap" << 2 << true << (pane + QStringList{"CopyToClipboard"})
            << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on", "Copy to Clipboard:on"}
            << "Copy";
        QTest::newRow("MiniSrap empty")
            << "MiniSrap" << 2 << false << (pane + QStringList{"CopyToClipboard"})
            << QStringList{"Copy:off", "Insert:on", "Change:off", "Delete:off", "Copy to Clipboard:off"}
            << "Copy";
        QTest::newRow("MiniSrap view only")
            << "MiniSrap" << 1 << true << (pane + QStringList{"CopyToClipboard"})
            << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off", "Copy to Clipboard:on"} << "";
        QTest::newRow("MiniStickyNotes full access")
            << "MiniStickyNotes" << 2 << true << pane
            << QStringList{"Copy:on", "Insert:on", "Change:on", "Delete:on"} << "Copy";
        QTest::newRow("MiniStickyNotes view only")
            << "MiniStickyNotes" << 1 << true << pane
            << QStringList{"Copy:off", "Insert:off", "View:on", "Delete:off"} << "";
        QTest::newRow("SelectScrap empty") << "SelectScrap" << 2 << false << QStringList{"CopyToClipboard"}
                                           << QStringList{"Copy to Clipboard:off"} << "";
    }
    void theButtonsFollowTheRowsAndTheAccess()
    {
        QFETCH(QString, procedure);
        QFETCH(int, level);
        QFETCH(bool, rows);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, states);
        QFETCH(QString, popup);
        CurrentUserAccess[AccessArea::ScrapBook] = CurrentUserAccess[AccessArea::StickyNotes] = quint8(level);
        if (rows) {
            Add(Scraps, {{"Address"}});
            Add(Notes, {{"Milk"}});
        }
        WindowController* window = Open(procedure);
        QVERIFY(window);
        QStringList seen;
        for (const QString& button : buttons)
            seen << State(*window, button);
        QCOMPARE(seen, states);
        QCOMPARE(PopupItems(*window), popup);
        CheckPicture(*window, procedure + " " + QTest::currentDataTag());
    }

    void byEnterDateOrdersByCreationDateThenDescription_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("descriptions");
        const QStringList byDescription{"apples", "Bread", "Cheese", "Dates"};
        const QStringList byDate{"Dates", "apples", "Cheese", "Bread"};
        for (const auto& [procedure, prefix] : {std::pair{"Scrap", "SCR:"}, std::pair{"SelectScrap", "SCR:"},
                                                std::pair{"StickyNotes", "STK:"}}) {
            QTest::newRow(qPrintable(QString::fromLatin1(procedure) + " by Description"))
                << procedure << prefix << 1 << byDescription;
            QTest::newRow(qPrintable(QString::fromLatin1(procedure) + " by Enter Date"))
                << procedure << prefix << 2 << byDate;
        }
    }
    void byEnterDateOrdersByCreationDateThenDescription()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, prefix);
        QFETCH(int, tab);
        QFETCH(QStringList, descriptions);
        Add(AreaOf(prefix), {{"Bread", {}, TodayNumber},
                             {"apples", {}, TodayNumber - 1},
                             {"Dates", {}, 0}, // no date: first in the order of dates
                             {"Cheese", {}, TodayNumber - 1}});
        WindowController* window = Open(procedure);
        QVERIFY(window);
        const int sheet = ControlNumber(*window, "Sheet");
        PickTab(*window, sheet, tab == 1 ? 2 : 1);
        PickTab(*window, sheet, tab);
        QCOMPARE(Column(*window, 1), descriptions);
        if (procedure == "SelectScrap") // the picker shows day 0 as a date too
            QVERIFY(!Column(*window, 2).contains(QString()));
    }

    // Another user's private record is in no list; the user's own shows the private icon where the list
    // has an icon column.
    void privateRecordsShowOnlyToTheirCreator_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("withIcon");
        QTest::newRow("Scrap") << "Scrap"
                               << "SCR:" << 1 << QStringList{"Mine"};
        QTest::newRow("SelectScrap") << "SelectScrap"
                                     << "SCR:" << 1 << QStringList{"Mine"};
        QTest::newRow("MiniSrap") << "MiniSrap"
                                  << "SCR:" << 0 << QStringList{};
        QTest::newRow("StickyNotes") << "StickyNotes"
                                     << "STK:" << 1 << QStringList{"Mine"};
        QTest::newRow("MiniStickyNotes") << "MiniStickyNotes"
                                         << "STK:" << 0 << QStringList{};
    }
    void privateRecordsShowOnlyToTheirCreator()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, prefix);
        QFETCH(int, column);
        QFETCH(QStringList, withIcon);
        Add(AreaOf(prefix), {{"Mine", {}, TodayNumber, 1, Me},
                             {"Public", {}, TodayNumber, 0, Another},
                             {"Theirs", {}, TodayNumber, 1, Another}});
        WindowController* window = Open(procedure);
        QVERIFY(window);
        QCOMPARE(Column(*window, column), (QStringList{"Mine", "Public"}));
        if (column == 1)
            QCOMPARE(WithIcon(*window), withIcon);
    }

    void theFormsCaptionTellsWhatItDoes_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("caption");
        for (const char* prefix : {"SCR:", "STK:"}) {
            QTest::newRow(qPrintable(QString::fromLatin1(prefix) + " insert"))
                << prefix << "Insert" << 2 << "Record will be Added  (New)";
            QTest::newRow(qPrintable(QString::fromLatin1(prefix) + " change"))
                << prefix << "Change" << 2 << "Record will be Changed  (Greeting)";
            QTest::newRow(qPrintable(QString::fromLatin1(prefix) + " view only"))
                << prefix << "Change" << 1 << "View Record";
        }
    }
    void theFormsCaptionTellsWhatItDoes()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, button);
        QFETCH(int, level);
        QFETCH(QString, caption);
        const Area& area = AreaOf(prefix);
        CurrentUserAccess[area.access] = quint8(level);
        Add(area, {{"Greeting   ", "Dear all,"}});
        WindowController* list = Open(area.list);
        Press(*list, button);
        WindowController* form = FindWindow(area.form);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), caption);
        const int text = ControlNumber(*form, area.TextField());
        const auto* box = qobject_cast<QPlainTextEdit*>(form->window.Widget(text));
        QCOMPARE(box->isReadOnly(), level == 1);
        QCOMPARE(form->window.IsHidden(ControlNumber(*form, "OK")), level == 1);
        if (prefix == "STK:") {
            QCOMPARE(form->window.IsEnabled(ControlNumber(*form, "ShowScraps")), level == 2);
            QCOMPARE(form->window.FocusedControl(), text); // the note's text takes the focus first
        }
        CheckPicture(*form, area.form + " " + QTest::currentDataTag());
    }

    void aNewRecordIsStampedAndShowsInItsPaneAtOnce_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("scrap") << "SCR:";
        QTest::newRow("sticky note") << "STK:";
    }
    void aNewRecordIsStampedAndShowsInItsPaneAtOnce()
    {
        QFETCH(QString, prefix);
        const Area& area = AreaOf(prefix);
        Add(area, {{"Older"}});
        WindowController* pane = Open(area.pane);
        WindowController* list = Open(area.list);
        QVERIFY(pane && list);
        Press(*list, "Insert");
        WindowController* form = FindWindow(area.form);
        QVERIFY(form);
        Type(*form, prefix + "Description", "Newer");
        Type(*form, area.TextField(), "Remember the milk");
        Press(*form, "OK");
        QVERIFY(!FindWindow(area.form));
        QCOMPARE(Column(*list, 1), (QStringList{"Newer", "Older"}));
        QCOMPARE(Column(*pane, 0), (QStringList{"Newer", "Older"})); // no action in the pane
        // The record as written: its text and the creation stamps.
        PickRow(*list, ControlNumber(*list, "List"), 0);
        Press(*list, "Change");
        form = FindWindow(area.form);
        QCOMPARE(TextOf(*form, area.TextField()), QStringLiteral("Remember the milk"));
        QCOMPARE(form->window.Label(ControlNumber(*form, prefix + "CreateLoginID")), QStringLiteral("me"));
    }

    // A copy keeps the text but is a new record: a new number, new stamps, and public.
    void copyStartsANewPublicRecordWithTheText_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("Scrap") << "Scrap"
                               << "SCR:";
        QTest::newRow("MiniSrap") << "MiniSrap"
                                  << "SCR:";
        QTest::newRow("StickyNotes") << "StickyNotes"
                                     << "STK:";
        QTest::newRow("MiniStickyNotes") << "MiniStickyNotes"
                                         << "STK:";
    }
    void copyStartsANewPublicRecordWithTheText()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, prefix);
        const Area& area = AreaOf(prefix);
        Add(area, {{"Secret", "Behind the clock", TodayNumber - 5, 1, Me}});
        WindowController* window = Open(procedure);
        QVERIFY(window);
        Press(*window, "Copy");
        WindowController* form = FindWindow(area.form);
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Record will be Added  (New)"));
        QCOMPARE(TextOf(*form, area.TextField()), QStringLiteral("Behind the clock"));
        const auto* privateBox =
            qobject_cast<QAbstractButton*>(form->window.Widget(ControlNumber(*form, prefix + "Private")));
        QVERIFY(!privateBox->isChecked());
        QCOMPARE(form->window.Label(ControlNumber(*form, prefix + "CreateDate")),
                 Picture("@D17").Format(TodayNumber)); // not the copied record's day
        Press(*form, "OK");
        QCOMPARE(Column(*window, procedure.startsWith("Mini") ? 0 : 1), (QStringList{"Secret", "Secret"}));
    }

    void aRefusedWriteKeepsTheFormOpenWithWhatWasTyped()
    {
        Add(Scraps, {{"Address", "12 High Street"}});
        WindowController* list = Open("Scrap");
        Press(*list, "Change");
        WindowController* form = FindWindow("UpdateScrap");
        QVERIFY(form);
        Type(*form, "SCR:Scrap", "14 Low Road");
        RemoveAll(*Scraps.Access()); // another user deletes the scrap meanwhile
        test::MessageRecorder boxes;
        Press(*form, "OK");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(FindWindow("UpdateScrap"), form);
        QCOMPARE(TextOf(*form, "SCR:Scrap"), QStringLiteral("14 Low Road"));
    }

    // A text takes at most 32000 characters at the control; what would go beyond is refused, never cut.
    void aTextTakesNoMoreThanItHolds_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("kept");
        QTest::newRow("scrap, room for all") << "SCR:" << 31990 << "ab"
                                             << "cd" << 31994;
        QTest::newRow("scrap, one left") << "SCR:" << 31999 << "ab"
                                         << "cd" << 32000;
        QTest::newRow("note, full") << "STK:" << 32000 << "a"
                                    << "b" << 32000;
        QTest::newRow("note, a paste too long") << "STK:" << 31998 << ""
                                                << "cde" << 31998;
    }
    void aTextTakesNoMoreThanItHolds()
    {
        QFETCH(QString, prefix);
        QFETCH(int, length);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(int, kept);
        const Area& area = AreaOf(prefix);
        WindowController* list = Open(area.list);
        Press(*list, "Insert");
        WindowController* form = FindWindow(area.form);
        auto* box =
            qobject_cast<QPlainTextEdit*>(form->window.Widget(ControlNumber(*form, area.TextField())));
        box->setFocus();
        box->setPlainText(QString(length, QLatin1Char('x')));
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, typed);
        QGuiApplication::clipboard()->setText(pasted);
        box->paste();
        const QString text = box->toPlainText();
        QCOMPARE(text.size(), kept);
        Type(*form, prefix + "Description", "Long");
        Press(*form, "OK");
        QVERIFY(!FindWindow(area.form));
        area.Access()->GetTable().ClearBuffer();
        View view(area.Access()->GetTable());
        std::vector<ViewRow> rows;
        view.Read({}, Direction::Forward, 10, rows);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].record.Value(area.TextField()).toString(), text); // all of it, nothing cut
    }

    void theNoteShowsTheColoursOfTheSettingsWhenItOpens()
    {
        Add(Notes, {{"Milk", "Buy milk"}});
        const auto colours = [](WindowController& form) {
            const QPalette palette = form.window.Widget(ControlNumber(form, "STK:Notes"))->palette();
            return QStringList{palette.color(QPalette::Text).name(), palette.color(QPalette::Base).name()};
        };
        WindowController* list = Open("StickyNotes");
        Press(*list, "Change");
        WindowController* first = FindWindow("UpdateStickyNotes");
        QVERIFY(first);
        QCOMPARE(colours(*first), (QStringList{"#000000", "#ffff00"})); // black on yellow
        GLO.StickyNoteFGColor = 0xFFFFFF;                               // white on blue
        GLO.StickyNoteBGColor = 0xFF0000;
        WindowController* pane = Open("MiniStickyNotes");
        Press(*pane, "Change");
        std::vector<WindowController*> forms = WindowsOf("UpdateStickyNotes");
        QCOMPARE(forms.size(), size_t(2));
        WindowController* second = forms[0] == first ? forms[1] : forms[0];
        QCOMPARE(colours(*second), (QStringList{"#ffffff", "#0000ff"}));
        QCOMPARE(colours(*first), (QStringList{"#000000", "#ffff00"}));
        CheckPicture(*second, "UpdateStickyNotes white on blue");
    }

    void showScrapsOpensThePickerOverTheNote_data()
    {
        QTest::addColumn<int>("scrapLevel");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("scrap book access") << 2 << QStringList{};
        QTest::newRow("no scrap book access") << 0 << QStringList{"Access Denied"};
    }
    void showScrapsOpensThePickerOverTheNote()
    {
        QFETCH(int, scrapLevel);
        QFETCH(QStringList, captions);
        CurrentUserAccess[AccessArea::ScrapBook] = quint8(scrapLevel);
        Add(Scraps, {{"Signature", "Yours truly"}});
        WindowController* list = Open("StickyNotes");
        Press(*list, "Insert");
        WindowController* form = FindWindow("UpdateStickyNotes");
        Type(*form, "STK:Notes", "Typed first");
        test::MessageRecorder boxes;
        Press(*form, "ShowScraps");
        QCOMPARE(boxes.Captions(), captions);
        WindowController* picker = FindWindow("SelectScrap");
        QCOMPARE(picker != nullptr, scrapLevel != 0);
        if (picker) {
            QCOMPARE(picker->Thread(), form->Thread());
            CheckPicture(*picker, "SelectScrap");
            Press(*picker, "List"); // a double click on a row does not end the picker
            QCOMPARE(FindWindow("SelectScrap"), picker);
            Press(*picker, "Close");
            QVERIFY(!FindWindow("SelectScrap"));
        }
        QCOMPARE(TextOf(*form, "STK:Notes"), QStringLiteral("Typed first"));
    }

    void printHandsTheAreaAndTheNumberToThePrintOptions_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("area");
        QTest::newRow("scrap book") << "SCR:" << 6;
        QTest::newRow("sticky notes") << "STK:" << 5;
    }
    void printHandsTheAreaAndTheNumberToThePrintOptions()
    {
        QFETCH(QString, prefix);
        QFETCH(int, area);
        Add(AreaOf(prefix), {{"First"}, {"Second"}});
        WindowController* list = Open(AreaOf(prefix).list);
        PickRow(*list, ControlNumber(*list, "List"), 1);
        Press(*list, "Print");
        QCOMPARE(printed.size(), size_t(1));
        QCOMPARE(printed[0].area, area);
        QCOMPARE(printed[0].number, AreaOf(prefix).Access()->Buffer().Value(prefix + "Num").toInt());
        QVERIFY(printed[0].number > 0);
    }

    // The "X" of each pane asks its own question; closing changes no setting, so the pane opens again.
    void eachPanesXAsksBeforeItCloses_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("answer");
        const QString scrapText =
            "You are about to close the Mini-Scrapbook window. To activate it again, select View "
            "--> Mini-ScrapBook. Close the window?";
        const QString noteText =
            "You are about to close the Mini-Sticky Notes window. To activate it again, select "
            "View --> Mini-Sticky Notes. Close the window?";
        QTest::newRow("MiniSrap, No") << "MiniSrap" << scrapText << int(MessageButton::No);
        QTest::newRow("MiniSrap, Yes") << "MiniSrap" << scrapText << int(MessageButton::Yes);
        QTest::newRow("MiniStickyNotes, No") << "MiniStickyNotes" << noteText << int(MessageButton::No);
        QTest::newRow("MiniStickyNotes, Yes") << "MiniStickyNotes" << noteText << int(MessageButton::Yes);
    }
    void eachPanesXAsksBeforeItCloses()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, text);
        QFETCH(int, answer);
        GLO.ShowScrapBook = GLO.ShowMiniStickyNotes = 1;
        Add(Scraps, {{"Address"}});
        Add(Notes, {{"Milk"}});
        WindowController* pane = Open(procedure);
        QVERIFY(pane);
        QCOMPARE(pane->window.Label(ControlNumber(*pane, "CloseX")), QStringLiteral("X"));
        QCOMPARE(pane->window.Widget(ControlNumber(*pane, "CloseX"))->toolTip(),
                 QStringLiteral("Close Window"));
        CheckPicture(*pane, procedure);
        if (const QString pictures = qEnvironmentVariable("JORNIX_PICTURES"); !pictures.isEmpty())
            QVERIFY(folder->frame.frame.Root()->grab().save(
                QDir(pictures).filePath(procedure + " in the frame.png")));
        test::MessageRecorder boxes;
        boxes.answers = {answer};
        Press(*pane, "CloseX");
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].caption, QStringLiteral("Close the window?"));
        QCOMPARE(boxes.boxes[0].text, text);
        QCOMPARE(boxes.boxes[0].icon, MessageIcon::Question);
        QCOMPARE(boxes.boxes[0].buttons, int(MessageButton::Yes | MessageButton::No));
        QCOMPARE(boxes.boxes[0].defaultButton, int(MessageButton::Yes));
        QCOMPARE(FindWindow(procedure) == nullptr, answer == MessageButton::Yes);
        QCOMPARE(GLO.ShowScrapBook, quint8(1));
        QCOMPARE(GLO.ShowMiniStickyNotes, quint8(1));
        if (answer == MessageButton::Yes)
            QVERIFY(Open(procedure));
    }
};

QTEST_MAIN(ScrapBookAndStickyNotesTest)
#include "tst_ScrapBookAndStickyNotes.moc"
