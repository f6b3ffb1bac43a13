#include "core/CheckSingleInstance.h"
#include "core/InstanceMutex.h"

#include <QCoreApplication>

namespace jornix {

int CheckSingleInstance(const QString& title, const QString& mutexName)
{
    InstanceMutex& mutex = TheInstanceMutex();
    mutex.name = mutexName.trimmed();
    // Released when the application object goes, after the program start has returned.
    static const bool hooked = (qAddPostRoutine(ReleaseInstanceMutex), true);
    Q_UNUSED(hooked);
    if (IsFirstInstance())
        return 0;
    ActivatePreviousInstance(title);
    return 1;
}

} // namespace jornix
