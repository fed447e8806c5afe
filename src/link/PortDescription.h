#pragma once

#include <QString>

// What the system knows of the USB device behind a port (manufacturer, product,
// serial number, vendor and product id) and, on Linux, its stable by-id name, so
// a workshop with several probes can tell them apart. Empty for a port with none.
namespace PortDescription {

QString of(const QString &devicePath);

} // namespace PortDescription
