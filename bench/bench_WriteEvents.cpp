// Writing log events with notes of three hundred words (64 different notes) into an enciphered data folder,
// 10,000 and 100,000 of them, through the log table's own write path: each event with the plain copy of its
// notes and the word indexes, in transactions of 10,000 events; and through the benchmarks' data builder
// (BenchEvents.h: the same path, each different note converted once). With --million also 1,000,000 events
// by the builder and the baselines, with --million-write-path by the write path too (it takes long).
// Baselines in the same run, each into a data folder of its own: the same rows and copies inserted with
// plain SQL (the copies' texts made beforehand) with the file's triggers, and without them.
// The data folders lie beside the program and are removed when done.
#include "core/DataLayer.h"
#include "core/LogDocumentText.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Sqlite.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include "BenchData.h"
#include "BenchEvents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace jornix;

namespace {

constexpr int WordsPerNote = 300;
constexpr int Documents = 64;
constexpr int PerTransaction = 10000;

QString DataFolderPlace()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/bench-data-XXXXXX");
}

qint64 FileSize()
{
    return QFileInfo(AccessLOG->GetTable().FilePath()).size();
}

// The rows that WriteEvents writes, with plain SQL: the events' columns and the copies of their notes.
bool InsertWithPlainSql(int count, const std::vector<QByteArray>& notes, const std::vector<QString>& copies)
{
    Table& log = AccessLOG->GetTable();
    RecordFile& file = *log.File();
    Record record(log);
    QStringList columns, places;
    for (int field = 0; field < log.FieldCount(); ++field) {
        columns << log.ColumnSql(field);
        places << QStringLiteral("?");
    }
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(log.TableSql(), columns.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")));
    const QString copy = QStringLiteral("INSERT INTO \"LogText\" (\"LogNum\", \"PlainText\") VALUES (?, ?)");
    for (int start = 0; start < count; start += PerTransaction) {
        if (!file.Begin())
            return false;
        Status status;
        Statement event = file.Prepare(insert, status);
        Statement text = file.Prepare(copy, status);
        if (!event || !text)
            return false;
        for (int i = start; i < std::min(count, start + PerTransaction); ++i) {
            record.Clear();
            bench::EventValues(record, i, count, notes, 11, 12);
            for (int field = 0; field < log.FieldCount(); ++field)
                event.Bind(field + 1, record.Value(field));
            if (const int result = event.Step(); result != SQLITE_DONE) {
                std::printf("%d %d %s\n", i, result, sqlite3_errmsg(file.Handle()));
                return false;
            }
            sqlite3_reset(event.Handle());
            text.Bind(1, i + 1);
            text.Bind(2, copies[std::size_t(i % 50 == 0 ? 0 : 1 + i % (Documents - 1))]);
            if (text.Step() != SQLITE_DONE)
                return false;
            sqlite3_reset(text.Handle());
        }
        if (!file.Commit())
            return false;
    }
    return true;
}

bool DropTriggers()
{
    RecordFile& file = *AccessLOG->GetTable().File();
    for (const char* trigger :
         {"LogFile_Words_insert", "LogFile_Words_delete", "LogFile_Words_update_old",
          "LogFile_Words_update_new", "LogText_Words_insert", "LogText_Words_delete",
          "LogText_Words_update_old", "LogText_Words_update_new", "LogFile_copy_inserted",
          "LogFile_copy_updated", "LogText_copy_deleted", "LogFile_copy_unneeded", "LogText_copy_written"})
        if (!file.Execute(QStringLiteral("DROP TRIGGER \"%1\"").arg(QLatin1String(trigger))))
            return false;
    return true;
}

enum class Way
{
    WritePath,
    Builder,
    PlainSql,
    PlainSqlWithoutTriggers
};

// The milliseconds the writes take in a data folder of their own; negative on a failure.
double Write(Way way, int count, const std::vector<QByteArray>& notes, const std::vector<QString>& copies,
             qint64& bytes)
{
    QTemporaryDir place(DataFolderPlace());
    const bench::BenchDataFolder folder(place.path());
    if (RelationsLOG->Open() != 0)
        return -1;
    if (way == Way::PlainSqlWithoutTriggers && !DropTriggers())
        return -1;
    QElapsedTimer clock;
    clock.start();
    const bool progress = count >= 100000;
    const bool written = way == Way::WritePath
                             ? bench::WriteEvents(count, notes, 11, 12, PerTransaction, progress)
                         : way == Way::Builder ? bench::BuildEvents(count, notes, 11, 12, progress)
                                               : InsertWithPlainSql(count, notes, copies);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    bytes = FileSize();
    RelationsLOG->Close();
    return written ? ms : -1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes{10000, 100000};
    bool millionByWritePath = false;
    for (int i = 1; i < argc; ++i) {
        millionByWritePath = millionByWritePath || std::strcmp(argv[i], "--million-write-path") == 0;
        if (std::strncmp(argv[i], "--million", 9) == 0 && sizes.back() != 1000000)
            sizes.push_back(1000000);
    }
    CurrentUserAccess.fill(2);
    CurrentUserUniqueID = 11;
    RefreshSuppressed = 1;

    const std::vector<QByteArray> notes = bench::NoteDocuments(Documents, WordsPerNote);
    std::vector<QString> copies;
    QElapsedTimer converting;
    converting.start();
    for (int run = 0; run < 10; ++run) {
        copies.clear();
        for (const QByteArray& document : notes)
            copies.push_back(PlainTextOfDocument(document).value_or(QString()));
    }
    std::printf("the plain copy of a note: %.3f ms\n", double(converting.nsecsElapsed()) / 1e6 / 640);

    for (const int count : sizes) {
        std::printf("%d log events with notes of %d words:\n", count, WordsPerNote);
        for (const auto& [way, what] :
             {std::pair{Way::WritePath, "the log table's write path"},
              std::pair{Way::Builder, "the benchmarks' data builder"},
              std::pair{Way::PlainSql, "baseline: the same rows with plain SQL, the file's triggers"},
              std::pair{Way::PlainSqlWithoutTriggers,
                        "baseline: the same rows with plain SQL, no triggers"}}) {
            if (way == Way::WritePath && count == 1000000 && !millionByWritePath)
                continue;
            qint64 bytes = 0;
            const double ms = Write(way, count, notes, copies, bytes);
            if (ms < 0) {
                std::printf("  %s: failed\n", what);
                return 1;
            }
            std::printf("  %-62s %10.0f ms   %7.3f ms an event   file %6.0f MB\n", what, ms, ms / count,
                        double(bytes) / 1e6);
            std::fflush(stdout);
        }
    }
    return 0;
}
