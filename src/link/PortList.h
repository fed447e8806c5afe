#pragma once

#include "PortNaming.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <optional>

// Where detected port names come from: the registry on Windows, the devices on
// Linux, a script in tests. Names are like the registry's data: "COM3".
class PortSource {
public:
    virtual ~PortSource() = default;
    // The names in the order the system gives them; nothing when the system has
    // no list to give (no key, unreadable, no values).
    virtual std::optional<QStringList> portNames() const = 0;

    // The source of this platform; naming maps device paths to numbers.
    static std::unique_ptr<PortSource> system(const PortNaming &naming);
};

namespace PortList {

// Port numbers from the system's names: names without "COM" are skipped; the
// rest of each must be a whole number, else nothing (the fixed list is used).
// Sorted ascending, equal numbers kept side by side.
std::optional<QList<int>> parse(const QStringList &names);

QStringList fixedEntries();
QString entry(int number);
// The entries the list shows: the system's ports when detecting and the system
// has a list of them, else the fixed COM 1 to COM 16.
QStringList entries(bool detect, const PortSource &source);

} // namespace PortList
