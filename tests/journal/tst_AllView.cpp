#include "journal/AllView.h"
#include "journal/LogEventRange.h"
#include "journal/SelectLogEvent.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "journal/JournalProcedures.h"
#include "platform/framework/Picture.h"
#include "platform/framework/TableRelations.h"
#include "platform/runtime/Clock.h"

#include "core/DataFolder.h"
#include "journal/LogEventWindows.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"

#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTreeView>

using namespace jornix;
using namespace jornix::testing;
using test::AddEvent;
using test::Another;
using test::Me;

namespace {

const QDate TheDay(2026, 3, 3);

int Day(const QDate& date)
{
    return DayNumberFromDate(date);
}

QString DateText(const QDate& date)
{
    return Picture(QStringLiteral("@d17")).Format(Day(date));
}

qint32 dentist = 0, budget = 0;

// Five events over three days; the last is private to another user.
void AddEvents()
{
    dentist = AddEvent({"Dentist", TheDay.addDays(-1), 1});
    budget = AddEvent({"Budget", TheDay, 2});
    AddEvent({"Annual review", TheDay.addDays(1), 2, 1});
    AddEvent({"Garden", TheDay, 3});
    AddEvent({"Their secret", TheDay, 2, 1, Another});
}

struct FormRun
{
    int request = 0;
    QString description;
};
std::vector<FormRun> formRuns;

} // namespace

class AllViewTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

    WindowController* OpenAllView()
    {
        Start(AllView);
        return FindWindow(QStringLiteral("AllView"));
    }

    // Select Log Event on a thread of its own, as a form calls it; its answer and the event chosen.
    int selectResponse = -1;
    QString selected;
    WindowController* OpenSelect()
    {
        selectResponse = -1;
        selected.clear();
        Start([this] {
            SelectLogEvent();
            selectResponse = CurrentContext().GlobalResponseCode;
            selected = AccessLOG->Buffer().Value(QStringLiteral("LOG:LogDescription")).toString();
        });
        return FindWindow(QStringLiteral("SelectLogEvent"));
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsLOG}));
        test::StartJournalTest([] {
            formRuns.push_back({CurrentContext().GlobalRequestCode,
                                AccessLOG->Buffer().Value(QStringLiteral("LOG:LogDescription")).toString()});
            CurrentContext().GlobalResponseCode = quint8(Response::Cancelled);
        });
        SetFixedClock(QDateTime(TheDay, QTime(9, 0)));
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        test::StartJournalCase();
        formRuns.clear();
        AddEvents();
    }
    void cleanup() { test::CloseWindows(); }

    void theFilterTextNamesTheTypeAndTheInclusiveDates_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("filter");
        QTest::newRow("every type, no dates") << 1 << 0 << 0 << "";
        QTest::newRow("Home") << 2 << 0 << 0 << "LOG:LogType = 1";
        QTest::newRow("Other") << 4 << 0 << 0 << "LOG:LogType = 3";
        QTest::newRow("a start date alone") << 1 << 82000 << 0 << " LOG:LogDate >= 82000";
        QTest::newRow("an end date alone") << 1 << 0 << 82000 << " LOG:LogDate <= 82000";
        QTest::newRow("Work and both dates")
            << 3 << 82000 << 82100 << "LOG:LogType = 2 AND  LOG:LogDate >= 82000 AND  LOG:LogDate <= 82100";
    }
    void theFilterTextNamesTheTypeAndTheInclusiveDates()
    {
        QFETCH(int, tab);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, filter);
        QCOMPARE(LogRangeFilter(tab, start, end), filter);
    }

    void opensWithEveryVisibleEventByDate()
    {
        WindowController* view = OpenAllView();
        QVERIFY(view);
        QCOMPARE(view->window.Caption(), QStringLiteral("All Events View"));
        QCOMPARE(test::Rows(*view),
                 (QStringList{"|" + DateText(TheDay.addDays(-1)) + "|Dentist|me", "|" + DateText(TheDay) + "|Budget|me",
                              "|" + DateText(TheDay) + "|Garden|me",
                              "*|" + DateText(TheDay.addDays(1)) + "|Annual review|me"}));
        QCOMPARE(view->window.Root()->minimumSize(), view->window.Root()->size());
        test::VerifyControlsInside(*view);
        test::SavePicture(view->window.Root(), QStringLiteral("AllView"));
    }

    void theTabsAndDatesNarrowTheList_data()
    {
        QTest::addColumn<int>("sortTab");
        QTest::addColumn<int>("typeTab");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QStringList>("events");
        const QDate none;
        QTest::newRow("by description") << 2 << 1 << none << none
                                        << QStringList{"Annual review", "Budget", "Dentist", "Garden"};
        QTest::newRow("Work by description") << 2 << 3 << none << none << QStringList{"Annual review", "Budget"};
        QTest::newRow("Home by date") << 1 << 2 << none << none << QStringList{"Dentist"};
        QTest::newRow("start date alone, inclusive")
            << 1 << 1 << TheDay << none << QStringList{"Budget", "Garden", "Annual review"};
        QTest::newRow("end date alone, inclusive")
            << 1 << 1 << none << TheDay << QStringList{"Dentist", "Budget", "Garden"};
        QTest::newRow("one day") << 1 << 1 << TheDay << TheDay << QStringList{"Budget", "Garden"};
        QTest::newRow("start after end") << 1 << 1 << TheDay.addDays(1) << TheDay << QStringList{};
    }
    void theTabsAndDatesNarrowTheList()
    {
        QFETCH(int, sortTab);
        QFETCH(int, typeTab);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QStringList, events);
        WindowController* view = OpenAllView();
        QVERIFY(view);
        // Typed dates filter at once.
        if (start.isValid())
            Type(*view, QStringLiteral("BSDate"), DateText(start));
        if (end.isValid())
            Type(*view, QStringLiteral("BEDate"), DateText(end));
        PickTab(*view, view->window.ControlNumber(QStringLiteral("AllLogSort")), sortTab);
        PickTab(*view, view->window.ControlNumber(QStringLiteral("LogTypeTab")), typeTab);
        QCOMPARE(test::Descriptions(*view), events);
    }

    void aTypedDateThatIsNoDateLeavesTheFilter()
    {
        WindowController* view = OpenAllView();
        Type(*view, QStringLiteral("BSDate"), DateText(TheDay));
        Type(*view, QStringLiteral("BSDate"), QStringLiteral("31/31/31x"));
        QCOMPARE(test::Descriptions(*view), (QStringList{"Budget", "Garden", "Annual review"}));
    }

    // The picker opens at today; closed without a choice, it leaves today as the start date.
    void pickingAStartDateStartsAtToday()
    {
        WindowController* view = OpenAllView();
        Press(*view, QStringLiteral("PickBSDate"));
        WindowController* picker = FindWindow(QStringLiteral("SelectDate"));
        QVERIFY(picker);
        QCOMPARE(picker->window.Caption(), QStringLiteral("Select Log Start Date"));
        picker->Post(jornix::Event::CloseWindow);
        WaitIdle();
        QCOMPARE(qobject_cast<QSpinBox*>(view->window.Widget(view->window.ControlNumber(QStringLiteral("BSDate"))))
                     ->text(),
                 DateText(TheDay));
        QCOMPARE(test::Descriptions(*view), (QStringList{"Budget", "Garden", "Annual review"}));
    }

    void theButtonsAndPopupFollowTheAccessLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("popup");
        QTest::newRow("full access") << 2 << "&Change" << QStringList{} << QStringList{"Copy", "Print"};
        QTest::newRow("view only") << 1 << "View" << QStringList{"Copy", "Insert", "Delete"} << QStringList{};
    }
    void theButtonsAndPopupFollowTheAccessLevel()
    {
        QFETCH(int, level);
        QFETCH(QString, change);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, popup);
        CurrentUserAccess[AccessArea::LogEvents] = quint8(level);
        WindowController* view = OpenAllView();
        QVERIFY(view);
        QCOMPARE(view->window.Label(view->window.ControlNumber(QStringLiteral("Change"))), change);
        QStringList off;
        for (const char* name : {"Copy", "Insert", "Change", "Delete", "Print"})
            if (!view->window.IsEnabled(view->window.ControlNumber(QString::fromLatin1(name))))
                off << QString::fromLatin1(name);
        QCOMPARE(off, disabled);
        QStringList items;
        if (auto* menu = view->window.Widget(view->window.ControlNumber(QStringLiteral("List")))->findChild<QMenu*>())
            for (const QAction* item : menu->actions())
                items << item->text();
        QCOMPARE(items, popup);
    }

    void noAccessRefusesTheWindow()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 0;
        test::MessageRecorder boxes;
        Start(AllView);
        QVERIFY(!FindWindow(QStringLiteral("AllView")));
        QCOMPARE(boxes.Captions(), QStringList{"Access Denied"});
        QCOMPARE(boxes.boxes.front().text,
                 QStringLiteral("You are not allowed to view or edit Log Events. Please contact your system "
                                "administrator to request access."));
    }

    void anEventChangedElsewhereShowsAtTheRefresh()
    {
        WindowController* view = OpenAllView();
        Table& log = AccessLOG->GetTable();
        log.Buffer().SetValue(QStringLiteral("LOG:LogNum"), dentist);
        QCOMPARE(AccessLOG->Fetch(log.KeyIndex(QStringLiteral("LOG:LogNumK"))), 0);
        log.Buffer().SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Dentist at noon"));
        QCOMPARE(AccessLOG->Update(), 0);
        RefreshSuppressed = 0;
        BroadcastRefresh();
        WaitIdle();
        QCOMPARE(test::Descriptions(*view).front(), QStringLiteral("Dentist at noon"));
    }

    void printAndChangeTakeTheHighlightedEvent()
    {
        std::vector<PrintRecValues> printed;
        RegisterProcedure(QStringLiteral("PrintRec"), [&] { printed.push_back(PrintRecRequest); });
        WindowController* view = OpenAllView();
        PickRow(*view, view->window.ControlNumber(QStringLiteral("List")), 1);
        Press(*view, QStringLiteral("Print"));
        Press(*view, QStringLiteral("Change"));
        QCOMPARE(printed.size(), std::size_t(1));
        QCOMPARE(printed.front().area, 1);
        QCOMPARE(printed.front().number, budget);
        QCOMPARE(formRuns.size(), std::size_t(1));
        QCOMPARE(formRuns.front().request, int(Request::Change));
        QCOMPARE(formRuns.front().description, QStringLiteral("Budget"));
    }

    // Both windows' date boxes show a date whole, month, day and the four digits of its year, for the
    // widest dates of the year.
    void theDateBoxesShowTheWholeDate_data()
    {
        QTest::addColumn<bool>("select");
        QTest::addColumn<QString>("box");
        QTest::newRow("All Events View, start") << false << "BSDate";
        QTest::newRow("All Events View, end") << false << "BEDate";
        QTest::newRow("Select Log Event, start") << true << "BSDate";
        QTest::newRow("Select Log Event, end") << true << "BEDate";
    }
    void theDateBoxesShowTheWholeDate()
    {
        QFETCH(bool, select);
        QFETCH(QString, box);
        WindowController* window = select ? OpenSelect() : OpenAllView();
        QVERIFY(window);
        auto* spin = qobject_cast<QSpinBox*>(window->window.Widget(window->window.ControlNumber(box)));
        QVERIFY(spin);
        auto* edit = spin->findChild<QLineEdit*>();
        for (const QDate& date : {QDate(2026, 12, 28), QDate(2026, 11, 30), QDate(2026, 9, 30)}) {
            spin->setValue(Day(date));
            QCOMPARE(edit->text(), DateText(date));
            const int needed = edit->fontMetrics().horizontalAdvance(edit->text());
            QVERIFY2(needed + 4 <= edit->contentsRect().width(),
                     qPrintable(QStringLiteral("%1 needs %2 pixels, the box shows %3")
                                    .arg(edit->text())
                                    .arg(needed)
                                    .arg(edit->contentsRect().width())));
        }
        test::SavePicture(window->window.Root(), select ? QStringLiteral("SelectLogEvent-dates")
                                                        : QStringLiteral("AllView-dates"));
    }

    // Select Log Event ----------------------------------------------------------------------------------

    void aTypedStartDateWaitsForAPickOrATab()
    {
        WindowController* select = OpenSelect();
        QVERIFY(select);
        QCOMPARE(select->window.Caption(), QStringLiteral("Select Log Event"));
        Type(*select, QStringLiteral("BSDate"), DateText(TheDay.addDays(1)));
        QCOMPARE(test::Descriptions(*select), (QStringList{"Dentist", "Budget", "Garden", "Annual review"}));
        test::VerifyControlsInside(*select);
        test::SavePicture(select->window.Root(), QStringLiteral("SelectLogEvent"));
        // Select now chooses from the unfiltered list.
        PickRow(*select, select->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*select, QStringLiteral("Select"));
        QCOMPARE(selectResponse, int(Response::Completed));
        QCOMPARE(selected, QStringLiteral("Dentist"));
    }

    void aTabChangeAppliesTheTypedDates()
    {
        WindowController* select = OpenSelect();
        Type(*select, QStringLiteral("BSDate"), DateText(TheDay));
        PickTab(*select, select->window.ControlNumber(QStringLiteral("LogTypeTab")), 3);
        QCOMPARE(test::Descriptions(*select), (QStringList{"Budget", "Annual review"}));
        PickTab(*select, select->window.ControlNumber(QStringLiteral("AllLogSort")), 2);
        QCOMPARE(test::Descriptions(*select), (QStringList{"Annual review", "Budget"}));
    }

    void cancelAnswersCancelled_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("the Cancel button") << false;
        QTest::newRow("the close box") << true;
    }
    void cancelAnswersCancelled()
    {
        QFETCH(bool, closeBox);
        WindowController* select = OpenSelect();
        if (closeBox) {
            select->Post(jornix::Event::CloseWindow);
            WaitIdle();
        } else {
            Press(*select, QStringLiteral("Cancel"));
        }
        QVERIFY(!FindWindow(QStringLiteral("SelectLogEvent")));
        QCOMPARE(selectResponse, int(Response::Cancelled));
    }
};

QTEST_MAIN(AllViewTest)
#include "tst_AllView.moc"
