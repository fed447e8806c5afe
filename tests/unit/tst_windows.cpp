#include "InstanceLock.h"
#include "LineSetup.h"
#include "OpenError.h"
#include "PortList.h"
#include "PortNaming.h"
#include "RegistryPortSource.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

// What only Windows does: the registry's port list, the system's open errors,
// the session's named lock. Runs under Wine on the build machine.
class TestWindows : public QObject {
    Q_OBJECT
private:
    QString keyPath = QStringLiteral("Software\\VeskorTest-%1").arg(QCoreApplication::applicationPid());

    HKEY createKey(const QString &path)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(path.utf16()), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            qFatal("cannot create the test key");
        return key;
    }
    static void setText(HKEY key, const wchar_t *name, const QString &data)
    {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.utf16()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }

private slots:
    void cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t *>(keyPath.utf16())); }

    void registryValuesNameThePorts()
    {
        // Value names like the system's, which are not key paths.
        const HKEY key = createKey(keyPath + "\\SERIALCOMM");
        setText(key, L"\\Device\\Serial0", "COM3");
        setText(key, L"\\Device\\VCP0", "COM10");
        const DWORD number = 7;
        RegSetValueExW(key, L"\\Device\\Odd", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
        setText(key, L"\\Device\\Serial1", "COM1");
        RegCloseKey(key);

        const RegistryPortSource source(keyPath + "\\SERIALCOMM", true);
        const auto names = source.portNames();
        QVERIFY(names);
        QCOMPARE(QSet<QString>(names->cbegin(), names->cend()), (QSet<QString>{"COM3", "COM10", "COM1"}));
        QCOMPARE(*PortList::parse(*names), (QList<int>{1, 3, 10}));
    }

    void aPortAddedWhileTheListIsReadIsReadAgain()
    {
        const HKEY key = createKey(keyPath + "\\SERIALCOMM");
        setText(key, L"\\Device\\Serial0", "COM3");
        RegistryPortSource source(keyPath + "\\SERIALCOMM", true);
        int reads = 0;
        source.setBeforeReading([&] {
            if (++reads == 1) // longer than anything the sizes were read for
                setText(key, L"\\Device\\USBSER000\\probe", "COM12");
        });
        const auto names = source.portNames();
        RegCloseKey(key);
        QCOMPARE(reads, 2);
        QVERIFY(names && names->contains("COM12") && names->contains("COM3"));
    }

    void noKeyOrNoValuesGiveNothing()
    {
        QVERIFY(!RegistryPortSource(keyPath + "\\SERIALCOMM", true).portNames());
        RegCloseKey(createKey(keyPath + "\\SERIALCOMM"));
        QVERIFY(!RegistryPortSource(keyPath + "\\SERIALCOMM", true).portNames());
    }

    void theFtdiDriversLatencyIsReadForItsPort()
    {
        const HKEY key = createKey(keyPath + "\\FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000\\Device Parameters");
        setText(key, L"PortName", "COM9");
        const DWORD ms = 16;
        RegSetValueExW(key, L"LatencyTimer", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&ms), sizeof ms);
        RegCloseKey(key);
        const QString root = "HKEY_CURRENT_USER\\" + keyPath + "\\FTDIBUS";
        QCOMPARE(LineSetup::ftdiLatencyTimer("com9", root), std::optional<int>(16));
        QCOMPARE(LineSetup::ftdiLatencyTimer("COM3", root), std::nullopt);
    }

    void numbersNameTheSystemsDevices()
    {
        const PortNaming naming;
        QCOMPARE(naming.devicePath(9), QStringLiteral("\\\\.\\COM9"));
        QCOMPARE(naming.numberForDevice(QStringLiteral("COM12")), 12);
        QCOMPARE(naming.numberForDevice(QStringLiteral("\\\\.\\com3")), 3);
        QCOMPARE(naming.numberForDevice(QStringLiteral("LPT1")), 0);
    }

    void openFailuresComeFromTheSystemsOwnError()
    {
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath("held"));
        // Held by another program: opened here without sharing.
        const HANDLE held = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                                        0, nullptr, CREATE_NEW, 0, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        QCOMPARE(OpenError::text(QSerialPort::UnknownError, path, "x"), OpenError::alreadyOpen());
        QCOMPARE(OpenError::text(QSerialPort::PermissionError, path, "x"), OpenError::alreadyOpen());
        CloseHandle(held);
        QCOMPARE(OpenError::text(QSerialPort::UnknownError, path, "the system's text"),
                 QStringLiteral("the system's text"));
        QCOMPARE(OpenError::text(QSerialPort::UnknownError, dir.filePath("missing"), "x"), OpenError::noSuchDevice());
        QVERIFY(!OpenError::text(QSerialPort::PermissionError, path, "x").contains("dialout"));
    }

    void theLockIsTheSessionsAndFreedWithItsHolder()
    {
        const QString name = QStringLiteral("VESKOR-TEST-%1.EXE").arg(QCoreApplication::applicationPid());
        QVERIFY(InstanceLock::serverName(name).startsWith(name + "-S-1-5-"));
        auto first = InstanceLock::tryAcquire(name);
        QVERIFY(first);
        QVERIFY(!InstanceLock::tryAcquire(name));
        first.reset();
        QVERIFY(InstanceLock::tryAcquire(name));
    }
};

QTEST_GUILESS_MAIN(TestWindows)
#include "tst_windows.moc"
