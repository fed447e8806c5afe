#include "PortList.h"

#include "IntegerText.h"

#include <algorithm>

namespace PortList {

std::optional<QList<int>> parse(const QStringList &names)
{
    QList<int> numbers;
    for (const QString &name : names) {
        const qsizetype at = name.indexOf(QLatin1String("COM"));
        if (at < 0)
            continue;
        QString rest = name;
        rest.remove(at, 3);
        const auto number = IntegerText::lenient(rest);
        if (!number)
            return std::nullopt;
        numbers.append(*number);
    }
    std::stable_sort(numbers.begin(), numbers.end());
    return numbers;
}

QString entry(int number)
{
    return QStringLiteral("COM %1").arg(number);
}

QStringList fixedEntries()
{
    QStringList entries;
    for (int n = 1; n <= 16; ++n)
        entries << entry(n);
    return entries;
}

QStringList entries(bool detect, const PortSource &source)
{
    if (detect) {
        if (const auto names = source.portNames(); names && !names->isEmpty()) {
            if (const auto numbers = parse(*names)) {
                QStringList detected;
                for (int n : *numbers)
                    detected << entry(n);
                return detected;
            }
        }
    }
    return fixedEntries();
}

} // namespace PortList
