#include "PortDescription.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStringList>

QString PortDescription::of(const QString &devicePath)
{
    if (devicePath.isEmpty())
        return {};
    QStringList parts;
    const QSerialPortInfo info(devicePath);
    for (const QString &text : {info.manufacturer(), info.description(), info.serialNumber()}) {
        if (!text.isEmpty() && !parts.contains(text))
            parts << text;
    }
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
        parts << QStringLiteral("USB %1:%2")
                     .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                     .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
    // The name that stays the same whichever socket the probe is plugged into (Linux).
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (!device.isEmpty() && link.canonicalFilePath() == device)
            parts << link.absoluteFilePath();
    }
    return parts.join(QStringLiteral(", "));
}
