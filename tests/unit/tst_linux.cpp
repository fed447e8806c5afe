#include "PortNaming.h"
#include "ProfileFile.h"
#include "QtSerialPortService.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// What only Linux does: device names by convention, permissions on devices.
class TestLinux : public QObject {
    Q_OBJECT
private slots:
    void linuxDevicesFollowTheConvention()
    {
        const PortNaming naming;
        QCOMPARE(naming.devicePath(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(naming.devicePath(32), QStringLiteral("/dev/ttyS31"));
        QCOMPARE(naming.devicePath(33), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(naming.devicePath(65), QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(naming.devicePath(96), QStringLiteral("/dev/ttyACM31"));
        QCOMPARE(naming.devicePath(97), QString());

        QCOMPARE(naming.numberForDevice(QStringLiteral("/dev/ttyUSB1")), 34);
        QCOMPARE(naming.numberForDevice(QStringLiteral("/dev/ttyACM0")), 65);
        QCOMPARE(naming.numberForDevice(QStringLiteral("/dev/ttyS32")), 0);
        QCOMPARE(naming.numberForDevice(QStringLiteral("/dev/pts/3")), 0);
    }

    void explicitMapWinsBothWays()
    {
        const PortNaming naming({{9, QStringLiteral("/dev/pts/7")}, {33, QStringLiteral("/dev/serial/by-id/x")}});
        QCOMPARE(naming.devicePath(9), QStringLiteral("/dev/pts/7"));
        QCOMPARE(naming.devicePath(33), QStringLiteral("/dev/serial/by-id/x"));
        QCOMPARE(naming.devicePath(34), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(naming.numberForDevice(QStringLiteral("/dev/pts/7")), 9);
    }

    // A FIFO would block the first read (and a save would replace it): neither happens.
    void aSettingsFileThatIsNoFileIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("QOVMS.ini");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        ProfileFile ini(fifo);
        QVERIFY(!ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 2'");
        QVERIFY(!ini.save());
        QVERIFY(!QFileInfo(fifo).isFile() && QFileInfo::exists(fifo));
        QVERIFY(PortNaming::fromSettings(fifo).explicitMap().isEmpty());
    }

    void openFailuresAreWordedForTheTechnician()
    {
        QCOMPARE(QtSerialPortService::openErrorText(QSerialPort::DeviceNotFoundError, "/dev/ttyS9", "x"),
                 QStringLiteral("ie_BadId - Specified comport doesn't exist"));
        QCOMPARE(QtSerialPortService::openErrorText(QSerialPort::OpenError, "/dev/ttyS9", "Input/output error"),
                 QStringLiteral("Input/output error"));

        QTemporaryDir dir;
        const QString device = dir.filePath("tty");
        QFile f(device);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        // The device is there and we may use it: someone else holds it.
        QCOMPARE(QtSerialPortService::openErrorText(QSerialPort::PermissionError, device, "x"),
                 QStringLiteral("ie_Open - device already open"));
        const QString denied =
            QtSerialPortService::openErrorText(QSerialPort::PermissionError, dir.filePath("missing"), "x");
        QVERIFY(denied.contains("dialout"));
    }
};

QTEST_GUILESS_MAIN(TestLinux)
#include "tst_linux.moc"
