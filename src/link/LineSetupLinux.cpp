#include "LineSetup.h"

#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>

// QSerialPort sets the whole terminal mode from its own settings: nothing is left over.
QString LineSetup::apply(QSerialPort &)
{
    return {};
}

QString LineSetup::lowerLatency(QSerialPort &port)
{
    const int fd = static_cast<int>(port.handle());
    serial_struct serial{};
    // A pseudo-terminal or a device without the call refuses it: the line works as it is.
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0)
        return QStringLiteral("opóźnienie adaptera: urządzenie nie pozwala go zmienić (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if ((serial.flags & ASYNC_LOW_LATENCY) != 0)
        return QStringLiteral("opóźnienie adaptera: niskie (ASYNC_LOW_LATENCY już ustawione)");
    serial.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &serial) != 0)
        return QStringLiteral("opóźnienie adaptera: sterownik odmówił niskiego (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return QStringLiteral("opóźnienie adaptera: niskie (ASYNC_LOW_LATENCY ustawione)");
}
