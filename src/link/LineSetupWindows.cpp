#include "LineSetup.h"

#include <QSettings>

#include <windows.h>

namespace {
QString failure(const char *what)
{
    return QStringLiteral("Nie można ustawić parametrów portu (%1): %2")
        .arg(QLatin1String(what), qt_error_string(static_cast<int>(GetLastError())));
}

// No flow control of any kind, DTR and RTS on, nothing replaced or dropped.
void setHandshake(DCB &dcb)
{
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE; // never held back by an XOFF of our own
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
}
} // namespace

QString LineSetup::apply(QSerialPort &port)
{
    const auto handle = reinterpret_cast<HANDLE>(port.handle());
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb))
        return failure("GetCommState");
    DCB handshakeOnly = dcb;
    setHandshake(handshakeOnly);
    dcb.BaudRate = CBR_4800;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.fParity = TRUE;
    dcb.StopBits = ONESTOPBIT;
    setHandshake(dcb);
    if (SetCommState(handle, &dcb))
        return {};
    // A line that cannot hold 7E1 (a pseudo-terminal under Wine keeps 8N1) keeps
    // the format QSerialPort gave it; the handshake must still be ours.
    if (GetLastError() == ERROR_INVALID_PARAMETER && SetCommState(handle, &handshakeOnly))
        return {};
    return failure("SetCommState");
}

std::optional<int> LineSetup::ftdiLatencyTimer(const QString &portName, const QString &enumKey)
{
    // FTDIBUS\<device>\<instance>\Device Parameters holds PortName and LatencyTimer.
    QSettings devices(enumKey, QSettings::NativeFormat);
    const QStringList deviceKeys = devices.childGroups();
    for (const QString &device : deviceKeys) {
        devices.beginGroup(device);
        const QStringList instances = devices.childGroups();
        for (const QString &instance : instances) {
            const QString parameters = instance + QStringLiteral("/Device Parameters/");
            if (devices.value(parameters + QStringLiteral("PortName"))
                    .toString()
                    .compare(portName, Qt::CaseInsensitive) != 0)
                continue;
            bool ok = false;
            const int ms = devices.value(parameters + QStringLiteral("LatencyTimer")).toInt(&ok);
            if (ok)
                return ms;
        }
        devices.endGroup();
    }
    return std::nullopt;
}

QString LineSetup::lowerLatency(QSerialPort &port)
{
    QString name = port.portName();
    name.remove(QStringLiteral("\\\\.\\"));
    if (const auto ms = ftdiLatencyTimer(name))
        return QStringLiteral("opóźnienie adaptera FTDI: %1 ms (LatencyTimer w rejestrze; 1 ms ustawia administrator "
                              "w Menedżerze urządzeń)")
            .arg(*ms);
    return QStringLiteral("opóźnienie adaptera: nieznane (port bez sterownika FTDI)");
}
