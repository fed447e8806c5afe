#pragma once

#include <QSerialPort>
#include <QString>

// Puts the open port's line exactly as the module speaks: 4800 baud, 7E1, no flow
// control of any kind, DTR and RTS on. QSerialPort sets what it knows of; on
// Windows the rest of the device's settings stay as whatever used the port last
// left them (a DSR handshake makes every write wait for ever), so they are set too.
namespace LineSetup {
// Empty when the line is set; otherwise why not, in the technician's words.
QString apply(QSerialPort &port);
} // namespace LineSetup
