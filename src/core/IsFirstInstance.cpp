#include "core/CheckSingleInstance.h"
#include "core/InstanceMutex.h"

#include <QLocalSocket>

namespace jornix {
namespace {

// Answers one later copy: "activate <title>" asks for the window with that title.
void Answer(QLocalSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QString line = QString::fromUtf8(socket->readLine()).chopped(1);
    const QString request = QString::fromLatin1(ActivateRequest);
    const ActivateInstanceHandler& activate = TheInstanceMutex().activate;
    const bool done = line.startsWith(request) && activate && activate(line.mid(request.size()));
    socket->write(done ? ActivatedAnswer : NotActivatedAnswer);
    socket->disconnectFromServer();
}

void Listen(InstanceMutex& mutex)
{
    // A socket left by a copy that was killed is in the way; the lock says it is ours now.
    QLocalServer::removeServer(mutex.ServerName());
    mutex.server = std::make_unique<QLocalServer>();
    mutex.server->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(
        mutex.server.get(), &QLocalServer::newConnection, mutex.server.get(), [server = mutex.server.get()] {
            while (QLocalSocket* socket = server->nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] { Answer(socket); });
                Answer(socket);
            }
        });
    if (!mutex.server->listen(mutex.ServerName()))
        qWarning("The running copy cannot be reached by later copies: %s",
                 qPrintable(mutex.server->errorString()));
}

} // namespace

int IsFirstInstance()
{
    InstanceMutex& mutex = TheInstanceMutex();
    if (mutex.lock && mutex.lock->isLocked())
        return 1;
    auto lock = std::make_unique<QLockFile>(mutex.LockFileName());
    // Only a lock whose process is gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError)
            return 0;
        // A lock that cannot be made at all never keeps the program from running.
        qWarning("The single-instance lock %s cannot be made", qPrintable(mutex.LockFileName()));
        return 1;
    }
    mutex.lock = std::move(lock);
    Listen(mutex);
    return 1;
}

} // namespace jornix
