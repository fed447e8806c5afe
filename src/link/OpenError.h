#pragma once

#include <QSerialPort>
#include <QString>

// The technician's wording of a failed open. Telling "held by another program"
// from "not allowed" needs the system, so each platform has its own file.
namespace OpenError {

QString text(QSerialPort::SerialPortError error, const QString &device, const QString &systemText);

inline QString noSuchDevice()
{
    return QStringLiteral("ie_BadId - Specified comport doesn't exist");
}
inline QString alreadyOpen()
{
    return QStringLiteral("ie_Open - device already open");
}

} // namespace OpenError
