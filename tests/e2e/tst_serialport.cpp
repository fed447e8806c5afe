#include "ModuleSimulator.h"
#include "QtSerialPortService.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

// The real port service on a pseudo-terminal: what the link engine relies on.
class TestSerialPort : public QObject {
    Q_OBJECT
private:
    ModuleSimulator *sim = nullptr;
    QtSerialPortService *port = nullptr;

private slots:
    void init()
    {
        sim = new ModuleSimulator;
        QVERIFY(sim->start());
        port = new QtSerialPortService(PortNaming({{3, sim->slavePath()}}));
        port->setComNumber(3);
    }
    void cleanup()
    {
        delete port;
        delete sim;
    }

    void opensAndClosesWithOneEventEach()
    {
        QSignalSpy opened(port, &SerialPort::portOpened);
        QSignalSpy closed(port, &SerialPort::portClosed);
        port->open(); // 7E1 on a pseudo-terminal must not count as a failure
        QVERIFY(port->isOpen());
        port->open();
        QCOMPARE(opened.count(), 1);
        port->setComNumber(7); // ignored while open
        QCOMPARE(int(port->comNumber()), 3);
        port->close();
        port->close();
        QVERIFY(!port->isOpen());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!port->charReady());
        QCOMPARE(port->getChar(), '\0');
    }

    void countedBytesAreTakenOneByOne()
    {
        port->open();
        QSignalSpy avail(port, &SerialPort::triggerAvail);
        sim->inject("12345");
        QTRY_VERIFY(!avail.isEmpty());
        QTRY_COMPARE(avail.last().at(0).value<quint16>(), quint16(5));
        QByteArray got;
        for (int i = 0; i < 5; ++i)
            got += port->getChar();
        QCOMPARE(got, QByteArray("12345"));
        QVERIFY(!port->charReady());
        sim->inject("6");
        QTRY_VERIFY(port->charReady());
    }

    void aBlockLargerThanTheQueueIsRefusedWhole()
    {
        port->open();
        try {
            port->putString(QByteArray(SerialPort::kQueueSize + 1, 'x'));
            QFAIL("an oversized block was queued");
        } catch (const SerialPortError &e) {
            QCOMPARE(e.message(), QStringLiteral("Output buffer too small for block"));
        }
        port->putString("\x01GE0\x02\x04");
        QTRY_COMPARE(sim->requestCodes(), QList<QByteArray>{"GE0"});
    }

    void theReceiveQueueIsBounded()
    {
        port->open();
        QSignalSpy avail(port, &SerialPort::triggerAvail);
        // Nobody reads: the queue keeps the newest 4096 bytes and no more.
        for (int i = 0; i < 5; ++i)
            sim->inject(QByteArray(2000, char('a' + i)));
        QTRY_COMPARE(avail.isEmpty() ? 0 : int(avail.last().at(0).value<quint16>()), SerialPort::kQueueSize);
        QTRY_COMPARE(sim->pendingOutput(), 0); // all of it is on the line
        QTest::qWait(100);
        QByteArray got;
        while (port->charReady())
            got += port->getChar();
        QCOMPARE(got.size(), SerialPort::kQueueSize);
        QVERIFY(got.endsWith(QByteArray(2000, 'e')));
    }

    // The simulator's USB adapter hands over what it holds when its timer runs out or 62 bytes wait.
    void anAdapterHoldsBytesUntilItsTimerOrAFullPacket_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("atOnce");
        QTest::newRow("fewer than a packet: at the timer") << 5 << 0;
        QTest::newRow("more than a packet: the packet at once, the rest at the timer") << 70 << 62;
    }
    void anAdapterHoldsBytesUntilItsTimerOrAFullPacket()
    {
        QFETCH(int, bytes);
        QFETCH(int, atOnce);
        sim->setAdapterLatency(1500);
        port->open(); // a pseudo-terminal refuses low latency: it opens and runs as before
        QVERIFY2(port->adapterNote().contains("nie pozwala"), qPrintable(port->adapterNote()));
        QElapsedTimer clock;
        clock.start();
        sim->inject(QByteArray(bytes, 'x'));
        QByteArray got;
        const auto take = [&] {
            while (port->charReady())
                got += port->getChar();
            return got.size();
        };
        QTest::qWait(300);
        QCOMPARE(take(), atOnce);
        QTRY_COMPARE_WITH_TIMEOUT(take(), bytes, 5000);
        QVERIFY(clock.elapsed() >= 1400);
    }

    void everyErrorWhileOpenIsALoss_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("loss");
        using E = QSerialPort;
        for (const auto error : {E::PermissionError, E::DeviceNotFoundError, E::ResourceError, E::ReadError,
                                 E::WriteError, E::NotOpenError, E::OpenError, E::UnknownError})
            QTest::newRow(qPrintable(QString::number(error))) << int(error) << true;
        QTest::newRow("timeout") << int(E::TimeoutError) << false;
        QTest::newRow("unsupported (a pseudo-terminal's modem lines)") << int(E::UnsupportedOperationError) << false;
    }
    void everyErrorWhileOpenIsALoss()
    {
        QFETCH(int, error);
        QFETCH(bool, loss);
        port->open();
        QSignalSpy lost(port, &SerialPort::deviceLost);
        emit port->findChild<QSerialPort *>()->errorOccurred(QSerialPort::SerialPortError(error));
        QCoreApplication::processEvents(); // the loss is told from the event loop
        QCOMPARE(lost.count(), int(loss));
        if (error == QSerialPort::PermissionError ||
            error == QSerialPort::DeviceNotFoundError) // Windows: a pulled probe
            QVERIFY(lost.value(0).value(0).toString().contains(QStringLiteral("czy sonda jest podłączona?")));
    }

    void aHangUpIsReportedOnceAndThePortStaysLogicallyOpen()
    {
        port->open();
        QSignalSpy lost(port, &SerialPort::deviceLost);
        QSignalSpy closed(port, &SerialPort::portClosed);
        sim->hangUp();
        QTRY_COMPARE(lost.count(), 1);
        QTest::qWait(200);
        QCOMPARE(lost.count(), 1);
        QVERIFY(port->isOpen());
        QVERIFY(!port->charReady());
        port->putString("\x01G00\x02\x04"); // goes nowhere, throws nothing
        port->close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!port->isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
