#include "FakeHost.h"
#include "FakeSerialPort.h"
#include "Frames.h"
#include "LinkEngine.h"

#include <QSignalSpy>
#include <QTest>

using Button = LinkHost::Button;

namespace {
QByteArray ident(const QByteArray &payload)
{
    return Frames::SOH + QByteArray("GE0") + Frames::STX + '(' + payload + ')' + Frames::EOT;
}
const QByteArray GE0 = Frames::readRequest("GE0");
} // namespace

class TestLinkEngine : public QObject {
    Q_OBJECT
private:
    FakeHost *host = nullptr;
    FakeSerialPort *port = nullptr;
    LinkEngine *engine = nullptr;

    void openPort()
    {
        engine->BitBtnPolaczClick();
        QVERIFY(port->isOpen());
        port->takeSent();
        port->calls.clear();
    }

private slots:
    void init()
    {
        host = new FakeHost;
        port = new FakeSerialPort;
        engine = new LinkEngine(port, host);
    }
    void cleanup()
    {
        delete engine;
        delete port;
        delete host;
    }

    void openingSendsOneIdentificationRequestAfterTheFlushes()
    {
        host->portEntry = "COM 12";
        engine->BitBtnPolaczClick();
        // The flushes come before GE0 is queued, so it is never thrown away.
        QCOMPARE(port->calls, QStringList({"com:12", "open", "flushIn", "flushOut", "put:GE0"}));
        QCOMPARE(port->queued(), QList<QByteArray>{GE0});
        QCOMPARE(host->statuses, QStringList({"Status: Otwieranie portu", "Status: Port otwarty"}));
        QCOMPARE(host->polaczCaption, QStringLiteral("Zamknij port"));
        QVERIFY(host->buttons[Button::Polacz]);
        // The module buttons wait for the module: its kind decides the frames and totals.
        QVERIFY(!host->buttons[Button::OdczytLicznik]);
        QVERIFY(!host->buttons[Button::ZapisLicznik]);
        QVERIFY(engine->IsWaitHeader);
        QVERIFY(engine->TimerWatchDog().isActive());
        QCOMPARE(engine->TimerWatchDog().interval(), 1000);
    }

    void aFailedOpenIsReportedAndLeavesThePortClosed()
    {
        port->failNextOpen("ie_BadId - Specified comport doesn't exist");
        engine->BitBtnPolaczClick();
        QCOMPARE(host->messages.size(), 1);
        QCOMPARE(host->messages[0].first, LinkHost::Message::Error);
        QCOMPARE(host->messages[0].second, QStringLiteral("Błąd: ie_BadId - Specified comport doesn't exist"));
        QCOMPARE(host->status(), QStringLiteral("Status: Port zamknięty"));
        QVERIFY(host->buttons[Button::Polacz]);
        QVERIFY(!host->buttons[Button::OdczytLicznik]);
        QVERIFY(!engine->TimerWatchDog().isActive());
        QVERIFY(engine->IsWaitHeader); // cleared by the next press
        engine->BitBtnPolaczClick();
        QVERIFY(port->isOpen());
    }

