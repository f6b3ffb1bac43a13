#include "journal/Search.h"

#include "core/BroadcastRefresh.h"
#include "core/DataLayer.h"
#include "core/PrintRec.h"
#include "core/Procedures.h"
#include "core/SharedState.h"
#include "documents/TXEdit.h"
#include "journal/JournalProcedures.h"
#include "journal/LogEventSearch.h"
#include "platform/runtime/WildcardPattern.h"
#include "platform/store/ReadTally.h"
#include "platform/framework/Picture.h"
#include "platform/framework/TableRelations.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/Clock.h"
#include "platform/store/RecordFile.h"

#include "core/DataFolder.h"
#include "documents/StoredDocument.h"
#include "journal/LogEventWindows.h"
#include "journal/Pictures.h"
#include "platform/framework/MessageRecorder.h"

#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

using namespace jornix;
using namespace jornix::testing;
using test::AddEvent;
using test::Another;
using test::Me;
using test::StoredDocument;

namespace {

const QDate TheDay(2026, 3, 3);

QString DateText(const QDate& date)
{
    return Picture(QStringLiteral("@d17")).Format(DayNumberFromDate(date));
}

void AddEvents()
{
    AddEvent({"Team Meeting", TheDay, 2});
    AddEvent({"Dentist", TheDay.addDays(-2), 1, 0, Me, {{"LOG:LogLocation", "Main street"}}});
    AddEvent({"Lunch", TheDay.addDays(1), 3, 0, Me,
              {{"LOG:LogMiniNotes", "with the meeting notes"}, {"LOG:LogDoc", StoredDocument("pelican")}}});
    AddEvent({"My diary", TheDay, 1, 1, Me, {{"LOG:LogDoc", StoredDocument("a heron at the lake")}}});
    AddEvent({"Their diary", TheDay, 1, 1, Another, {{"LOG:LogDoc", StoredDocument("a heron and a pelican")}}});
}

std::vector<int> formRequests;
// What the event form writes before it ends "completed"; none: it is cancelled.
std::function<void()> formWrites;

} // namespace

class SearchTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::WindowFolder> folder;

    WindowController* Open()
    {
        Start(Search);
        return FindWindow(QStringLiteral("Search"));
    }

    void Tick(WindowController& search, const QString& name, bool on)
    {
        auto* box = qobject_cast<QAbstractButton*>(search.window.Widget(search.window.ControlNumber(name)));
        if (box->isChecked() != on)
            box->click();
        WaitIdle();
    }

    void Find(WindowController& search, const QString& text)
    {
        Type(search, QStringLiteral("SRCH:SearchString"), text);
        Press(search, QStringLiteral("BeginSearch"));
    }

