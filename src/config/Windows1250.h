#pragma once

#include <QByteArray>
#include <QString>

// The record and the settings file keep their text in the Central European ANSI
// code page, as the files written on Windows do.
namespace Windows1250 {

// True when this system can convert the code page. Checked once at start.
bool isAvailable();

// A character the code page lacks becomes '?', as Windows does it.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// The system's own converter for the code page (ICU on Linux, the code page
// functions on Windows): the one part that differs by platform. The two
// functions above are built on it, so both platforms convert alike. Empty when
// the system has no converter.
QString systemDecode(const QByteArray &bytes);

} // namespace Windows1250
