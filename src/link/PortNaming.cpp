#include "PortNaming.h"

PortNaming::PortNaming(QMap<int, QString> explicitMap) : m_map(std::move(explicitMap)) {}

quint16 PortNaming::numberFromEntry(const QString &entry)
{
    bool ok = false;
    const qlonglong n = entry.mid(4).toLongLong(&ok, 10);
    if (!ok || n < 2 || n > 65535)
        return 1;
    return static_cast<quint16>(n);
}
