#include "PortNaming.h"
#include "QtSerialPortService.h"

#include <QSignalSpy>
#include <QTest>

class TestPortNaming : public QObject {
    Q_OBJECT
private slots:
    void entryToNumber_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("number");
        QTest::newRow("12") << "COM 12" << 12;
        QTest::newRow("2 is the lowest taken") << "COM 2" << 2;
        QTest::newRow("1") << "COM 1" << 1;
        QTest::newRow("0") << "COM 0" << 1;
        QTest::newRow("negative") << "COM -3" << 1;
        QTest::newRow("65535") << "COM 65535" << 65535;
        QTest::newRow("70000") << "COM 70000" << 1;
        QTest::newRow("not a number") << "COM x" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("no space") << "COM12" << 2; // the first four characters go, whatever they are
    }

    void entryToNumber()
    {
        QFETCH(QString, entry);
        QFETCH(int, number);
        QCOMPARE(int(PortNaming::numberFromEntry(entry)), number);
    }

    void openingANumberWithoutDeviceSaysItDoesNotExist()
    {
        QtSerialPortService port(PortNaming{});
        port.setComNumber(200);
        QSignalSpy opened(&port, &SerialPort::portOpened);
        try {
            port.open();
            QFAIL("open() succeeded");
        } catch (const SerialPortError &e) {
            QCOMPARE(e.message(), QStringLiteral("ie_BadId - Specified comport doesn't exist"));
        }
        QVERIFY(!port.isOpen());
        QCOMPARE(opened.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPortNaming)
#include "tst_portnaming.moc"
