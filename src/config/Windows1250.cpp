#include "Windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char *kCodePage = "windows-1250";
}

bool Windows1250::isAvailable()
{
    return QStringEncoder(kCodePage).isValid() && QStringDecoder(kCodePage).isValid();
}

QByteArray Windows1250::encode(const QString &text)
{
    // ICU substitutes 0x1A for what it cannot map; Windows writes '?'. Encoding
    // code point by code point lets us see each failure and put '?' in its place.
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray piece = encoder.encode(QStringView(text).mid(i, len));
        if (encoder.hasError() || piece.isEmpty() || (piece.size() == 1 && piece.at(0) == '\x1a' && text.at(i) != QChar(0x1a))) {
            out.append('?');
            encoder.resetState();
        } else {
            out.append(piece);
        }
        i += len;
    }
    return out;
}

QString Windows1250::decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}
