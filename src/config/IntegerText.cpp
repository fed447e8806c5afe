#include "IntegerText.h"

#include <limits>

namespace IntegerText {

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<qint32> signedDecimal(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == QLatin1Char('+') || text.front() == QLatin1Char('-'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.mid(1);
    }
    if (!isDigits(text))
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : text) {
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<qint32> lenient(QStringView text)
{
    while (!text.isEmpty() && text.front() == QLatin1Char(' '))
        text = text.mid(1);
    return signedDecimal(text);
}

} // namespace IntegerText
