#pragma once

// What the benchmarks over a program data folder share: the folder with the data layer started in it, records
// written in one transaction, and figures timed until the program threads are idle again.

#include "core/DataLayer.h"
#include "core/PreservedSettings.h"
#include "core/ProgramGlobals.h"
#include "core/SetTableFileNames.h"
#include "platform/framework/ErrorReporter.h"
#include "platform/framework/FileManager.h"
#include "platform/runtime/ProgramThreads.h"
#include "platform/store/Table.h"
#include "platform/store/Transaction.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace jornix::bench {

// A program folder (a temporary one unless a folder is given) holding the settings file "Jornix.ini" and the
// record files, with the error reporter and the data layer started and every table pointed into it. The
// benchmark closes the tables it opened before the folder ends.
class BenchDataFolder
{
public:
    explicit BenchDataFolder(const QString& given = {})
    {
        ProgramFolder = (given.isEmpty() ? temporary_.path() : given) + QLatin1Char('/');
        IniFileName = ProgramFolder + QStringLiteral("Jornix.ini");
        INIMgr.Init(IniFileName);
        GlobalErrorReporter.Init();
        InitDataLayer();
        SetTableFileNames(ProgramFolder);
    }
    ~BenchDataFolder()
    {
        KillDataLayer();
        GlobalErrorReporter.Kill();
    }
    BenchDataFolder(const BenchDataFolder&) = delete;
    BenchDataFolder& operator=(const BenchDataFolder&) = delete;

    QString Path() const { return ProgramFolder; } // ends with "/"

private:
    QTemporaryDir temporary_;
};

// Writes `count` records in one transaction, `values` filling the cleared buffer of each; false on a failure.
inline bool Fill(FileManager& access, int count, const std::function<void(Record&, int)>& values)
{
    Table& table = access.GetTable();
    Transaction transaction(table);
    if (!transaction.Begin())
        return false;
    for (int i = 0; i < count; ++i) {
        table.ClearBuffer();
        values(table.Buffer(), i);
        if (!table.Insert())
            return false;
    }
    return bool(transaction.Commit());
}

// The milliseconds from the action until the program threads are idle again.
inline double TimeUntilIdle(const std::function<void()>& action, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    action();
    WaitForProgramThreads(timeoutMs);
    return double(clock.nsecsElapsed()) / 1e6;
}

// One line of figures: the median and the worst of the runs, with so many decimals.
inline void Report(const char* what, const std::vector<double>& times, int decimals)
{
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("%-58s median %8.*f ms   worst %8.*f ms   (%zu runs)\n", what, decimals,
                sorted[sorted.size() / 2], decimals, sorted.back(), sorted.size());
}

} // namespace jornix::bench
