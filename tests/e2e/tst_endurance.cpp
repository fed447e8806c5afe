#include "FakeHost.h"
#include "LinkEngine.h"
#include "ModuleSimulator.h"
#include "QtSerialPortService.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {
// Resident memory in KiB, from the kernel.
long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}
// Waits on the event loop itself, not in polling steps: a cycle takes milliseconds.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake; // bounds each wait, so the time-out is noticed
    wake.start(20);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
} // namespace

// A thousand writes, each verified by reading everything back, over the real
// port: nothing may pile up.
class TestEndurance : public QObject {
    Q_OBJECT
private slots:
    void aThousandVerifiedWrites()
    {
        ModuleSimulator sim;
        sim.setHalfDuplex(true);
        QVERIFY(sim.start());
        FakeHost host;
        QtSerialPortService port(PortNaming({{3, sim.slavePath()}}));
        LinkEngine engine(&port, &host);
        host.portEntry = QStringLiteral("COM 3");
        QSignalSpy identified(&engine, &LinkEngine::identified);
        engine.BitBtnPolaczClick();
        QTRY_COMPARE_WITH_TIMEOUT(identified.count(), 1, 5000);
        engine.BitBtnOdczytLicznikClick();
        QTRY_COMPARE_WITH_TIMEOUT(host.status(), QStringLiteral("Status: Połączony"), 5000);

        const int cycles = 1000;
        long memoryAt100 = 0;
        QElapsedTimer clock;
        clock.start();
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            host.settings.Pin.setText(QString::number(1000 + cycle % 9000));
            host.statuses.clear();
            sim.clearLog();
            engine.BitBtnZapisLicznikClick();
            QVERIFY(waitUntil([&] { return host.status() == QStringLiteral("Status: Połączony"); }, 5000));
            QCOMPARE(host.verificationResults.size(), cycle);
            QVERIFY(host.verificationResults.last());
            QVERIFY(engine.IrDABuffer.size() < 64);
            QVERIFY(!engine.TimerWatchDog().isActive());
            if (cycle == 100)
                memoryAt100 = residentKiB();
        }
        const long growth = residentKiB() - memoryAt100;
        qInfo("%d verified writes in %.1f s; resident memory grew by %ld KiB from cycle 100 to %d", cycles,
              clock.elapsed() / 1000.0, growth, cycles);
#if !defined(__SANITIZE_ADDRESS__)
        // Under AddressSanitizer freed memory is held back on purpose; LeakSanitizer judges leaks there.
        QVERIFY2(growth < 4096, qPrintable(QStringLiteral("grew by %1 KiB").arg(growth)));
#endif
        engine.BitBtnPolaczClick();
        QVERIFY(!port.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestEndurance)
#include "tst_endurance.moc"
