#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {
const QByteArray kShow = "show\n";
const QByteArray kShown = "ok\n";

// Per user: two technicians on one machine each get their own copy, and one
// cannot lock the other out.
QString userTag()
{
    return QString::number(QFileInfo(QDir::homePath()).ownerId());
}
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

QString SingleInstance::lockPath() const
{
    return QDir(QDir::tempPath()).filePath(m_name + QLatin1Char('-') + userTag() + QStringLiteral(".lock"));
}

QString SingleInstance::serverName() const
{
    return m_name + QLatin1Char('-') + userTag();
}

bool SingleInstance::tryBecomeFirst()
{
    m_lock = std::make_unique<QLockFile>(lockPath());
    m_lock->setStaleLockTime(0); // stale only when its holder is gone, never by age
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
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
    socket.write(kShow);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kShown;
}
