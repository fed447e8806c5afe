#include "SingleInstance.h"

#include "WindowActivation.h"

#include <QLocalSocket>

namespace {
const QByteArray kShow = "show\n";
const QByteArray kShown = "ok\n";
} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kShow) {
                    socket->write(kShown);
                    socket->flush();
                    emit showRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

SingleInstance::~SingleInstance()
{
    m_server.close();
}

QString SingleInstance::serverName() const
{
    return m_name + QLatin1Char('-') + InstanceLock::userTag();
}

bool SingleInstance::tryBecomeFirst()
{
    m_lock = InstanceLock::tryAcquire(m_name);
    if (!m_lock)
        return false;
    // We hold the lock: a socket left behind belongs to a copy that crashed.
    QLocalServer::removeServer(serverName());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(serverName());
    return true;
}

bool SingleInstance::askFirstToShow(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // The system lets only the program in front hand the front to another.
    allowToComeToFront(socket);
    socket.write(kShow);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kShown;
}
