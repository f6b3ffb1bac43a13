// The GUI loop while a program thread waits for a long read on a worker: 100,000 records with notes of an
// enciphered file read by WorkerRead (every note matched in the take, the progress shown a few times a second),
// while a 1 ms timer on the GUI thread measures the gaps between its turns. Beside it, in the same run, the
// same timer for as long with no read (the loop's own gaps), and both again while a list-sized window is
// drawn every 10 ms, as a user who scrolls meanwhile.
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Catalogue.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"
#include "platform/store/WorkerRead.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

using namespace jornix;

namespace {

constexpr int Records = 100000;

// The gaps between the turns of a 1 ms timer on the GUI thread.
class TurnGaps
{
public:
    TurnGaps()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            gaps_.push_back(double(now - last_) / 1e6);
            last_ = now;
        });
    }
    void Start()
    {
        gaps_.clear();
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    double Longest() const { return gaps_.empty() ? 0 : *std::max_element(gaps_.begin(), gaps_.end()); }
    double Median() const
    {
        if (gaps_.empty())
            return 0;
        std::vector<double> sorted = gaps_;
        std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
        return sorted[sorted.size() / 2];
    }
    // The share of turns longer than `ms`.
    int Over(double ms) const { return int(std::count_if(gaps_.begin(), gaps_.end(), [ms](double g) { return g > ms; })); }
    std::size_t Turns() const { return gaps_.size(); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    std::vector<double> gaps_;
};

void Report(const char* what, const TurnGaps& gaps, double ms, const char* note = "")
{
    std::printf("%-58s longest %7.2f ms, median %5.2f ms, %5zu turns, %3d over 5 ms, %7.0f ms %s\n", what,
                gaps.Longest(), gaps.Median(), gaps.Turns(), gaps.Over(5), ms, note);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    QTemporaryDir folder;
    SetOwnerPassword(QStringLiteral("BENCHM{00000000-0000-0000-0000-000000000000}BENCHM"),
                     "salt of the benchmarks key");
    Catalogue catalogue;
    Table& notes = catalogue.AddTable("NOT", "Notes", "Notes", FileAttribute::Encrypt | FileAttribute::Create)
                       .AddLong("Num")
                       .AddString("Title", 100)
                       .AddMemo("Notes", 32000)
                       .AddKey("NumK", {"Num"}, KeyFlag::Primary, "by Number", true);
    catalogue.SetFolder(folder.path());
    if (!notes.Open())
        return 1;
    QElapsedTimer timer;
    timer.start();
    {
        Transaction transaction(notes);
        transaction.Begin();
        for (int number = 1; number <= Records; ++number) {
            Record& buffer = notes.Buffer();
            buffer.Clear();
            buffer.SetValue(0, number);
            buffer.SetValue(1, QStringLiteral("Note %1").arg(number));
            QString text = QStringLiteral("Met at the %1 fair; ").arg(number == Records / 2 ? "needle" : "spring");
            for (int word = 0; word < 40; ++word)
                text += QStringLiteral("word%1 ").arg((number * 31 + word * 7) % 5000);
            buffer.SetValue(2, text);
            if (!notes.Insert()) {
                std::printf("insert failed\n");
                return 1;
            }
        }
        transaction.Commit();
    }
    std::printf("%d notes written in %lld ms\n\n", Records, timer.elapsed());

    // A list-sized window, drawn every 10 ms in the second pair of runs.
    QTableWidget window(40, 3);
    for (int row = 0; row < 40; ++row)
        for (int column = 0; column < 3; ++column)
            window.setItem(row, column, new QTableWidgetItem(QStringLiteral("Row %1 column %2").arg(row).arg(column)));
    window.resize(800, 600);
    window.show();
    window.grab();
    QTimer redraw;
    redraw.setInterval(10);
    QObject::connect(&redraw, &QTimer::timeout, [&] { window.repaint(); });

    TurnGaps gaps;
    // A filter in SQL that passes no row, as a search that finds nothing.
    const SqlExpression nothing{notes.ColumnSql(0) + QStringLiteral(" < 0"), {}};
    double cancelMs = 0;
    const auto read = [&](int workers, bool filtered = false, bool cancel = false) {
        std::atomic<int> hits{0};
        int progressCalls = 0;
        double readMs = 0;
        StartProcedureThread([&] {
            notes.Open();
            WorkerRead worker(notes);
            worker.SetWorkers(workers);
            if (filtered)
                worker.SetFilter(nothing);
            QElapsedTimer clock, cancelled;
            clock.start();
            const Status status = worker.Run(
                [&](const Record& record, qint64) {
                    if (record.Text(2).contains(QStringLiteral("needle"), Qt::CaseInsensitive))
                        ++hits;
                    return true;
                },
                [&](const ReadProgress& progress) {
                    ++progressCalls;
                    if (cancel && !cancelled.isValid())
                        cancelled.start();
                    return !cancel && progress.Percent() <= 100;
                });
            readMs = double(clock.nsecsElapsed()) / 1e6;
            cancelMs = cancelled.isValid() ? double(cancelled.nsecsElapsed()) / 1e6 : -1;
            if (!status)
                std::printf("the read failed: %s\n", qPrintable(status.Message()));
            notes.Close();
        });
        gaps.Start();
        WaitForProgramThreads(60000);
        gaps.Stop();
        return std::pair{readMs, progressCalls};
    };
    const auto idle = [&](double ms) {
        gaps.Start();
        QTimer end;
        end.setSingleShot(true);
        bool over = false;
        QObject::connect(&end, &QTimer::timeout, [&] { over = true; });
        end.start(int(ms));
        while (!over)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        gaps.Stop();
    };

    read(1); // warm up: the file's pages in the system's cache
    for (const bool drawn : {false, true}) {
        std::printf("%s\n", drawn ? "A list-sized window drawn every 10 ms meanwhile"
                                  : "Nothing else on the GUI thread");
        if (drawn)
            redraw.start();
        for (const int workers : {1, 4}) {
            const auto [ms, calls] = read(workers);
            const QByteArray what = QStringLiteral("  during a read of %1 notes, %2 worker(s)").arg(Records).arg(workers).toUtf8();
            Report(what.constData(), gaps, ms, qPrintable(QStringLiteral("(%1 progress calls)").arg(calls)));
            idle(ms);
            Report("  baseline: the same timer as long, no read", gaps, ms);
        }
        redraw.stop();
    }
    std::printf("A filter in SQL that passes no row, 1 worker\n");
    {
        const auto [ms, calls] = read(1, true);
        Report("  read to the end", gaps, ms, qPrintable(QStringLiteral("(%1 progress calls)").arg(calls)));
        read(1, true, true);
        std::printf("  cancelled at the first progress: the read ends %.2f ms after the cancel\n", cancelMs);
    }
    EndProgramThreads();
    return 0;
}
