#include "core/CheckSingleInstance.h"
#include "core/InstanceMutex.h"

namespace jornix {

void ReleaseInstanceMutex()
{
    InstanceMutex& mutex = TheInstanceMutex();
    if (mutex.server) {
        mutex.server->close();
        mutex.server.reset();
    }
    if (mutex.lock) {
        mutex.lock->unlock();
        mutex.lock.reset();
    }
}

} // namespace jornix
