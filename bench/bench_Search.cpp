// Search Log Events with "Include Log Notes" over 100,000 log events (or as many as the first argument says) of an enciphered data folder whose notes
// hold a few hundred words each (one event in twenty private to another user):
//   1. a word that the notes of one event in fifty hold, so that the first screen fills with hits;
//   2. a word that no event holds;
//   3. a word that nearly every note holds, too many for the word index to narrow the read: every note is
//   read.
// The word indexes over the texts and the notes leave out the events that cannot match in the first two.
// Each figure is the time from Begin Search posted to the window until the program threads are idle again:
// the read on the worker thread and the list's first screen. Beside it, measured in the same run: a memmem
// over every note's plain text held in memory, and the word index's lookup alone.
// The events are written through the store as every writer writes them, except that the plain-text copy of
// each note is taken from the few documents converted once, so that the data is made in minutes.
#include "BenchEvents.h"
#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "core/SharedState.h"
#include "documents/TXEdit.h"
#include "journal/Search.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/richtext/RichTextControl.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/DayNumbers.h"
#include "platform/runtime/MessageBox.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/WordIndex.h"
#include "core/LogDocumentText.h"
#include "core/Tables.h"
#include "platform/store/Catalogue.h"

#include "BenchData.h"
#include "documents/StoredDocument.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <vector>

using namespace jornix;
using jornix::test::StoredDocument;

namespace {

int Events = 100000;
constexpr int WordsPerNote = 300;
constexpr int Documents = 64; // notes differ among this many documents
constexpr qint32 Viewer = 11;
constexpr qint32 Other = 12;
const QDate FirstDay(2017, 1, 1);
constexpr int Days = 3650;

// Notes of ordinary words, in lines of twelve; the first document holds the word "pelican".
std::vector<QByteArray> Notes()
{
    return bench::NoteDocuments(Documents, WordsPerNote);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        Events = std::max(100, QByteArray(argv[1]).toInt());
    const bench::BenchDataFolder folder;
    CurrentUserAccess.fill(2);
    CurrentUserUniqueID = Viewer;
    RefreshSuppressed = 1;
    SetMessageBoxSink([](const MessageBoxRequest&) { return int(MessageButton::Ok); });
    if (RelationsLOG->Open() != 0)
        return 1;

    const std::vector<QByteArray> notes = Notes();
    const int first = DayNumberFromDate(FirstDay);
    // The copies of the notes out of the documents converted once.
    QHash<QByteArray, QString> plainTexts;
    for (const QByteArray& note : notes)
        plainTexts.insert(note, PlainTextOfDocument(note).value_or(QString()));
    Table& logTable = AccessLOG->GetTable();
    const Table& copies = *JornixCatalogue().FindTable(QString::fromLatin1(LogTextPrefix));
    const int numberField = logTable.RequireField(QStringLiteral("LOG:LogNum"));
    const int documentField = logTable.RequireField(QStringLiteral("LOG:LogDoc"));
    logTable.SetDerivedWrite([&](Table& log, qint64, const Record* record) {
        Status status;
        if (!record)
            return status;
        Statement insert = log.File()->Prepare(
            QStringLiteral("INSERT INTO %1 (\"LogNum\", \"PlainText\") VALUES (?, ?)").arg(copies.TableSql()),
            status);
        if (!insert)
            return status;
        insert.Bind(1, record->Long(numberField));
        insert.Bind(2, plainTexts.value(record->Blob(documentField)));
        if (insert.Step() != SQLITE_DONE)
            return Status(StoreError::Failed, QStringLiteral("copy not written"));
        return status;
    });
    QElapsedTimer setUp;
    setUp.start();
    // Written as every writer writes, so that each event's copy of its notes is made with it.
    const bool filled = bench::Fill(*AccessLOG, Events, [&](Record& record, int i) {
        record.SetValue(QStringLiteral("LOG:LogNum"), i + 1);
        record.SetValue(QStringLiteral("LOG:LogDate"), first + i * Days / Events);
        record.SetValue(QStringLiteral("LOG:LogType"), i % 4);
        record.SetValue(QStringLiteral("LOG:LogDescription"), QStringLiteral("Log event %1").arg(i));
        record.SetValue(QStringLiteral("LOG:LogLocation"), QStringLiteral("Office"));
        record.SetValue(QStringLiteral("LOG:LogMiniNotes"), QStringLiteral("short notes of the day"));
        record.SetValue(QStringLiteral("LOG:LogDoc"), notes[std::size_t(i % 50 == 0 ? 0 : 1 + i % 63)]);
        const bool hidden = i % 20 == 1;
        record.SetValue(QStringLiteral("LOG:LogPrivate"), hidden ? 1 : 0);
        record.SetValue(QStringLiteral("LOG:LogUniqueID"), hidden ? Other : Viewer);
    });
    if (!filled)
        return 1;
    std::printf("%d log events with notes of %d words written in %.0f ms\n", Events, WordsPerNote,
                double(setUp.elapsed()));

    // The baselines: the notes' plain texts read once into memory and searched with memmem; the word
    // index's lookup alone, on a connection of its own.
    std::vector<QByteArray> texts;
    sqlite3* db = nullptr;
    if (!RecordFile::OpenConnection(logTable.FilePath(), logTable.FileAttributes() & FileAttribute::Encrypt,
                                    SQLITE_OPEN_READONLY, db))
        return 1;
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT \"PlainText\" FROM \"LogText\"", -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            texts.emplace_back(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                               sqlite3_column_bytes(statement, 0));
        sqlite3_finalize(statement);
    }
    const auto memmemOver = [&](const char* word) {
        std::vector<double> times;
        std::size_t hits = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            hits = 0;
            for (const QByteArray& text : texts)
                hits += memmem(text.constData(), std::size_t(text.size()), word, std::strlen(word)) != nullptr;
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        return std::pair{times[2], hits};
    };
    const auto indexLookup = [&](const char* word) {
        std::vector<double> times;
        std::size_t rows = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            Status status;
            const auto found = WordIndex::Candidates(db, copies, {QString::fromLatin1(word)},
                                                     std::numeric_limits<qint64>::max(), status);
            rows = found ? found->size() : 0;
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        return std::pair{times[2], rows};
    };

