// The saved filters and orders: the list "Browse Filters and Orders" and the form "Update Filters and
// Orders".

#include "documents/BrowseFilter.h"
#include "documents/DocumentSettings.h"
#include "documents/RecOrders.h"
#include "documents/UpdateRecOrders.h"
#include "platform/framework/IniSettings.h"
#include "platform/framework/WindowDriver.h"
#include "platform/store/Table.h"
#include "platform/store/View.h"
#include "WindowPicture.h"

#include <QDir>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

using namespace jornix;
using namespace jornix::testing;
using jornix::test::MessageRecorder;

namespace {

struct Saved
{
    QString expression;
    int type;
    friend bool operator==(const Saved&, const Saved&) = default;
};

} // namespace

class RecOrdersTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WindowDescription::SetImageFolder(QStringLiteral(JORNIX_SOURCE_DIR "/resources/icons")); }
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ini_.Init(folder_->filePath(QStringLiteral("Jornix.ini")));
        SetDocumentSettings(&ini_, folder_->path());
    }
    void cleanup()
    {
        // A form closes first, then the list under it.
        for (int round = 0; round < 3 && !WindowController::OpenWindows().empty(); ++round) {
            for (WindowController* window : WindowController::OpenWindows())
                PostEvent(Event::CloseWindow, 0, window->Thread());
            WaitIdle();
        }
        SetDocumentSettings(nullptr, {});
        folder_.reset();
    }
    void cleanupTestCase() { EndProgramThreads(); }

    void aListShowsOnlyTheExpressionsOfItsKindAndKeepsToItsTab_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("tab");
        QTest::newRow("filters") << 1 << QStringList{"a:x = 1", "B:y = 2"} << 1;
        QTest::newRow("orders") << 2 << QStringList{"+A:x"} << 2;
    }
    void aListShowsOnlyTheExpressionsOfItsKindAndKeepsToItsTab()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, rows);
        QFETCH(int, tab);
        Add({{"B:y = 2", 1}, {"+A:x", 2}, {"a:x = 1", 1}, {"never listed", 0}});
        StartBrowse(kind, Request::Select);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        QCOMPARE(list->window.Caption(), QStringLiteral("Browse Filters and Orders"));
        QCOMPARE(Rows(*list), rows);
        const int sheet = list->window.ControlNumber("Sheet");
        QCOMPARE(list->window.SelectedTab(sheet), tab);
        // The other tab cannot be chosen: a click on it leaves the list as it is.
        auto* tabs = qobject_cast<QTabWidget*>(list->window.Widget(sheet));
        QVERIFY(!tabs->isTabEnabled(2 - tab));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2 - tab).center());
        WaitIdle();
        QCOMPARE(list->window.SelectedTab(sheet), tab);
        QCOMPARE(Rows(*list), rows);
        QCOMPARE(list->window.ControlOf(list->window.Root()->focusWidget()),
                 list->window.ControlNumber("List"));
        CheckWindowPicture(*list, kind == 1 ? "BrowseFilter" : "BrowseFilter-orders");
    }

    void selectLeavesTheChosenExpressionAndCloseLeavesNone_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("response");
        QTest::addColumn<QString>("buffer");
        QTest::newRow("Select") << "Select" << 1 << "B:y = 2";
        QTest::newRow("double click") << "List" << 1 << "B:y = 2";
        QTest::newRow("Close") << "Close" << 2 << "as before";
    }
    void selectLeavesTheChosenExpressionAndCloseLeavesNone()
    {
        QFETCH(QString, button);
        QFETCH(int, response);
        QFETCH(QString, buffer);
        Add({{"a:x = 1", 1}, {"B:y = 2", 1}});
        int answer = 0;
        QString chosen;
        Start([&] {
            RecOrders().ClearBuffer();
            RecOrders().Buffer().SetValue("REC:EXPRESSION", "as before");
            RecOrdersThread().request = Request::Select;
            answer = BrowseFilter(1);
            chosen = RecOrders().Buffer().Text(0);
        });
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        PickRow(*list, list->window.ControlNumber("List"), 1);
        Press(*list, button);
        QVERIFY(!FindWindow("BrowseFilter"));
        QCOMPARE(answer, response);
        QCOMPARE(chosen, buffer);
    }

    void selectIsOfferedOnlyToALookupWithRows_data()
    {
        QTest::addColumn<int>("request");
        QTest::addColumn<bool>("withRows");
        QTest::addColumn<bool>("offered");
        QTest::newRow("lookup with rows") << int(Request::Select) << true << true;
        QTest::newRow("lookup without rows") << int(Request::Select) << false << false;
        QTest::newRow("not a lookup") << 0 << true << false;
    }
    void selectIsOfferedOnlyToALookupWithRows()
    {
        QFETCH(int, request);
        QFETCH(bool, withRows);
        QFETCH(bool, offered);
        if (withRows)
            Add({{"a:x = 1", 1}});
        StartBrowse(1, request);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        const int select = list->window.ControlNumber("Select");
        QCOMPARE(list->window.IsEnabled(select), offered);
        auto* tree = qobject_cast<QTreeView*>(list->window.Widget(list->window.ControlNumber("List")));
        auto* menu = tree->findChild<QMenu*>();
        QVERIFY(menu);
        emit menu->aboutToShow();
        QStringList items;
        for (QAction* action : menu->actions())
            items << action->text() + (action->isEnabled() ? "" : " (off)");
        QCOMPARE(items.first(), QStringLiteral("&Insert"));
        QCOMPARE(items.last(), offered ? QStringLiteral("&Select") : QStringLiteral("&Select (off)"));
        // A double click on a row of a list that is no lookup changes the row.
        if (request != Request::Select && withRows) {
            PickRow(*list, list->window.ControlNumber("List"), 0);
            Press(*list, "List");
            WindowController* form = FindWindow("UpdateRecOrders");
            QVERIFY(form);
            QCOMPARE(form->window.Caption(), QStringLiteral("Changing a RecOrders Record"));
        }
    }

    void anExpressionAddedOnATabTakesItsKindAndComesBackAfterReopening_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("filter, Insert button") << 1 << false;
        QTest::newRow("order, Insert key") << 2 << true;
    }
    void anExpressionAddedOnATabTakesItsKindAndComesBackAfterReopening()
    {
        QFETCH(int, kind);
        QFETCH(bool, byKey);
        StartBrowse(kind, 0);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        if (byKey)
            PressActiveKey(*list, Qt::Key_Insert);
        else
            Press(*list, "Insert");
        WindowController* form = FindWindow("UpdateRecOrders");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Adding a RecOrders Record"));
        QCOMPARE(form->window.Label(form->window.ControlNumber("Expression") - 1),
                 QStringLiteral("Expression:"));
        Type(*form, "Expression", "LOG:LogType = 1");
        if (kind == 1)
            CheckWindowPicture(*form, "UpdateRecOrders");
        MessageRecorder messages;
        Press(*form, "OK");
        QCOMPARE(messages.Captions(), QStringList());
        QVERIFY(!FindWindow("UpdateRecOrders"));
        QCOMPARE(Rows(*list), QStringList{"LOG:LogType = 1"});
        Press(*list, "Close");
        QVERIFY(!FindWindow("BrowseFilter"));
        QVERIFY(!RecOrders().FileIsOpen());

        // In the data folder in use, never in the current one.
        QVERIFY(QFile::exists(folder_->filePath("RECORDER")));
        QVERIFY(!QFile::exists(QDir::current().filePath("RECORDER")));
        StartBrowse(kind, Request::Select);
        list = FindWindow("BrowseFilter");
        QVERIFY(list);
        QCOMPARE(Rows(*list), QStringList{"LOG:LogType = 1"});
        QCOMPARE(Stored(), (QList<Saved>{{"LOG:LogType = 1", kind}}));
    }

    void typingLocatesTheFirstExpressionThatBeginsWithIt()
    {
        Add({{"alpha", 1}, {"Beta", 1}, {"bravo", 1}, {"charlie", 1}});
        StartBrowse(1, Request::Select);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        const int control = list->window.ControlNumber("List");
        QTest::keyClicks(list->window.Widget(control), "br");
        WaitIdle();
        QCOMPARE(list->window.SelectedRow(control), 2);
    }

    void changeRewritesAndCtrlQuotePutsTheOldExpressionBack()
    {
        Add({{"a:x = 1", 1}});
        StartBrowse(1, 0);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        PickRow(*list, list->window.ControlNumber("List"), 0);
        PressActiveKey(*list, Qt::Key_Return, Qt::ControlModifier);
        WindowController* form = FindWindow("UpdateRecOrders");
        QVERIFY(form);
        QCOMPARE(form->window.Caption(), QStringLiteral("Changing a RecOrders Record"));
        const int entry = form->window.ControlNumber("Expression");
        Type(*form, entry, "a:x = 2");
        PressActiveKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
        QCOMPARE(qobject_cast<QLineEdit*>(form->window.Widget(entry))->text(), QStringLiteral("a:x = 1"));
        Type(*form, entry, "a:x = 3");
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateRecOrders"));
        QCOMPARE(Rows(*list), QStringList{"a:x = 3"});
        QCOMPARE(Stored(), (QList<Saved>{{"a:x = 3", 1}}));
    }

    void aChangeByAnotherStationIsShownAndYoursCanBeRecalled()
    {
        Add({{"a:x = 1", 1}});
        StartBrowse(1, 0);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        PickRow(*list, list->window.ControlNumber("List"), 0);
        Press(*list, "Change");
        WindowController* form = FindWindow("UpdateRecOrders");
        QVERIFY(form);
        const int entry = form->window.ControlNumber("Expression");
        Type(*form, entry, "mine");
        Start([] {
            Table& table = RecOrders();
            QVERIFY(table.Open());
            table.Buffer().SetValue("REC:EXPRESSION", "a:x = 1");
            QVERIFY(table.Fetch(0));
            table.Buffer().SetValue("REC:EXPRESSION", "theirs");
            QVERIFY(table.Update());
            table.Close();
        });
        MessageRecorder messages;
        Press(*form, "OK");
        QCOMPARE(messages.Captions(), QStringList{"Record Was Not Updated"});
        QCOMPARE(
            messages.boxes[0].text,
            QStringLiteral("This record was changed by another station. Those changes will now be displayed. "
                           "Use the Ditto Button or Ctrl+' to recall your changes."));
        QVERIFY(FindWindow("UpdateRecOrders"));
        auto* edit = qobject_cast<QLineEdit*>(form->window.Widget(entry));
        QCOMPARE(edit->text(), QStringLiteral("theirs"));
        PressActiveKey(*form, Qt::Key_Apostrophe, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("mine"));
        Press(*form, "OK");
        QVERIFY(!FindWindow("UpdateRecOrders"));
        QCOMPARE(Stored(), (QList<Saved>{{"mine", 1}}));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("OK") << int(MessageButton::Ok) << QStringList{"b"};
        QTest::newRow("Cancel") << int(MessageButton::Cancel) << QStringList{"a", "b"};
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, rows);
        Add({{"a", 1}, {"b", 1}});
        StartBrowse(1, 0);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        PickRow(*list, list->window.ControlNumber("List"), 0);
        MessageRecorder messages({answer});
        PressActiveKey(*list, Qt::Key_Delete);
        QCOMPARE(messages.Captions(), QStringList{"Confirm Delete"});
        QCOMPARE(messages.boxes[0].text,
                 QStringLiteral("You've selected to delete the highlighted record.  Press OK "
                                "to confirm deletion of this record."));
        QVERIFY(!FindWindow("UpdateRecOrders"));
        QCOMPARE(Rows(*list), rows);
    }

    void aFileThatCannotBeOpenedClosesTheLookupAndNamesTheFile()
    {
        QVERIFY(QDir(folder_->path()).mkdir("RECORDER")); // a folder where the record file would be
        MessageRecorder messages;
        bool returned = false;
        int answer = 0;
        Start([&] {
            RecOrdersThread().request = Request::Select;
            answer = BrowseFilter(1);
            returned = true;
        });
        QVERIFY(returned);
        QCOMPARE(answer, int(Response::Cancelled));
        QVERIFY(!FindWindow("BrowseFilter"));
        QCOMPARE(messages.boxes.size(), 1);
        QVERIFY2(messages.boxes[0].caption == "File Access Error" ||
                     messages.boxes[0].caption == "File Creation Error",
                 qPrintable(messages.boxes[0].caption));
        QVERIFY2(messages.boxes[0].text.contains(folder_->filePath("RECORDER")),
                 qPrintable(messages.boxes[0].text));
        QVERIFY(!messages.boxes[0].text.contains("end this application"));
    }

    void theWindowsKeepTheirPlacement_data()
    {
        QTest::addColumn<QString>("section");
        QTest::newRow("list") << "BrowseFilter";
        QTest::newRow("form") << "UpdateRecOrders";
    }
    void theWindowsKeepTheirPlacement()
    {
        QFETCH(QString, section);
        ini_.WriteValue(section, "XPosit", 40);
        ini_.WriteValue(section, "YPosit", 50);
        ini_.WriteValue(section, "Width", 600);
        ini_.WriteValue(section, "Height", 420);
        ini_.WriteValue(section, "Maximize", QStringLiteral("No"));
        Start([&] {
            RecOrdersThread().request = Request::Insert;
            if (section == "BrowseFilter")
                BrowseFilter(1);
            else
                UpdateRecOrders();
        });
        WindowController* window = FindWindow(section);
        QVERIFY(window);
        QCOMPARE(window->window.Root()->pos(), QPoint(40, 50));
        QCOMPARE(window->window.Root()->size(), QSize(600, 420));
        window->window.Root()->move(70, 80);
        PostEvent(Event::CloseWindow, 0, window->Thread());
        WaitIdle();
        QCOMPARE(ini_.ReadValue(section, "XPosit"), QStringLiteral("70"));
        QCOMPARE(ini_.ReadValue(section, "YPosit"), QStringLiteral("80"));
        QCOMPARE(ini_.ReadValue(section, "Width"), QStringLiteral("600"));
        QCOMPARE(ini_.ReadValue(section, "Maximize"), QStringLiteral("No"));
    }

    void aPlacementWithoutPositionLeavesTheWindowWhereTheLayoutPutsIt()
    {
        ini_.WriteValue("BrowseFilter", "XPosit", 0);
        ini_.WriteValue("BrowseFilter", "YPosit", 50);
        ini_.WriteValue("BrowseFilter", "Width", 900);
        ini_.WriteValue("BrowseFilter", "Height", 900);
        StartBrowse(1, Request::Select);
        WindowController* list = FindWindow("BrowseFilter");
        QVERIFY(list);
        QCOMPARE(list->window.Root()->size(), QSize(480, 360));
    }

