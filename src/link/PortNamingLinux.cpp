#include "PortNaming.h"

#include <QRegularExpression>

namespace {
// Fixed convention for devices nobody mapped explicitly.
struct Range {
    const char *prefix;
    int first;
};
constexpr Range kRanges[] = {{"/dev/ttyS", 1}, {"/dev/ttyUSB", 33}, {"/dev/ttyACM", 65}};
constexpr int kRangeSize = 32;
} // namespace

QString PortNaming::devicePath(quint16 number) const
{
    const auto it = m_map.constFind(number);
    if (it != m_map.cend())
        return it.value();
    for (const Range &r : kRanges) {
        if (number >= r.first && number < r.first + kRangeSize)
            return QString::fromLatin1(r.prefix) + QString::number(number - r.first);
    }
    return {};
}

int PortNaming::numberForDevice(const QString &devicePath) const
{
    for (auto it = m_map.cbegin(); it != m_map.cend(); ++it) {
        if (it.value() == devicePath)
            return it.key();
    }
    static const QRegularExpression pattern(QStringLiteral("^(/dev/tty(?:S|USB|ACM))(\\d+)$"));
    const auto match = pattern.match(devicePath);
    if (!match.hasMatch())
        return 0;
    const int k = match.captured(2).toInt();
    if (k >= kRangeSize)
        return 0;
    for (const Range &r : kRanges) {
        if (match.captured(1) == QLatin1String(r.prefix))
            return r.first + k;
    }
    return 0;
}

bool PortNaming::acceptsDevicePaths()
{
    return true;
}
