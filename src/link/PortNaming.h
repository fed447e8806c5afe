#pragma once

#include <QMap>
#include <QString>

// Turns a port number into a device the system can open. Each platform has its
// own implementation file; explicit mappings (from the settings file) win.
class PortNaming {
public:
    explicit PortNaming(QMap<int, QString> explicitMap = {});

    // Empty when the number names no device on this system.
    QString devicePath(quint16 number) const;
    // The number a device is listed under, 0 when it has none.
    int numberForDevice(const QString &devicePath) const;

    const QMap<int, QString> &explicitMap() const { return m_map; }
    // Names a device for number, above what the map and the convention give.
    void map(int number, const QString &devicePath) { m_map.insert(number, devicePath); }
    // Whether a port may be named by its device path (Linux scripts do; Windows has COM numbers only).
    static bool acceptsDevicePaths();

    // The "COM9=/dev/..." lines of the settings file's section PORTS.
    static PortNaming fromSettings(const QString &iniPath);

    // The port number an entry such as "COM 12" selects: the text after its first
    // four characters as a decimal number from 2 to 65535, otherwise port 1.
    static quint16 numberFromEntry(const QString &entry);

private:
    QMap<int, QString> m_map;
};
