#include "TestSimulator.h"

#include "ModuleSimulator.h"

struct TestSimulator::Backend {
    ModuleSimulator sim;
};

TestSimulator::TestSimulator() : m_backend(std::make_unique<Backend>())
{
    connect(&m_backend->sim, &ModuleSimulator::answered, this, &TestSimulator::answered);
}

TestSimulator::~TestSimulator() = default;

bool TestSimulator::start(QString *error)
{
    return m_backend->sim.start(error);
}

int TestSimulator::comNumber() const
{
    return 4;
}

QByteArray TestSimulator::portsLine() const
{
    return "COM4=" + m_backend->sim.slavePath().toLocal8Bit();
}

void TestSimulator::setIdentity(Family family, const QByteArray &version)
{
    m_model.setIdentity(family, version);
    m_backend->sim.setIdentity(family, version);
}

// One line a command.
// clang-format off
void TestSimulator::setEcho(bool on) { m_backend->sim.setEcho(on); }
void TestSimulator::setHalfDuplex(bool on) { m_backend->sim.setHalfDuplex(on); }
void TestSimulator::setBaudRate(int baud) { m_backend->sim.setBaudRate(baud); }
void TestSimulator::setAdapterLatency(int ms) { m_backend->sim.setAdapterLatency(ms); }
void TestSimulator::setSplit(int pieceSize, int gapMs) { m_backend->sim.setSplit(pieceSize, gapMs); }
void TestSimulator::setNoise(const QByteArray &bytes) { m_backend->sim.setNoise(bytes); }
void TestSimulator::setSilentAfter(int requests) { m_backend->sim.setSilentAfter(requests); }
void TestSimulator::setHangUpAfter(int requests) { m_backend->sim.setHangUpAfter(requests); }
void TestSimulator::answerWithPrevious(const QByteArray &code) { m_backend->sim.answerWithPrevious(code); }
void TestSimulator::setStoreDifferently(const QByteArray &code) { m_backend->sim.setStoreDifferently(code); }
void TestSimulator::inject(const QByteArray &bytes) { m_backend->sim.inject(bytes); }
void TestSimulator::hangUp() { m_backend->sim.hangUp(); }
QList<QByteArray> TestSimulator::requestCodes() const { return m_backend->sim.requestCodes(); }
void TestSimulator::clearLog() { m_backend->sim.clearLog(); }
QByteArray TestSimulator::reg(const QByteArray &code) const { return m_backend->sim.reg(code); }
int TestSimulator::pendingOutput() const { return m_backend->sim.pendingOutput(); }
int TestSimulator::lostRequests() const { return m_backend->sim.lostRequests(); }
// clang-format on

QList<TestSimulator::Frame> TestSimulator::log() const
{
    QList<Frame> out;
    for (const ModuleSimulator::Frame &f : m_backend->sim.log())
        out.append({f.received, f.bytes, f.ms, f.lost});
    return out;
}
void TestSimulator::setRegister(const QByteArray &code, const QByteArray &payload) { m_backend->sim.setRegister(code, payload); }
