#include "core/CheckSingleInstance.h"
#include "core/InstanceMutex.h"

#include <QLocalSocket>

namespace jornix {

int ActivatePreviousInstance(const QString& title)
{
    // Short socket waits, bounded: the running copy answers from its event loop as soon as it gets the line.
    constexpr int waitMs = 2000;
    QLocalSocket socket;
    socket.connectToServer(TheInstanceMutex().ServerName());
    if (!socket.waitForConnected(waitMs))
        return 0;
    socket.write(QByteArray(ActivateRequest) + title.trimmed().toUtf8() + '\n');
    if (!socket.waitForBytesWritten(waitMs))
        return 0;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(waitMs))
            return 0;
    }
    return socket.readLine() == ActivatedAnswer ? 1 : 0;
}

} // namespace jornix
