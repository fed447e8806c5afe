#include "ControlServer.h"

#include "ConfigurationFile.h"

#include <QRegularExpression>
#include <QTcpSocket>

#include <optional>

namespace {
// A test that mistypes a command must hear so, not get a module it did not ask for.
std::optional<ModuleSimulator::Family> family(const QByteArray &name)
{
    if (name == "mkv")
        return ModuleSimulator::Family::MKV;
    if (name == "rw5gsm")
        return ModuleSimulator::Family::RW5GSM;
    if (name == "rw5sms")
        return ModuleSimulator::Family::RW5SMS;
    return std::nullopt;
}

std::optional<int> number(const QByteArray &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= -1 ? std::optional<int>(n) : std::nullopt; // -1: never
}

std::optional<bool> flag(const QByteArray &text)
{
    if (text == "0" || text == "1")
        return text == "1";
    return std::nullopt;
}

std::optional<QByteArray> hex(const QByteArray &text)
{
    static const QRegularExpression pairs(QStringLiteral("^([0-9A-Fa-f]{2})*$")); // none: no noise
    if (!pairs.match(QLatin1String(text)).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(text);
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
    const auto n = number(a);
    const auto on = flag(a);
    const auto bytes = hex(a);
    QByteArray malformed = "err malformed: " + w.join(' ');
    if (command == "identity") {
        const auto f = family(a);
        if (!f || b.isEmpty())
            return malformed;
        sim.setIdentity(*f, b);
    } else if (command == "echo" || command == "halfduplex") {
        if (!on)
            return malformed;
        command == "echo" ? sim.setEcho(*on) : sim.setHalfDuplex(*on);
    } else if (command == "baud" || command == "latency" || command == "adapterlatency" || command == "silentafter" ||
               command == "hangupafter") {
        if (!n)
            return malformed;
        if (command == "baud")
            sim.setBaudRate(*n);
        else if (command == "latency")
            sim.setLatency(*n);
        else if (command == "adapterlatency")
            sim.setAdapterLatency(*n);
        else if (command == "silentafter")
            sim.setSilentAfter(*n);
        else
            sim.setHangUpAfter(*n);
    } else if (command == "split") {
        const auto m = number(b);
        if (!n || !m)
            return malformed;
        sim.setSplit(*n, *m);
    } else if (command == "noise" || command == "inject") {
        if (!bytes)
            return malformed;
        command == "noise" ? sim.setNoise(*bytes) : sim.inject(*bytes);
    } else if (command == "previous" || command == "differ") { // none: as it should
        command == "previous" ? sim.answerWithPrevious(a) : sim.setStoreDifferently(a);
    } else if (command == "setreg") {
        const auto payload = hex(b);
        if (a.isEmpty() || !payload || w.size() != 3)
            return malformed;
        sim.setRegister(a, *payload);
    } else if (command == "hangup")
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
