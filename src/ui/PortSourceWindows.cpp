#include "PortList.h"

#include <QSettings>

namespace {
// The system's registry of serial ports: one value per port, its data the name.
class RegistryPortSource : public PortSource {
public:
    std::optional<QStringList> portNames() const override
    {
        QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM"), QSettings::NativeFormat);
        const QStringList values = key.childKeys();
        if (key.status() != QSettings::NoError || values.isEmpty())
            return std::nullopt;
        QStringList names;
        for (const QString &value : values)
            names << key.value(value).toString();
        return names;
    }
};
} // namespace

std::unique_ptr<PortSource> PortSource::system(const PortNaming &)
{
    return std::make_unique<RegistryPortSource>();
}
