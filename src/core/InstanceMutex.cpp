#include "core/InstanceMutex.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace jornix {
namespace {

// The user's runtime folder when there is one (private to the user), else the temporary folder; the names
// carry the user id either way.
QString Folder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

QString BaseName(const QString& name)
{
    QString safe = name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("%1-%2").arg(safe).arg(getuid());
}

} // namespace

QString InstanceMutex::LockFileName() const
{
    return QDir(Folder()).filePath(BaseName(name) + QStringLiteral(".lock"));
}

QString InstanceMutex::ServerName() const
{
    return QDir(Folder()).filePath(BaseName(name) + QStringLiteral(".socket"));
}

InstanceMutex& TheInstanceMutex()
{
    static InstanceMutex mutex;
    return mutex;
}

void SetActivateInstanceHandler(ActivateInstanceHandler handler)
{
    TheInstanceMutex().activate = std::move(handler);
}

} // namespace jornix
