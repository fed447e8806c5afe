#include "PortNaming.h"

#include "ProfileFile.h"

PortNaming::PortNaming(QMap<int, QString> explicitMap) : m_map(std::move(explicitMap)) {}

PortNaming PortNaming::fromSettings(const QString &iniPath)
{
    QMap<int, QString> map;
    ProfileFile ini(iniPath);
    if (!ini.load())
        return PortNaming(map);
    const QString section = QStringLiteral("PORTS");
    for (const QString &key : ini.keys(section)) {
        if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = key.mid(3).toInt(&ok);
        const QString device = ini.readString(section, key);
        if (ok && number >= 1 && number <= 65535 && !device.isEmpty() && !map.contains(number))
            map.insert(number, device);
    }
    return PortNaming(map);
}

quint16 PortNaming::numberFromEntry(const QString &entry)
{
    bool ok = false;
    const qlonglong n = entry.mid(4).toLongLong(&ok, 10);
    if (!ok || n < 2 || n > 65535)
        return 1;
    return static_cast<quint16>(n);
}
