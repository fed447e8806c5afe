// Times a full read and a full write with its verification against the module
// simulator pacing the line at 4800 baud, and compares each with the time the
// bytes exchanged need on the wire: without a USB adapter, then behind one that
// holds received bytes 16 ms (an FTDI chip's default) and 1 ms (its low-latency
// setting). Prints figures; passes or fails nothing.
#include "CpuTime.h"
#include "LinkEngine.h"
#include "QtSerialPortService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kBaud = 4800;

struct Kind {
    const char *label, *family, *version;
};

// The simulator for one kind: a modsim process of its own, or, with
// VESKOR_MODSIM_CONTROL (the Windows program under Wine), the running one behind
// COM9, told through its control port what to be.
class Simulator {
public:
    // The port number to open and how it is named; false when there is no simulator.
    bool start(const Kind &kind, int adapterMs, PortNaming *naming)
    {
        const int control = qEnvironmentVariableIntValue("VESKOR_MODSIM_CONTROL");
        if (control > 0) {
            m_control.connectToHost(QHostAddress::LocalHost, quint16(control));
            const bool told = m_control.waitForConnected(5000) && ask("reset") &&
                              ask(QByteArray("identity ") + kind.family + ' ' + kind.version) &&
                              ask("baud " + QByteArray::number(kBaud)) &&
                              ask("adapterlatency " + QByteArray::number(adapterMs));
            *naming = PortNaming(); // the system's COM9
            return told;
        }
        m_process.start(QStringLiteral(MODSIM_PATH),
                        {"--family", kind.family, "--firmware", kind.version, "--baud", QString::number(kBaud),
                         "--adapter-latency", QString::number(adapterMs), "--quiet"});
        if (!m_process.waitForReadyRead(5000))
            return false;
        const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        *naming = PortNaming({{kPort, line.section(QLatin1Char(' '), 1)}});
        return true;
    }
    ~Simulator()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    static constexpr int kPort = 9;

private:
    bool ask(const QByteArray &command)
    {
        m_control.write(command + '\n');
        while (!m_control.canReadLine()) {
            if (!m_control.waitForReadyRead(5000))
                return false;
        }
        return m_control.readLine().startsWith("ok");
    }
    QProcess m_process;
    QTcpSocket m_control;
};

// The real port, counting the bytes that cross it.
class CountingPort : public QtSerialPortService {
public:
    using QtSerialPortService::QtSerialPortService;
    void putString(const QByteArray &bytes) override
    {
        sent += bytes.size();
        QtSerialPortService::putString(bytes);
    }
    char getChar() override
    {
        ++received;
        return QtSerialPortService::getChar();
    }
    qint64 sent = 0;
    qint64 received = 0;
};

class BenchHost : public LinkHost {
public:
    void setStatus(const QString &text) override
    {
        if (text == QStringLiteral("Status: Połączony") && loop)
            loop->quit();
    }
    void setButtonEnabled(Button, bool) override {}
    void setPolaczCaption(const QString &) override {}
    QString selectedPortEntry() const override { return QStringLiteral("COM 9"); }
    void showMessage(Message, const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    void closeWindow() override {}
    TUstawienie &ustawienie() override { return settings; }
    TUstawienie &odczytanie() override { return readBack; }
    bool validateConfiguration() override { return true; }
    void showConfiguration() override {}
    void showVerificationResult(bool success) override { verified = success; }

    TUstawienie settings = emptyConfiguration();
    TUstawienie readBack = emptyConfiguration();
    QEventLoop *loop = nullptr;
    bool verified = false;
};

bool waitFor(BenchHost &host, int timeoutMs)
{
    QEventLoop loop;
    host.loop = &loop;
    bool timedOut = false;
    QTimer::singleShot(timeoutMs, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    loop.exec();
    host.loop = nullptr;
    return !timedOut;
}

struct Measure {
    double seconds;
    double cpu;
    qint64 bytes;
};

template <typename Start> Measure run(CountingPort &port, BenchHost &host, Start start)
{
    port.sent = port.received = 0;
    const double cpu0 = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    start();
    if (!waitFor(host, 60000))
        std::fprintf(stderr, "timed out\n");
    return {clock.nsecsElapsed() / 1e9, cpuSeconds() - cpu0, port.sent + port.received};
}

void print(const char *kind, int adapterMs, const char *what, const Measure &m)
{
    const double bound = double(m.bytes) * 10.0 / kBaud;
    std::printf("%-12s %2d ms  %-14s %8.3f s  %6lld bytes  line bound %7.3f s  ratio %.3f  cpu %.3f s\n", kind,
                adapterMs, what, m.seconds, static_cast<long long>(m.bytes), bound, m.seconds / bound, m.cpu);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Kind kinds[] = {{"MKV 01.12", "mkv", "01.12"},
                          {"MKV 01.15l", "mkv", "01.15l"},
                          {"MKV 02.00l", "mkv", "02.00l"},
                          {"RW-5/SMS", "rw5sms", "1.03"}};

    std::printf("line: %d baud, 10 bits a character, both directions paced by the simulator;\n"
                "adapter: ms a USB adapter holds what the module sends (0: none)\n",
                kBaud);
    for (const int adapterMs : {0, 16, 1})
        for (const auto &kind : kinds) {
            Simulator sim;
            PortNaming naming;
            if (!sim.start(kind, adapterMs, &naming)) {
                std::fprintf(stderr, "modsim did not start\n");
                return 1;
            }
            CountingPort port(naming);
            port.setComNumber(Simulator::kPort);
            BenchHost host;
            LinkEngine engine(&port, &host);
            QEventLoop identified;
            QObject::connect(&engine, &LinkEngine::identified, &identified, &QEventLoop::quit);
            engine.BitBtnPolaczClick();
            QTimer::singleShot(5000, &identified, &QEventLoop::quit);
            identified.exec();

            const Measure read = run(port, host, [&] { engine.BitBtnOdczytLicznikClick(); });
            host.settings = host.readBack;
            host.settings.Pin.setText("4321");
            const Measure write = run(port, host, [&] { engine.BitBtnZapisLicznikClick(); });
            print(kind.label, adapterMs, "read", read);
            print(kind.label, adapterMs, "write+verify", write);
            if (!host.verified)
                std::printf("%-12s verification FAILED\n", kind.label);

            engine.BitBtnPolaczClick();
        }
    return 0;
}
