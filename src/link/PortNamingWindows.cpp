#include "PortNaming.h"

#include <QRegularExpression>

QString PortNaming::devicePath(quint16 number) const
{
    const auto it = m_map.constFind(number);
    if (it != m_map.cend())
        return it.value();
    return QStringLiteral("\\\\.\\COM%1").arg(number);
}

int PortNaming::numberForDevice(const QString &devicePath) const
{
    static const QRegularExpression pattern(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(devicePath);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool PortNaming::acceptsDevicePaths()
{
    return false;
}