private slots:
    void initTestCase()
    {
        folder = std::make_unique<test::WindowFolder>();
        QVERIFY(folder->Hold({RelationsLOG}));
        test::StartJournalTest([] {
            formRequests.push_back(CurrentContext().GlobalRequestCode);
            if (formWrites)
                formWrites();
            CurrentContext().GlobalResponseCode =
                quint8(formWrites ? Response::Completed : Response::Cancelled);
        });
        SetFixedClock(QDateTime(TheDay, QTime(9, 0)));
    }
    void cleanupTestCase() { folder.reset(); }
    void init()
    {
        test::StartJournalCase();
        formRequests.clear();
        formWrites = nullptr;
        AddEvents();
    }
    void cleanup() { test::CloseWindows(); }

    void opensWithAnEmptyListAndClearedCriteria()
    {
        WindowController* search = Open();
        QVERIFY(search);
        QCOMPARE(search->window.Caption(), QStringLiteral("Search Log Events"));
        QCOMPARE(test::Rows(*search), QStringList{});
        QVERIFY(search->window.IsHidden(search->window.ControlNumber(QStringLiteral("Insert"))));
        for (const char* name : {"Change", "Delete", "Copy", "Print"})
            QVERIFY2(!search->window.IsEnabled(search->window.ControlNumber(QString::fromLatin1(name))), name);
        QVERIFY(!search->window.Widget(search->window.ControlNumber(QStringLiteral("List")))->findChild<QMenu*>());
        QCOMPARE(search->window.Root()->minimumSize(), search->window.Root()->size());
        Find(*search, QStringLiteral("e"));
        test::VerifyControlsInside(*search);
        test::SavePicture(search->window.Root(), QStringLiteral("Search"));
    }

    void theCriteriaChooseTheEventsFound_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("logType"); // the radio button's place, from 0
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<bool>("privateOnly");
        QTest::addColumn<bool>("notes");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QStringList>("found");
        const QDate none;
        QTest::newRow("case ignored") << "meet" << 0 << none << none << false << false << false
                                      << QStringList{"Team Meeting", "Lunch"};
        QTest::newRow("match case") << "Meet" << 0 << none << none << false << false << true
                                    << QStringList{"Team Meeting"};
        QTest::newRow("a later field") << "street" << 0 << none << none << false << false << false
                                       << QStringList{"Dentist"};
        QTest::newRow("a star between letters") << "t*m m" << 0 << none << none << false << false << false
                                                << QStringList{"Team Meeting"};
        QTest::newRow("a question mark is one character")
            << "d?ntist" << 0 << none << none << false << false << false << QStringList{"Dentist"};
        QTest::newRow("percent is literal") << "t%m" << 0 << none << none << false << false << false
                                            << QStringList{};
        QTest::newRow("the log type") << "meet" << 3 << none << none << false << false << false
                                      << QStringList{"Lunch"};
        QTest::newRow("dates, inclusive") << "a" << 0 << TheDay << TheDay << false << false << false
                                          << QStringList{"Team Meeting", "My diary"};
        QTest::newRow("start after end") << "e" << 0 << TheDay << TheDay.addDays(-1) << false << false << false
                                         << QStringList{};
        QTest::newRow("only private, never another's")
            << "diary" << 0 << none << none << true << false << false << QStringList{"My diary"};
        QTest::newRow("a word only in notes, without notes")
            << "pelican" << 0 << none << none << false << false << false << QStringList{};
        QTest::newRow("a word only in notes, with notes")
            << "pelican" << 0 << none << none << false << true << false << QStringList{"Lunch"};
        QTest::newRow("a word in the texts or the notes")
            << "meet" << 0 << none << none << false << true << false << QStringList{"Team Meeting", "Lunch"};
        QTest::newRow("a part of a word in the notes")
            << "elic" << 0 << none << none << false << true << false << QStringList{"Lunch"};
        QTest::newRow("another's private notes") << "heron" << 0 << none << none << false << true << false
                                                 << QStringList{"My diary"};
    }
    void theCriteriaChooseTheEventsFound()
    {
        QFETCH(QString, text);
        QFETCH(int, logType);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(bool, privateOnly);
        QFETCH(bool, notes);
        QFETCH(bool, matchCase);
        QFETCH(QStringList, found);
        test::MessageRecorder boxes;
        WindowController* search = Open();
        const QList<QAbstractButton*> radios =
            search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:LogType")))
                ->findChildren<QAbstractButton*>();
        radios.at(logType)->click();
        WaitIdle();
        if (start.isValid())
            Type(*search, QStringLiteral("SRCH:SDate"), DateText(start));
        if (end.isValid())
            Type(*search, QStringLiteral("SRCH:EDate"), DateText(end));
        Tick(*search, QStringLiteral("SRCH:Private"), privateOnly);
        Tick(*search, QStringLiteral("SRCH:IncludeLogNotes"), notes);
        Tick(*search, QStringLiteral("SRCH:MatchCase"), matchCase);
        Find(*search, text);
        QCOMPARE(test::Descriptions(*search), found);
        QCOMPARE(boxes.Captions(), found.isEmpty() ? QStringList{"No Log Events Found"} : QStringList{});
        if (found.isEmpty()) {
            QCOMPARE(boxes.boxes.front().icon, MessageIcon::Information);
            QCOMPARE(boxes.boxes.front().text,
                     QStringLiteral("Search is complete. There are no results to display."));
        }
    }

    void aSearchStringOfBlanksIsRefusedAndLeavesTheList()
    {
        test::MessageRecorder boxes;
        WindowController* search = Open();
        Find(*search, QStringLiteral("meet"));
        Find(*search, QStringLiteral("   "));
        QCOMPARE(boxes.Captions(), QStringList{"Missing Search String"});
        QCOMPARE(boxes.boxes.front().text, QStringLiteral("Please enter a search string."));
        QCOMPARE(boxes.boxes.front().icon, MessageIcon::Exclamation);
        QCOMPARE(test::Descriptions(*search), (QStringList{"Team Meeting", "Lunch"}));
    }

    void theSearchStringTakes1022Characters()
    {
        WindowController* search = Open();
        auto* entry = qobject_cast<QLineEdit*>(
            search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:SearchString"))));
        QCOMPARE(entry->maxLength(), 1022);
    }

    // The results stay those of Begin Search: criteria changed since, an event written elsewhere, the
    // refresh and the re-read after a form leave them.
    void theResultsKeepTheCriteriaOfTheirSearch()
    {
        WindowController* search = Open();
        Find(*search, QStringLiteral("meet"));
        Type(*search, QStringLiteral("SRCH:SearchString"), QStringLiteral("Dentist"));
        Tick(*search, QStringLiteral("SRCH:MatchCase"), true);
        AddEvent({"Meeting again", TheDay});
        RefreshSuppressed = 0;
        BroadcastRefresh();
        WaitIdle();
        QCOMPARE(test::Descriptions(*search), (QStringList{"Team Meeting", "Lunch"}));
        PickRow(*search, search->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*search, QStringLiteral("Change"));
        QCOMPARE(formRequests, std::vector<int>{Request::Change});
        QCOMPARE(test::Descriptions(*search), (QStringList{"Team Meeting", "Lunch"}));
        Press(*search, QStringLiteral("BeginSearch"));
        QCOMPARE(test::Descriptions(*search), QStringList{"Dentist"});
    }

    void enterInTheSearchTextBeginsTheSearch()
    {
        WindowController* search = Open();
        auto* entry = qobject_cast<QLineEdit*>(
            search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:SearchString"))));
        entry->setFocus();
        QTest::keyClicks(entry, QStringLiteral("meet"));
        QTest::keyClick(entry, Qt::Key_Return);
        QVERIFY(WaitIdle());
        QCOMPARE(test::Descriptions(*search), (QStringList{"Team Meeting", "Lunch"}));
    }

    // An event written by a form called from the results is judged again by the search: a copy that
    // matches joins the results, a change that no longer matches leaves them.
    void eventsWrittenFromTheResultsAreJudgedAgain_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("description"); // written by the form; blank: the form keeps the copy
        QTest::addColumn<QStringList>("found");
        QTest::newRow("a copy that matches") << "Copy" << "" << QStringList{"Team Meeting", "Lunch", "Team Meeting"};
        QTest::newRow("a copy changed not to match") << "Copy" << "Dinner" << QStringList{"Team Meeting", "Lunch"};
        QTest::newRow("a change that no longer matches") << "Change" << "Dinner" << QStringList{"Lunch"};
        QTest::newRow("a change that still matches")
            << "Change" << "Meeting moved" << QStringList{"Meeting moved", "Lunch"};
    }
    void eventsWrittenFromTheResultsAreJudgedAgain()
    {
        QFETCH(QString, button);
        QFETCH(QString, description);
        QFETCH(QStringList, found);
        WindowController* search = Open();
        Find(*search, QStringLiteral("meet"));
        QCOMPARE(test::Descriptions(*search), (QStringList{"Team Meeting", "Lunch"}));
        formWrites = [description, button] {
            if (description.isEmpty())
                return;
            AccessLOG->Buffer().SetValue(QStringLiteral("LOG:LogDescription"), description);
            if (button == QLatin1String("Change"))
                AccessLOG->UpdateQuiet();
            else
                AccessLOG->Insert();
        };
        PickRow(*search, search->window.ControlNumber(QStringLiteral("List")), 0);
        Press(*search, button);
        QCOMPARE(formRequests.size(), std::size_t(1));
        QCOMPARE(test::Descriptions(*search), found);
    }

    void clearSearchEmptiesTheListAndTheCriteria()
    {
        WindowController* search = Open();
        Tick(*search, QStringLiteral("SRCH:IncludeLogNotes"), true);
        Type(*search, QStringLiteral("SRCH:SDate"), DateText(TheDay));
        Find(*search, QStringLiteral("meet"));
        Press(*search, QStringLiteral("ClearSearch"));
        QCOMPARE(test::Rows(*search), QStringList{});
        auto* entry = qobject_cast<QLineEdit*>(
            search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:SearchString"))));
        QCOMPARE(entry->text(), QString());
        QCOMPARE(qobject_cast<QAbstractSpinBox*>(
                     search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:SDate"))))
                     ->text(),
                 QString());
        QVERIFY(!qobject_cast<QAbstractButton*>(
                     search->window.Widget(search->window.ControlNumber(QStringLiteral("SRCH:IncludeLogNotes"))))
                     ->isChecked());
    }

    void aViewOnlyUserMayViewAndPrintTheResults()
    {
        CurrentUserAccess[AccessArea::LogEvents] = 1;
        WindowController* search = Open();
        Find(*search, QStringLiteral("meet"));
        QCOMPARE(search->window.Label(search->window.ControlNumber(QStringLiteral("Change"))), QStringLiteral("View"));
        QStringList enabled;
        for (const char* name : {"Change", "Delete", "Copy", "Print"})
            if (search->window.IsEnabled(search->window.ControlNumber(QString::fromLatin1(name))))
                enabled << QString::fromLatin1(name);
        QCOMPARE(enabled, (QStringList{"Change", "Print"}));
    }

    // How much a search reads: a case-ignoring search for a run of word characters is answered by the word
    // indexes alone, however many events hold the word (no note and no event, so no document, is read);
    // any other is read only where the indexes leave events that may match. The events found stay those
    // the pattern matches.
    void aSearchReadsOnlyWhatTheWordIndexesLeave_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("found");      // of the 60 events below
        QTest::addColumn<int>("notesRead");  // at most, of the plain-text copies
        QTest::addColumn<int>("eventsRead"); // at most, of the events themselves
        QTest::newRow("a word in nearly every note") << "budget" << false << 54 << 0 << 0;
        QTest::newRow("the word in capitals") << "BUDGET" << false << 54 << 0 << 0;
        QTest::newRow("a part of the word") << "udge" << false << 54 << 0 << 0;
        QTest::newRow("a rare word") << "gannet" << false << 3 << 0 << 0;
        QTest::newRow("a word in the descriptions") << "entry" << false << 60 << 0 << 0;
        QTest::newRow("a word no event holds") << "flamingo" << false << 0 << 0 << 0;
        QTest::newRow("a word with case") << "Budget" << true << 6 << 54 << 54;
        QTest::newRow("a wildcard fragment") << "g*nnet" << false << 3 << 3 << 3;
        QTest::newRow("a phrase") << "next quarter" << false << 9 << 60 << 9;
    }
    void aSearchReadsOnlyWhatTheWordIndexesLeave()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(int, found);
        QFETCH(int, notesRead);
        QFETCH(int, eventsRead);
        test::RemoveEvents();
        QSet<qint32> expected;
        for (int n = 0; n < 60; ++n) {
            QString note = n % 10 == 3 ? QStringLiteral("no money talk") : QStringLiteral("the budget for ");
            if (n % 10 == 7)
                note = QStringLiteral("the Budget for ");
            note += n % 7 == 0 ? QStringLiteral("next quarter") : QStringLiteral("quarter next");
            if (n % 25 == 0)
                note += QStringLiteral(", a gannet flew by");
            const qint32 number = AddEvent({QStringLiteral("Entry %1").arg(n), TheDay, 1,
                                            0, Me, {{"LOG:LogDoc", StoredDocument(note)}}});
            const QString texts = QStringLiteral("Entry %1 ").arg(n) + note;
            if (WildcardPattern(QLatin1Char('*') + text + QLatin1Char('*'),
                                WildcardPattern::Wildcard | (matchCase ? 0 : WildcardPattern::IgnoreCase))
                    .Matches(texts))
                expected.insert(number);
        }
        QCOMPARE(int(expected.size()), found);
        LogSearchCriteria criteria;
        criteria.pattern = QLatin1Char('*') + text + QLatin1Char('*');
        criteria.mode = WildcardPattern::Wildcard | (matchCase ? 0 : WildcardPattern::IgnoreCase);
        criteria.includeNotes = true;
        criteria.user = Me;
        ReadTally::Take();
        LogEventSearch search;
        QVERIFY(search.Run(criteria).Ok());
        const std::map<QString, ReadTally::Counts> tally = ReadTally::Take();
        const auto rows = [&](const char* table) {
            const auto counts = tally.find(QString::fromLatin1(table));
            return counts == tally.end() ? 0 : int(counts->second.rows);
        };
        QCOMPARE(search.Found(), expected);
        QVERIFY2(rows("LogText") <= notesRead, qPrintable(QString::number(rows("LogText"))));
        QVERIFY2(rows("LogFile") <= eventsRead, qPrintable(QString::number(rows("LogFile"))));
        // The words that hold the pieces are found without reading the whole list of words.
        QCOMPARE(rows("LogText_Terms"), 0);
        QCOMPARE(rows("LogFile_Terms"), 0);
    }

    // A data folder made before the copies or the word indexes were kept: its events are found by their
    // notes and their texts after the open.
    void anOlderEventIsFoundByItsNotesAfterTheFirstOpen_data()
    {
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QString noIndexes;
        for (const char* table : {"LogFile", "LogText"})
            noIndexes += QStringLiteral("DROP TRIGGER %1_Words_insert; DROP TRIGGER %1_Words_delete; "
                                        "DROP TRIGGER %1_Words_update_old; DROP TRIGGER %1_Words_updated; "
                                        "DROP TABLE %1_Words; DROP TABLE %1_Terms; DROP TABLE %1_Tokens; "
                                        "DROP TABLE %1_Endings; DROP TABLE %1_OtherTerms; DROP TABLE %1_Places; ")
                             .arg(QLatin1String(table));
        QTest::newRow("no copies") << "DELETE FROM LogText" << "pelican" << QStringList{"Lunch"};
        QTest::newRow("no table of copies") << "DROP TABLE LogText" << "pelican" << QStringList{"Lunch"};
        QTest::newRow("no word indexes, notes") << noIndexes << "pelican" << QStringList{"Lunch"};
        QTest::newRow("no word indexes, texts") << noIndexes << "dentist" << QStringList{"Dentist"};
    }
    void anOlderEventIsFoundByItsNotesAfterTheFirstOpen()
    {
        QFETCH(QString, older);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        const Status made = AccessLOG->GetTable().File()->Execute(older);
        QVERIFY2(made.Ok(), qPrintable(made.Message()));
        RelationsLOG->Close();
        QVERIFY(!AccessLOG->GetTable().FileIsOpen());
        QVERIFY(RelationsLOG->Open() == Level::GoOn);
        WindowController* search = Open();
        Tick(*search, QStringLiteral("SRCH:IncludeLogNotes"), true);
        Find(*search, text);
        QCOMPARE(test::Descriptions(*search), found);
    }
};

QTEST_MAIN(SearchTest)
#include "tst_Search.moc"
