#include "Windows1250.h"

#include <windows.h>

// Qt for Windows has no ICU; the system converts the code page itself.
QString Windows1250::systemDecode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(1250, 0, bytes.constData(), size, nullptr, 0);
    if (length <= 0)
        return {};
    QString out(length, Qt::Uninitialized);
    MultiByteToWideChar(1250, 0, bytes.constData(), size, reinterpret_cast<wchar_t *>(out.data()), length);
    return out;
}
