#pragma once

#include "PortList.h"

// The names of a registry key's values' data, in the order the registry
// returns the values: HKLM "HARDWARE\DEVICEMAP\SERIALCOMM" for the system's
// serial ports. Windows only.
class RegistryPortSource : public PortSource {
public:
    // A key of HKEY_LOCAL_MACHINE, or of HKEY_CURRENT_USER when currentUser is set (tests).
    explicit RegistryPortSource(QString keyPath = QStringLiteral("HARDWARE\\DEVICEMAP\\SERIALCOMM"),
                                bool currentUser = false);

    std::optional<QStringList> portNames() const override;

private:
    QString m_keyPath;
    bool m_currentUser;
};
