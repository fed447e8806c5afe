#include "EditorRules.h"

#include "IntegerText.h"
#include "Validation.h"

namespace EditorRules {

char16_t filterKey(KeySet set, char16_t code)
{
    constexpr char16_t kBackspace = 8;
    constexpr char16_t kDropped = 0;
    constexpr char16_t kSpace = 32;
    const bool digit = code >= u'0' && code <= u'9';
    switch (set) {
    case KeySet::Digits:
    case KeySet::PhoneNumber:
        return (code == kBackspace || digit) ? code : kDropped;
    case KeySet::MeterPassword:
        return (code == kBackspace || Validation::carriedInPassword(code)) ? code : kSpace;
    case KeySet::Unfiltered:
        return code <= 255 ? code : kDropped;
    }
    return kDropped;
}

std::optional<QString> pastedText(KeySet set, const QString &text)
{
    QString kept = text;
    if (set == KeySet::Digits || set == KeySet::PhoneNumber) {
        kept.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
        if (set == KeySet::PhoneNumber) {
            for (const QLatin1String prefix : {QLatin1String("+48"), QLatin1String("0048")}) {
                if (kept.startsWith(prefix)) {
                    kept.remove(0, prefix.size());
                    break;
                }
            }
        }
    }
    if (kept.isEmpty())
        return std::nullopt;
    for (const QChar c : kept) {
        if (c.unicode() < 32 || filterKey(set, c.unicode()) != c.unicode())
            return std::nullopt;
    }
    return kept;
}

int dayOnExit(const QString &text)
{
    const auto value = IntegerText::signedDecimal(text);
    if (!value || *value <= 1)
        return 1;
    return *value >= 32 ? 28 : *value;
}

int timeValue(const QString &text, int max)
{
    const auto value = IntegerText::signedDecimal(text);
    return (value && *value >= 1 && *value <= max) ? *value : 0;
}

QString timeText(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

int stepUp(int value, int max)
{
    return value < max ? value + 1 : 0;
}

int stepDown(int value, int max)
{
    return value > 0 ? value - 1 : max;
}

} // namespace EditorRules
