#include "TestSimulator.h"

#include <QDeadlineTimer>
#include <QTcpSocket>

// The Linux simulator's control port, one command a line; "answered CODE" lines
// come in between as the module answers.
struct TestSimulator::Backend {
    QTcpSocket socket;

    QByteArray ask(TestSimulator *owner, const QByteArray &command)
    {
        if (socket.state() != QAbstractSocket::ConnectedState) {
            socket.connectToHost(QHostAddress::LocalHost, qEnvironmentVariableIntValue("VESKOR_MODSIM_CONTROL"));
            if (!socket.waitForConnected(5000))
                qFatal("no simulator on the control port: %s", qPrintable(socket.errorString()));
        }
        socket.write(command + '\n');
        const QDeadlineTimer deadline(10000);
        for (;;) {
            while (socket.canReadLine()) {
                const QByteArray line = socket.readLine().trimmed();
                if (line.startsWith("answered "))
                    emit owner->answered(line.mid(9));
                else if (line.startsWith("ok"))
                    return line.mid(3);
                else
                    qFatal("simulator: %s for %s", line.constData(), command.constData());
            }
            if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
                qFatal("the simulator does not answer %s", command.constData());
        }
    }
    QByteArray ask(const TestSimulator *owner, const QByteArray &command) const
    {
        return const_cast<Backend *>(this)->ask(const_cast<TestSimulator *>(owner), command);
    }
};

TestSimulator::TestSimulator() : m_backend(std::make_unique<Backend>())
{
    // What the module tells between the test's own questions.
    connect(&m_backend->socket, &QTcpSocket::readyRead, this, [this] {
        while (m_backend->socket.canReadLine()) {
            const QByteArray line = m_backend->socket.peek(256);
            if (!line.startsWith("answered "))
                return;
            emit answered(m_backend->socket.readLine().trimmed().mid(9));
        }
    });
}

TestSimulator::~TestSimulator() = default;

bool TestSimulator::start(QString *)
{
    m_backend->ask(this, "reset");
    return true;
}

int TestSimulator::comNumber() const
{
    return 9; // Wine's COM9, the simulator's pseudo-terminal
}

QByteArray TestSimulator::portsLine() const
{
    return {};
}

namespace {
QByteArray familyName(ModuleModel::Family family)
{
    switch (family) {
    case ModuleModel::Family::RW5GSM:
        return "rw5gsm";
    case ModuleModel::Family::RW5SMS:
        return "rw5sms";
    default:
        return "mkv";
    }
}
QByteArray flag(bool on)
{
    return on ? "1" : "0";
}
QByteArray number(int n)
{
    return QByteArray::number(n);
}
} // namespace

void TestSimulator::setIdentity(Family family, const QByteArray &version)
{
    m_model.setIdentity(family, version);
    m_backend->ask(this, "identity " + familyName(family) + ' ' + version);
}

// One line a command.
// clang-format off
void TestSimulator::setEcho(bool on) { m_backend->ask(this, "echo " + flag(on)); }
void TestSimulator::setHalfDuplex(bool on) { m_backend->ask(this, "halfduplex " + flag(on)); }
void TestSimulator::setBaudRate(int baud) { m_backend->ask(this, "baud " + number(baud)); }
void TestSimulator::setAdapterLatency(int ms) { m_backend->ask(this, "adapterlatency " + number(ms)); }
void TestSimulator::setSplit(int pieceSize, int gapMs) { m_backend->ask(this, "split " + number(pieceSize) + ' ' + number(gapMs)); }
void TestSimulator::setNoise(const QByteArray &bytes) { m_backend->ask(this, "noise " + bytes.toHex()); }
void TestSimulator::setSilentAfter(int requests) { m_backend->ask(this, "silentafter " + number(requests)); }
void TestSimulator::setHangUpAfter(int requests) { m_backend->ask(this, "hangupafter " + number(requests)); }
void TestSimulator::answerWithPrevious(const QByteArray &code) { m_backend->ask(this, "previous " + code); }
void TestSimulator::setStoreDifferently(const QByteArray &code) { m_backend->ask(this, "differ " + code); }
void TestSimulator::inject(const QByteArray &bytes) { m_backend->ask(this, "inject " + bytes.toHex()); }
void TestSimulator::hangUp() { m_backend->ask(this, "hangup"); }
void TestSimulator::clearLog() { m_backend->ask(this, "clearlog"); }
// clang-format on

QList<QByteArray> TestSimulator::requestCodes() const
{
    const QByteArray codes = m_backend->ask(this, "codes");
    return codes.isEmpty() ? QList<QByteArray>() : codes.split(' ');
}

QByteArray TestSimulator::reg(const QByteArray &code) const
{
    return QByteArray::fromHex(m_backend->ask(this, "reg " + code));
}

int TestSimulator::pendingOutput() const
{
    return m_backend->ask(this, "pending").toInt();
}
int TestSimulator::lostRequests() const
{
    return m_backend->ask(this, "lost").toInt();
}

QList<TestSimulator::Frame> TestSimulator::log() const
{
    QList<Frame> out;
    const QByteArray all = m_backend->ask(this, "log");
    for (const QByteArray &entry : all.split(' ')) {
        const QList<QByteArray> f = entry.split(',');
        if (f.size() == 4)
            out.append({f[0] == "r", QByteArray::fromHex(f[3]), f[1].toDouble(), f[2] == "1"});
    }
    return out;
}
void TestSimulator::setRegister(const QByteArray &code, const QByteArray &payload)
{
    m_backend->ask(this, "setreg " + code + ' ' + payload.toHex());
}
