// Times a full read and a full write with its verification against the module
// simulator pacing the line at 4800 baud, and compares each with the time the
// bytes exchanged need on the wire. Prints figures; passes or fails nothing.
#include "LinkEngine.h"
#include "QtSerialPortService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {
constexpr int kBaud = 4800;

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

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
    QString selectedPortEntry() const override { return QStringLiteral("COM 5"); }
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

void print(const char *kind, const char *what, const Measure &m)
{
    const double bound = double(m.bytes) * 10.0 / kBaud;
    std::printf("%-12s %-14s %8.3f s  %6lld bytes  line bound %7.3f s  ratio %.3f  cpu %.3f s\n", kind, what,
                m.seconds, static_cast<long long>(m.bytes), bound, m.seconds / bound, m.cpu);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const struct {
        const char *label, *family, *version;
    } kinds[] = {{"MKV 01.12", "mkv", "01.12"},
                 {"MKV 01.15l", "mkv", "01.15l"},
                 {"MKV 02.00l", "mkv", "02.00l"},
                 {"RW-5/SMS", "rw5sms", "1.03"}};

    std::printf("line: %d baud, 10 bits a character, both directions paced by the simulator\n", kBaud);
    for (const auto &kind : kinds) {
        QProcess sim;
        sim.start(QStringLiteral(MODSIM_PATH), {"--family", kind.family, "--firmware", kind.version, "--baud",
                                               QString::number(kBaud), "--quiet"});
        if (!sim.waitForReadyRead(5000)) {
            std::fprintf(stderr, "modsim did not start\n");
            return 1;
        }
        const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
        const QString device = line.section(QLatin1Char(' '), 1);

        CountingPort port(PortNaming({{5, device}}));
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
        print(kind.label, "read", read);
        print(kind.label, "write+verify", write);
        if (!host.verified)
            std::printf("%-12s verification FAILED\n", kind.label);

        engine.BitBtnPolaczClick();
        sim.terminate();
        sim.waitForFinished(3000);
    }
    return 0;
}
