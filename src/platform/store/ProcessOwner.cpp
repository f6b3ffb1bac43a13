#include "platform/store/ProcessOwner.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QSysInfo>

namespace jornix {
namespace {

// The start time of a process in clock ticks since boot (the 22nd field of /proc/<pid>/stat); empty when the
// process does not exist.
QString StartTimeOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The command name (field 2) is in parentheses and may hold blanks: count the fields after its end.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    constexpr int StartTimeAfterName = 19; // field 22 is the 20th after the name
    return fields.size() > StartTimeAfterName ? QString::fromLatin1(fields[StartTimeAfterName]) : QString();
}

QString MachineName()
{
    QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("localhost") : name.replace(QLatin1Char(' '), QLatin1Char('_'));
}

} // namespace

QString ProcessOwner::ThisProcess()
{
    // Made again in a process forked from this one, which is another process.
    static qint64 madeFor = 0;
    static QString owner;
    const qint64 pid = QCoreApplication::applicationPid();
    if (pid != madeFor) {
        owner = MachineName() + QLatin1Char(' ') + QString::number(pid) + QLatin1Char(' ') + StartTimeOf(pid);
        madeFor = pid;
    }
    return owner;
}

bool ProcessOwner::MayBeRunning(const QString& owner)
{
    if (owner == ThisProcess())
        return true;
    const QStringList parts = owner.split(QLatin1Char(' '));
    if (parts.size() != 3 || parts[0] != MachineName())
        return parts.size() == 3; // another machine's copy; a name that is not an owner's holds nothing
    bool ok = false;
    const qint64 pid = parts[1].toLongLong(&ok);
    return ok && pid > 0 && StartTimeOf(pid) == parts[2];
}

} // namespace jornix