private:
    void Add(const QList<Saved>& saved)
    {
        Start([&] {
            QVERIFY(OpenRecOrders());
            Table& table = RecOrders();
            for (const Saved& one : saved) {
                table.ClearBuffer();
                table.Buffer().SetValue("REC:EXPRESSION", one.expression);
                table.Buffer().SetValue("REC:TYPE", one.type);
                const Status status = table.Insert();
                QVERIFY2(status, qPrintable(status.Message()));
            }
            CloseRecOrders();
        });
    }

    QList<Saved> Stored()
    {
        QList<Saved> stored;
        Start([&] {
            QVERIFY(OpenRecOrders());
            View view(RecOrders());
            std::vector<ViewRow> rows;
            view.Read({}, Direction::Forward, 100, rows);
            for (const ViewRow& row : rows)
                stored.append({row.record.Text(0), row.record.Long(1)});
            CloseRecOrders();
        });
        return stored;
    }

    static void StartBrowse(int kind, int request)
    {
        Start([kind, request] {
            RecOrdersThread().request = request;
            BrowseFilter(kind);
        });
    }

    // A key of the window's own: it reaches the window once the window is the active one.
    static void PressActiveKey(WindowController& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        window.window.Root()->activateWindow();
        QTRY_VERIFY(window.window.Root()->isActiveWindow());
        PressKey(window, key, modifiers);
    }

    static QStringList Rows(WindowController& window)
    {
        QStringList rows;
        QAbstractItemModel* model = window.window.ListModel(window.window.ControlNumber("List"));
        for (int row = 0; model && row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString();
        return rows;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    IniSettings ini_;
};

QTEST_MAIN(RecOrdersTest)
#include "tst_RecOrders.moc"