    StartProcedureThread(Search);
    WaitForProgramThreads(60000);
    WindowController* search = WindowController::Find(QStringLiteral("Search"));
    if (!search)
        return 1;
    const auto control = [&](const char* name) {
        return search->window.ControlNumber(QString::fromLatin1(name));
    };
    qobject_cast<QAbstractButton*>(search->window.Widget(control("SRCH:IncludeLogNotes")))->click();
    WaitForProgramThreads(60000);
    auto* entry = qobject_cast<QLineEdit*>(search->window.Widget(control("SRCH:SearchString")));
    QAbstractItemModel* rows = search->window.ListModel(control("List"));
    const auto searchFor = [&](const char* word) {
        entry->setText(QString::fromLatin1(word));
        return bench::TimeUntilIdle([&] { search->Post(Event::Accepted, control("BeginSearch")); }, 600000);
    };
    searchFor("pelican"); // warm up: the file's pages read once
    for (const auto& [word, what] : {std::pair{"pelican", "notes search, hits on the first screen"},
                                     std::pair{"flamingo", "notes search, no hit at all"},
                                     std::pair{"budget", "notes search, a word of nearly every note"},
                                     std::pair{"budget*", "  the same with Match Case ticked"}}) {
        const bool matchCase = std::strchr(word, '*') != nullptr;
        const QByteArray text = QByteArray(word).replace('*', "");
        if (matchCase)
            qobject_cast<QAbstractButton*>(search->window.Widget(control("SRCH:MatchCase")))->click();
        std::vector<double> times;
        for (int run = 0; run < 5; ++run)
            times.push_back(searchFor(text.constData()));
        bench::Report(what, times, 1);
        const auto [memmemMs, memmemHits] = memmemOver(text.constData());
        const auto [indexMs, indexRows] = indexLookup(text.constData());
        std::printf("    %d rows on the first screen; baselines: memmem over the plain text %.1f ms (%zu notes), "
                    "the word index's lookup alone %.1f ms (%zu notes)\n",
                    rows->rowCount(), memmemMs, memmemHits, indexMs, indexRows);
        if (matchCase)
            qobject_cast<QAbstractButton*>(search->window.Widget(control("SRCH:MatchCase")))->click();
    }
    sqlite3_close(db);
    search->Post(Event::CloseWindow);
    WaitForProgramThreads(60000);
    EndProgramThreads();
    RelationsLOG->Close();

    // The same data folder as a program made it before the word indexes: its first open builds them.
    {
        const Table& log = AccessLOG->GetTable();
        sqlite3* db = nullptr;
        if (!RecordFile::OpenConnection(log.FilePath(), log.FileAttributes() & FileAttribute::Encrypt,
                                        SQLITE_OPEN_READWRITE, db))
            return 1;
        for (const char* table : {"LogFile", "LogText"})
            for (const char* object :
                 {"TABLE %1_Words", "TABLE %1_Terms", "TABLE %1_Tokens", "TABLE %1_Endings", "TABLE %1_OtherTerms",
                  "TABLE %1_Places", "TRIGGER %1_Words_insert", "TRIGGER %1_Words_delete",
                  "TRIGGER %1_Words_update_old", "TRIGGER %1_Words_updated"}) {
                const QByteArray drop = QStringLiteral("DROP %1")
                                            .arg(QString::fromLatin1(object))
                                            .arg(QLatin1String(table))
                                            .toUtf8();
                if (sqlite3_exec(db, drop.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                    return 1;
            }
        sqlite3_close(db);
    }
    QElapsedTimer firstOpen;
    firstOpen.start();
    if (RelationsLOG->Open() != 0)
        return 1;
    std::printf("an older data folder's first open, which builds the word indexes: %.0f ms\n",
                double(firstOpen.elapsed()));
    RelationsLOG->Close();
    return 0;
}
