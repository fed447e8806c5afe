#include "OpenError.h"

#include <QFileInfo>

QString OpenError::text(QSerialPort::SerialPortError error, const QString &device, const QString &systemText)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return noSuchDevice();
    case QSerialPort::PermissionError: {
        // Qt reports both "held by another program" and "not allowed" this way;
        // the device's access bits tell which one the technician has to fix.
        const QFileInfo info(device);
        if (info.exists() && info.isReadable() && info.isWritable())
            return alreadyOpen();
        return QStringLiteral("brak uprawnień do urządzenia %1. Dodaj użytkownika do grupy \"dialout\" "
                              "(sudo usermod -aG dialout $USER), wyloguj się i zaloguj ponownie.")
            .arg(device);
    }
    default:
        return systemText;
    }
}
