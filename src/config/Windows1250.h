#pragma once

#include <QByteArray>
#include <QString>

// The record and the settings file keep their text in the Central European ANSI
// code page, as the files written on Windows do.
namespace Windows1250 {

// True when the code page is available (Qt built with ICU). Checked once at start.
bool isAvailable();

// A character the code page lacks becomes '?', as Windows does it.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

} // namespace Windows1250
