// A start over an enciphered data folder of 10,000 and 100,000 log events with notes (1,000,000 with
// --million): the log events' table opened as at a start, the first open in the process, and Date View, the
// start-up view, shown until the program threads are idle again. Beside it, in the same run, the same start
// over an empty data folder (the baseline), and the first open of the same data folder as an older version
// left it (no list of the events whose notes' copy is missing), which finds and fills what is missing once.
// The data folders lie beside the program and are removed when done.
#include "core/DataLayer.h"
#include "core/ProgramGlobals.h"
#include "core/SharedState.h"
#include "journal/DateView.h"
#include "platform/framework/FileManager.h"
#include "platform/framework/TableRelations.h"
#include "platform/framework/WindowController.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Table.h"

#include "BenchData.h"
#include "BenchEvents.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace jornix;

namespace {

constexpr int Runs = 5;

// The milliseconds of a start: the log events opened and Date View shown; false when it failed.
bool Start(double& ms)
{
    QElapsedTimer clock;
    clock.start();
    if (RelationsLOG->Open() != 0)
        return false;
    StartProcedureThread(DateView);
    WaitForProgramThreads(600000);
    ms = double(clock.nsecsElapsed()) / 1e6;
    WindowController* view = WindowController::Find(QStringLiteral("DateView"));
    if (!view)
        return false;
    view->Post(Event::CloseWindow);
    WaitForProgramThreads(60000);
    RelationsLOG->Close();
    return !WindowController::Find(QStringLiteral("DateView"));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes{0, 10000, 100000};
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--million") == 0)
            sizes.push_back(1000000);
    SetFixedClock(QDateTime(QDate(2024, 6, 12), QTime(10, 0)));
    CurrentUserAccess.fill(2);
    CurrentUserUniqueID = 11;
    RefreshSuppressed = 1;
    const std::vector<QByteArray> notes = bench::NoteDocuments(64, 300);

    for (const int count : sizes) {
        QTemporaryDir place(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-data-XXXXXX"));
        const bench::BenchDataFolder folder(place.path());
        if (RelationsLOG->Open() != 0 || !bench::BuildEvents(count, notes, 11, 12, count >= 100000))
            return 1;
        RelationsLOG->Close();
        double ms = 0;
        if (!Start(ms)) // warm up: the file's first pages read
            return 1;
        std::vector<double> starts;
        for (int run = 0; run < Runs; ++run) {
            if (!Start(ms))
                return 1;
            starts.push_back(ms);
        }
        char what[100];
        std::snprintf(what, sizeof what,
                      count ? "start with %d log events" : "baseline: start with %d log events", count);
        bench::Report(what, starts, 1);

        if (count > 0) {
            // As an older version left the file: the list of missing copies is gone.
            if (RelationsLOG->Open() != 0)
                return 1;
            RecordFile& file = *AccessLOG->GetTable().File();
            for (const char* drop :
                 {"DROP TRIGGER \"LogText_copy_written\"", "DROP TRIGGER \"LogFile_copy_inserted\"",
                  "DROP TRIGGER \"LogText_copy_deleted\"", "DROP TRIGGER \"LogFile_copy_unneeded\"",
                  "DROP TRIGGER \"LogFile_copy_updated\"", "DROP TABLE \"LogTextMissing\""})
                if (!file.Execute(QString::fromLatin1(drop)))
                    return 1;
            RelationsLOG->Close();
            if (!Start(ms))
                return 1;
            std::printf("  the first start of an older data folder of %d events: %.1f ms\n", count, ms);
        }
        std::fflush(stdout);
    }
    EndProgramThreads();
    return 0;
}
