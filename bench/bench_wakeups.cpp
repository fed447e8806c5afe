// How often the program wakes up while the port is open and nothing happens:
// only the watchdog's ticks while a silent module is being identified, none
// once connected. Counts the event loop's wake-ups over a few seconds.
#include "LinkEngine.h"
#include "QtSerialPortService.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace {
class IdleHost : public LinkHost {
public:
    void setStatus(const QString &) override {}
    void setButtonEnabled(Button, bool) override {}
    void setPolaczCaption(const QString &) override {}
    QString selectedPortEntry() const override { return QStringLiteral("COM 5"); }
    void showMessage(Message, const QString &) override {}
    void closeWindow() override {}
    TUstawienie &ustawienie() override { return settings; }
    TUstawienie &odczytanie() override { return settings; }
    bool validateConfiguration() override { return true; }
    void showConfiguration() override {}
    void showVerificationResult(bool) override {}
    TUstawienie settings = emptyConfiguration();
};

double wakeupsPerSecond(int seconds)
{
    int wakeups = 0;
    auto *dispatcher = QAbstractEventDispatcher::instance();
    const auto c = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++wakeups; });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return (wakeups - 1) / double(seconds); // the closing timer's own wake-up
}

double measure(bool silent)
{
    QProcess sim;
    QStringList args{"--quiet"};
    if (silent)
        args << "--silent-after" << "0";
    sim.start(QStringLiteral(MODSIM_PATH), args);
    sim.waitForReadyRead(5000);
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed().section(QLatin1Char(' '), 1);
    IdleHost host;
    QtSerialPortService port(PortNaming({{5, device}}));
    LinkEngine engine(&port, &host);
    engine.BitBtnPolaczClick();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    const double rate = wakeupsPerSecond(5);
    engine.BitBtnPolaczClick();
    sim.terminate();
    sim.waitForFinished(3000);
    return rate;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("wake-ups per second, port open, over 5 s:\n");
    std::printf("  identifying a silent module (watchdog ticking): %.1f\n", measure(true));
    std::printf("  connected and idle:                             %.1f\n", measure(false));
    return 0;
}
