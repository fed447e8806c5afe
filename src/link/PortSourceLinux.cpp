#include "PortList.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {
// The serial devices the system reports, plus the mapped ones that exist, each
// under its number.
class LinuxPortSource : public PortSource {
public:
    explicit LinuxPortSource(PortNaming naming) : m_naming(std::move(naming)) {}

    std::optional<QStringList> portNames() const override
    {
        QList<int> numbers;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
            const int n = m_naming.numberForDevice(info.systemLocation());
            if (n > 0 && !numbers.contains(n))
                numbers << n;
        }
        for (auto it = m_naming.explicitMap().cbegin(); it != m_naming.explicitMap().cend(); ++it) {
            if (QFileInfo::exists(it.value()) && !numbers.contains(it.key()))
                numbers << it.key();
        }
        if (numbers.isEmpty())
            return std::nullopt;
        QStringList names;
        for (int n : numbers)
            names << QStringLiteral("COM%1").arg(n);
        return names;
    }

private:
    PortNaming m_naming;
};
} // namespace

std::unique_ptr<PortSource> PortSource::system(const PortNaming &naming)
{
    return std::make_unique<LinuxPortSource>(naming);
}
