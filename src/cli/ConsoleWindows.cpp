#include "Console.h"

#include <io.h>
#include <windows.h>

void printLine(std::FILE *stream, const QString &text)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    const QString line = text + QLatin1Char('\n');
    if (GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        WriteConsoleW(handle, line.utf16(), DWORD(line.size()), &written, nullptr);
        return;
    }
    std::fputs(line.toUtf8().constData(), stream);
    std::fflush(stream);
}
