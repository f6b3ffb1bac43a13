// Two copies of the program writing to one data folder at once: two writer processes, each saving records
// one after the other, every save holding the file's write lock for 20 to 90 ms (under 100 ms). Prints the
// share of saves refused as locked with the store's wait for a lock, beside the old 250 ms wait, both
// measured in this run on the same folder.
//
//     bench_LockWait [saves per writer]
#include "platform/store/Catalogue.h"
#include "platform/store/RecordFile.h"
#include "platform/store/Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace jornix;

namespace {

constexpr int OldWaitMs = 250;

struct Folder
{
    Catalogue catalogue;
    Table& table;
    explicit Folder(const QString& path)
        : table(catalogue.AddTable("SAV:", "Saves", "Saves", FileAttribute::Create))
    {
        table.AddLong("Num")
            .AddLong("Writer")
            .AddString("Text", 40)
            .AddKey("NumK", {"Num"}, KeyFlag::Primary, "by Num", true);
        catalogue.SetFolder(path);
    }
};

// One writer: its saves, each a transaction that takes a number, writes the record and holds the lock a
// while (as a save with derived data and side files does); prints how many were refused.
int Writer(const QString& path, int waitMs, int saves, int writer)
{
    RecordFile::SetLockWait(waitMs);
    Folder folder(path);
    if (!folder.table.Open()) {
        std::fprintf(stderr, "writer %d: the file could not be opened\n", writer);
        return 2;
    }
    QRandomGenerator random(quint32(writer * 7919 + waitMs));
    int refused = 0;
    for (int save = 0; save < saves; ++save) {
        Transaction transaction(folder.table);
        const Status begun = transaction.Begin();
        if (!begun) {
            if (begun.Code() == StoreError::Locked)
                ++refused;
            continue;
        }
        qint32 number = 0;
        folder.table.TakeNextNumber(number);
        folder.table.ClearBuffer();
        folder.table.Buffer().SetValue("SAV:Num", number);
        folder.table.Buffer().SetValue("SAV:Writer", writer);
        folder.table.Buffer().SetValue("SAV:Text", QStringLiteral("save %1").arg(save));
        folder.table.Insert();
        QThread::msleep(random.bounded(20, 91));
        if (!transaction.Commit())
            ++refused;
        QThread::msleep(random.bounded(0, 6)); // the next save follows almost at once
    }
    folder.table.Close();
    std::printf("%d\n", refused);
    return 0;
}

// Both writers at once on a fresh folder; the share of their saves refused.
double RefusalRate(const QString& program, int waitMs, int saves, qint64& milliseconds)
{
    QTemporaryDir dir;
    {
        Folder folder(dir.path()); // the file and its tables, before the writers start
        folder.table.Open();
        folder.table.Close();
    }
    QElapsedTimer timer;
    timer.start();
    QProcess writers[2];
    for (int writer = 0; writer < 2; ++writer)
        writers[writer].start(program, {QStringLiteral("--writer"), dir.path(), QString::number(waitMs),
                                        QString::number(saves), QString::number(writer + 1)});
    int refused = 0;
    for (QProcess& writer : writers) {
        writer.waitForFinished(-1);
        refused += writer.readAllStandardOutput().trimmed().toInt();
    }
    milliseconds = timer.elapsed();
    return double(refused) / (2.0 * saves);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    SetOwnerPassword(QStringLiteral("bench"), "salt of the bench key");
    if (args.size() == 6 && args[1] == QLatin1String("--writer"))
        return Writer(args[2], args[3].toInt(), args[4].toInt(), args[5].toInt());

    const int saves = args.size() > 1 ? std::max(1, args[1].toInt()) : 100;
    qint64 oldMs = 0, newMs = 0;
    const double baseline = RefusalRate(app.applicationFilePath(), OldWaitMs, saves, oldMs);
    const double now = RefusalRate(app.applicationFilePath(), RecordFile::DefaultLockWaitMs, saves, newMs);
    std::printf("two writers, %d saves each, every save holding the lock 20-90 ms\n", saves);
    std::printf("%-40s %6.1f %% refused  (%lld ms)\n",
                qPrintable(QStringLiteral("baseline: wait %1 ms").arg(OldWaitMs)), baseline * 100,
                static_cast<long long>(oldMs));
    std::printf(
        "%-40s %6.1f %% refused  (%lld ms)\n",
        qPrintable(QStringLiteral("store: wait %1 ms, giving way").arg(RecordFile::DefaultLockWaitMs)),
        now * 100, static_cast<long long>(newMs));
    return 0;
}
