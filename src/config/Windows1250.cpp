#include "Windows1250.h"

#include <QHash>

#include <array>

namespace {
// The code page has one byte per character, so both directions are tables made
// once from the system's decoding of all 256 bytes. A byte the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) decodes differently on each system (a
// replacement character, a C1 control); on every one it is the C1 control of its
// own value, as Windows maps it, so it comes back as it was. A missing character
// becomes '?', as on Windows (ICU's encoder would write 0x1A).
struct Tables {
    std::array<QChar, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;
    int defined = 0;
};

const Tables &tables()
{
    static const Tables t = [] {
        Tables t;
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        const QString decoded = Windows1250::systemDecode(all);
        if (decoded.size() != 256)
            return t;
        for (int b = 0; b < 256; ++b) {
            QChar c = decoded.at(b);
            const bool undefined = c == QChar::ReplacementCharacter ||
                                   (b >= 0x80 && c.unicode() >= 0x80 && c.unicode() < 0xA0) ||
                                   (b >= 0x80 && c.unicode() == 0x1A);
            if (undefined)
                c = QChar(static_cast<char16_t>(b));
            t.toUnicode[b] = c;
            if (!t.fromUnicode.contains(c.unicode()))
                t.fromUnicode.insert(c.unicode(), static_cast<char>(b));
            if (!undefined)
                ++t.defined;
        }
        return t;
    }();
    return t;
}
} // namespace

bool Windows1250::isAvailable()
{
    // 251 defined characters; a converter for another code page fails on the Polish letters.
    const Tables &t = tables();
    return t.defined > 200 && t.toUnicode[0xB9] == QChar(0x0105) && t.toUnicode[0x9C] == QChar(0x015B);
}

QByteArray Windows1250::encode(const QString &text)
{
    const auto &table = tables().fromUnicode;
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
    const auto &table = tables().toUnicode;
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = table[static_cast<unsigned char>(bytes.at(i))];
    return out;
}