    void identificationTable_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("latch");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<int>("maxNumbers");
        QTest::newRow("MKV 01.12") << QByteArray("MKV-3/G01.12 GSM") << int(dtMKVx) << QByteArray("01.12") << false
                                   << false << 16;
        QTest::newRow("MKV 01.15l") << QByteArray("MKV-3/G01.15l GSM") << int(dtMKVx) << QByteArray("01.15") << true
                                    << false << 16;
        QTest::newRow("MKV 02.00l") << QByteArray("MKV-3/G02.00l GSM") << int(dtMKVx) << QByteArray("02.00") << true
                                    << true << 16;
        QTest::newRow("MKV 02.00 without l is latched too")
            << QByteArray("MKV-1/G02.00 GSM") << int(dtMKVx) << QByteArray("02.00") << true << true << 16;
        QTest::newRow("RW-5/GSM") << QByteArray("RW-5/GSM-v1.03 x") << int(dtRW5SMS) << QByteArray("1.03") << true
                                  << true << 8;
        QTest::newRow("RW-5/SMS") << QByteArray("RW-5/SMS-v0.1 x") << int(dtRW5SMS) << QByteArray("0.1") << true << true
                                  << 8;
    }

    void identificationTable()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, type);
        QFETCH(QByteArray, version);
        QFETCH(bool, latch);
        QFETCH(bool, extended);
        QFETCH(int, maxNumbers);
        openPort();
        QSignalSpy identified(engine, &LinkEngine::identified);
        port->deliver(ident(payload));
        QCOMPARE(int(engine->DeviceType), type);
        QCOMPARE(engine->DeviceVersion, version);
        QCOMPARE(engine->IsLatch, latch);
        QCOMPARE(engine->IsExtendedBook(), extended);
        QCOMPARE(engine->MaxNumbers, maxNumbers);
        QVERIFY(!engine->IsWaitHeader);
        QVERIFY(!engine->TimerWatchDog().isActive());
        QVERIFY(engine->IrDABuffer.isEmpty());
        QVERIFY(port->isOpen());
        QVERIFY(host->messages.isEmpty());
        QCOMPARE(identified.count(), 1);
        QVERIFY(host->buttons[Button::OdczytLicznik] && host->buttons[Button::ZapisLicznik]);
        QCOMPARE(host->status(), QStringLiteral("Status: Port otwarty")); // identification sets no text
    }

    void oldFirmwareIsRefusedAndThePortClosed()
    {
        openPort();
        port->deliver(ident("MKV-3/G01.11 GSM"));
        QCOMPARE(host->messages.size(), 1);
        QCOMPARE(host->messages[0].first, LinkHost::Message::Information);
        QCOMPARE(host->messages[0].second,
                 QStringLiteral("Ta wersja programu nie obsługuje modułów MKV-1/MKV-3 w wersji 01.11."));
        QVERIFY(!port->isOpen());
        QCOMPARE(host->status(), QStringLiteral("Status: Port zamknięty"));
        QCOMPARE(host->polaczCaption, QStringLiteral("Otwórz port"));
        QVERIFY(!host->buttons[Button::OdczytLicznik]);
        QCOMPARE(engine->DeviceVersion, QByteArray("01.11")); // kept after the close
        QVERIFY(!engine->IsLatch);
    }

    void refusalDoesNotReopenAPortThatWentAwayMeanwhile()
    {
        openPort();
        host->onMessage = [this] {
            host->onMessage = nullptr;
            engine->BitBtnPolaczClick(); // the technician closed it while the box was up
        };
        port->deliver(ident("MKV-3/G01.00 GSM"));
        QVERIFY(!port->isOpen());
    }

    void bothFamiliesInTheBufferIdentifyMkv()
    {
        openPort();
        port->deliver(ident("RW-5/GSM-v1.03 x") + ident("MKV-3/G01.15l y"));
        QCOMPARE(engine->DeviceType, dtMKVx);
        QCOMPARE(engine->MaxNumbers, 16);
        QCOMPARE(engine->DeviceVersion, QByteArray("01.15"));
    }

    void identificationInPiecesWaitsForTheSpace()
    {
        openPort();
        engine->TimerWatchDog().stop();
        port->deliver(GE0); // an echoing probe
        QVERIFY(engine->IsWaitHeader);
        QVERIFY(engine->TimerWatchDog().isActive());
        port->deliver(ident("MKV-3/G02.00l").chopped(2));
        port->deliver(")\x04");
        // Family seen, version not finished: still waiting.
        QVERIFY(engine->IsWaitHeader);
        QCOMPARE(engine->DeviceType, dtMKVx);
        QVERIFY(engine->DeviceVersion.isEmpty());

        engine->TimerWatchDogTimer();
        QVERIFY(engine->IrDABuffer.isEmpty());
        QCOMPARE(port->takeSent(), QList<QByteArray>{GE0});

        port->deliver(ident("MKV-3/G02.00l GSM"));
        QVERIFY(!engine->IsWaitHeader);
        QCOMPARE(engine->DeviceVersion, QByteArray("02.00"));
    }

    void watchdogRepeatsOnlyWhatIsAwaited()
    {
        openPort();
        port->deliver("garbage");
        engine->TimerWatchDogTimer();
        engine->TimerWatchDogTimer();
        QCOMPARE(port->takeSent(), (QList<QByteArray>{GE0, GE0}));
        QVERIFY(engine->IrDABuffer.isEmpty());

        port->deliver(ident("MKV-3/G01.12 GSM"));
        engine->TimerWatchDogTimer();
        QVERIFY(port->takeSent().isEmpty());
    }

    void bytesAreLeftInThePortWhileNothingIsAwaited()
    {
        openPort();
        port->deliver(ident("MKV-3/G01.12 GSM"));
        port->deliver("stray");
        QVERIFY(engine->IrDABuffer.isEmpty());
        QVERIFY(port->charReady());
    }

    void garbageNeverGrowsTheBuffer()
    {
        openPort();
        for (int i = 0; i < 40; ++i)
            port->deliver(QByteArray(1000, char('a' + i % 26)));
        QCOMPARE(engine->IrDABuffer.size(), LinkEngine::kBufferLimit);
        QVERIFY(engine->IrDABuffer.endsWith(QByteArray(1000, char('a' + 39 % 26))));
        // An answer that arrives after the flood is still recognised.
        port->deliver(ident("MKV-3/G01.12 GSM"));
        QVERIFY(!engine->IsWaitHeader);
        QCOMPARE(engine->DeviceVersion, QByteArray("01.12"));
    }

    void closingThePortResetsTheEngine()
    {
        openPort();
        port->deliver("half an answer");
        engine->BitBtnPolaczClick();
        QVERIFY(!port->isOpen());
        QCOMPARE(host->statuses.mid(host->statuses.size() - 2),
                 QStringList({"Status: Zamykanie portu", "Status: Port zamknięty"}));
        QCOMPARE(host->polaczCaption, QStringLiteral("Otwórz port"));
        QVERIFY(host->buttons[Button::Utworz]);
        QVERIFY(host->buttons[Button::OdczytPlik]);
        QVERIFY(!host->buttons[Button::OdczytLicznik]);
        QVERIFY(!host->buttons[Button::ZapisLicznik]);
        QVERIFY(!engine->IsWaitHeader);
        QVERIFY(!engine->TimerWatchDog().isActive());
        QVERIFY(engine->IrDABuffer.isEmpty());
        QCOMPARE(host->closeRequests, 0);
    }

    void closeQueryClosesThePortBeforeTheWindow()
    {
        openPort();
        bool canClose = true;
        engine->FormCloseQuery(canClose);
        QVERIFY(!canClose);
        QVERIFY(engine->MustClose);
        QVERIFY(!port->isOpen());
        QCOMPARE(port->calls, QStringList({"close"}));
        QCOMPARE(host->closeRequests, 1); // asked again once the port reported closed

        canClose = true;
        engine->FormCloseQuery(canClose);
        QVERIFY(canClose);
        QCOMPARE(host->closeRequests, 1);
    }

    void closeQueryWithThePortClosedLetsTheWindowGo()
    {
        bool canClose = true;
        engine->FormCloseQuery(canClose);
        QVERIFY(canClose);
        QVERIFY(!engine->MustClose);
        QVERIFY(port->calls.isEmpty());
    }

    void aVanishedDeviceIsReportedOnceAndClosed()
    {
        openPort();
        port->pullOut("urządzenie portu zostało odłączone");
        port->pullOut("urządzenie portu zostało odłączone");
        QCOMPARE(host->messages.size(), 1);
        QCOMPARE(host->messages[0].first, LinkHost::Message::Error);
        QCOMPARE(host->messages[0].second, QStringLiteral("Błąd: urządzenie portu zostało odłączone"));
        QVERIFY(!port->isOpen());
        QCOMPARE(host->status(), QStringLiteral("Status: Port zamknięty"));
        QVERIFY(host->buttons[Button::Polacz]);
        QVERIFY(!engine->IsWaitHeader);
        QVERIFY(!engine->TimerWatchDog().isActive());
    }
};

QTEST_GUILESS_MAIN(TestLinkEngine)
#include "tst_linkengine.moc"
