#include "SingleInstance.h"

#include "Dialogs.h"
#include "WindowActivation.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

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
                if (socket->readLine() != kShow) {
                    socket->disconnectFromServer();
                    return;
                }
                // The asking copy closes the pipe once it has read this: a close
                // from this end can discard what it has not read yet.
                socket->write(kShown);
                socket->flush();
                emit showRequested();
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
    return InstanceLock::serverName(m_name);
}

bool SingleInstance::tryBecomeFirst()
{
    m_failure.clear();
    m_lock = InstanceLock::tryAcquire(m_name, &m_failure);
    if (!m_lock) {
        if (m_failure.isEmpty())
            return false;
        m_failure = QStringLiteral("Nie można sprawdzić, czy Veskor nie jest już uruchomiony: %1.").arg(m_failure);
        return true;
    }
    // We hold the lock: a socket left behind belongs to a copy that crashed.
    QLocalServer::removeServer(serverName());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(serverName()))
        m_failure = QStringLiteral("Kolejne uruchomienie programu nie przywoła tego okna: %1.")
                        .arg(m_server.errorString());
    return true;
}

bool SingleInstance::askFirstToShow(int timeoutMs) const
{
    // The first copy takes the lock a moment before it listens: keep trying.
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    // The system lets only the program in front hand the front to another.
    allowToComeToFront(socket);
    socket.write(kShow);
    // Short waits, looked at again each time: a pipe under Wine may not signal
    // what has already arrived.
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState)
            return false;
        const int slice = int(qMin<qint64>(deadline.remainingTime(), 100));
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(slice);
        else
            socket.waitForReadyRead(slice);
    }
    return socket.readLine() == kShown;
}

int SingleInstance::giveWay(Dialogs &dialogs, int timeoutMs) const
{
    if (askFirstToShow(timeoutMs))
        return 0;
    dialogs.message(nullptr, Dialogs::Kind::Error,
                    QStringLiteral("Veskor jest już uruchomiony, ale nie odpowiada. Zamknij go (lub zakończ jego "
                                   "proces) i uruchom program ponownie."));
    return 1;
}
