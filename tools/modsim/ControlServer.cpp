#include "ControlServer.h"

#include "ConfigurationFile.h"

#include <QTcpSocket>

namespace {
ModuleSimulator::Family family(const QByteArray &name)
{
    if (name == "rw5gsm")
        return ModuleSimulator::Family::RW5GSM;
    if (name == "rw5sms")
        return ModuleSimulator::Family::RW5SMS;
    return ModuleSimulator::Family::MKV;
}
} // namespace

ControlServer::ControlServer(QString linkPath, QObject *parent) : QObject(parent), m_linkPath(std::move(linkPath))
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        QTcpSocket *client = m_server.nextPendingConnection();
        if (m_client)
            m_client->deleteLater(); // one test program at a time: the newest
        m_client = client;
        connect(client, &QTcpSocket::readyRead, this, [this, client] {
            while (client->canReadLine()) {
                const QList<QByteArray> words = client->readLine().trimmed().split(' ');
                client->write(run(words) + '\n');
            }
        });
    });
}

bool ControlServer::listen(quint16 port, QString *error)
{
    if (!m_server.listen(QHostAddress::LocalHost, port)) {
        *error = m_server.errorString();
        return false;
    }
    return reset(error);
}

bool ControlServer::reset(QString *error)
{
    m_sim.reset(); // its link goes with it
    m_sim = std::make_unique<ModuleSimulator>();
    connect(m_sim.get(), &ModuleSimulator::answered, this, [this](const QByteArray &code) {
        if (m_client)
            m_client->write("answered " + code + '\n');
    });
    return m_sim->start(error) && m_sim->makeLink(m_linkPath, error);
}

QByteArray ControlServer::run(const QList<QByteArray> &w)
{
    const QByteArray &command = w.value(0);
    const QByteArray a = w.value(1);
    const QByteArray b = w.value(2);
    ModuleSimulator &sim = *m_sim;
    if (command == "reset") {
        QString error;
        return reset(&error) ? "ok" : "err " + error.toUtf8();
    }
    if (command == "identity")
        sim.setIdentity(family(a), b);
    else if (command == "echo")
        sim.setEcho(a == "1");
    else if (command == "halfduplex")
        sim.setHalfDuplex(a == "1");
    else if (command == "baud")
        sim.setBaudRate(a.toInt());
    else if (command == "latency")
        sim.setLatency(a.toInt());
    else if (command == "split")
        sim.setSplit(a.toInt(), b.toInt());
    else if (command == "noise")
        sim.setNoise(QByteArray::fromHex(a));
    else if (command == "silentafter")
        sim.setSilentAfter(a.toInt());
    else if (command == "hangupafter")
        sim.setHangUpAfter(a.toInt());
    else if (command == "previous")
        sim.answerWithPrevious(a);
    else if (command == "differ")
        sim.setStoreDifferently(a);
    else if (command == "inject")
        sim.inject(QByteArray::fromHex(a));
    else if (command == "hangup")
        sim.hangUp();
    else if (command == "clearlog")
        sim.clearLog();
    else if (command == "codes")
        return "ok " + sim.requestCodes().join(' ');
    else if (command == "reg")
        return "ok " + sim.reg(a).toHex();
    else if (command == "pending")
        return "ok " + QByteArray::number(sim.pendingOutput());
    else if (command == "lost")
        return "ok " + QByteArray::number(sim.lostRequests());
    else if (command == "log") {
        QByteArray out = "ok";
        for (const ModuleSimulator::Frame &f : sim.log())
            out += ' ' + QByteArray(f.received ? "r" : "s") + ',' + QByteArray::number(f.ms, 'f', 3) + ',' +
                   QByteArray(f.lost ? "1" : "0") + ',' + f.bytes.toHex();
        return out;
    } else
        return "err unknown command " + command;
    return "ok";
}
