#include "Windows1250.h"

#include <QHash>
#include <QStringDecoder>

namespace {
constexpr const char *kCodePage = "windows-1250";

// The code page has one byte per character, so the reverse table is built once
// from decoding all 256 bytes. Unlike ICU's encoder (which writes 0x1A), a missing
// character then becomes '?', as it does on Windows.
const QHash<char16_t, char> &reverseTable()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
        for (int b = 0; b < 256; ++b) {
            const QString c = decoder.decode(QByteArray(1, static_cast<char>(b)));
            if (c.size() == 1 && c.at(0) != QChar::ReplacementCharacter && !t.contains(c.at(0).unicode()))
                t.insert(c.at(0).unicode(), static_cast<char>(b));
        }
        return t;
    }();
    return table;
}
} // namespace

bool Windows1250::isAvailable()
{
    return QStringDecoder(kCodePage).isValid() && reverseTable().size() > 200;
}

QByteArray Windows1250::encode(const QString &text)
{
    const auto &table = reverseTable();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character outside the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const auto it = table.constFind(c.unicode());
        out.append(it == table.cend() ? '?' : it.value());
    }
    return out;
}

QString Windows1250::decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
