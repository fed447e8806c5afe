#pragma once

#include "PortList.h"

#include <functional>

// The names of a registry key's values' data, in the order the registry
// returns the values: HKLM "HARDWARE\DEVICEMAP\SERIALCOMM" for the system's
// serial ports. Windows only.
class RegistryPortSource : public PortSource {
public:
    // A key of HKEY_LOCAL_MACHINE, or of HKEY_CURRENT_USER when currentUser is set (tests).
    explicit RegistryPortSource(QString keyPath = QStringLiteral("HARDWARE\\DEVICEMAP\\SERIALCOMM"),
                                bool currentUser = false);

    std::optional<QStringList> portNames() const override;

    // Runs after the sizes are read and before the values are (tests: a probe
    // plugged in meanwhile).
    void setBeforeReading(std::function<void()> hook) { m_beforeReading = std::move(hook); }

private:
    enum class Read { Done, Changed, Failed };
    Read readOnce(void *key, QStringList &names) const;

    QString m_keyPath;
    bool m_currentUser;
    std::function<void()> m_beforeReading;
};
