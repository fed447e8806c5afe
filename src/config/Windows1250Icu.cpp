#include "Windows1250.h"

#include <QStringDecoder>

QString Windows1250::systemDecode(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return {};
    return decoder.decode(bytes);
}
