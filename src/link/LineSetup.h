#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

// Puts the open port's line exactly as the module speaks: 4800 baud, 7E1, no flow
// control of any kind, DTR and RTS on. QSerialPort sets what it knows of; on
// Windows the rest of the device's settings stay as whatever used the port last
// left them (a DSR handshake makes every write wait for ever), so they are set too.
namespace LineSetup {
// Empty when the line is set; otherwise why not, in the technician's words.
QString apply(QSerialPort &port);

// A USB adapter holds received bytes until its latency timer runs out (16 ms on
// FTDI chips unless told otherwise), which delays every answer. On Linux this asks
// the driver for low latency (ftdi_sio then uses 1 ms); on Windows, where only an
// administrator may change it, it reads what the FTDI driver is set to. Never
// fails the opening: returns what the session's log should say of it.
QString lowerLatency(QSerialPort &port);

#ifdef Q_OS_WIN
// The FTDI driver's LatencyTimer for the port named portName ("COM9") under
// enumKey, a registry path as QSettings takes it; nothing when no FTDI device has it.
std::optional<int> ftdiLatencyTimer(
    const QString &portName,
    const QString &enumKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS"));
#endif
} // namespace LineSetup
