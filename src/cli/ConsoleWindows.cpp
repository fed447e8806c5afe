#include "Console.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <csignal>
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
    // Redirected: what cmd and PowerShell 5.1 decode a console program's output with.
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0)
        codePage = GetOEMCP();
    const auto wide = reinterpret_cast<const wchar_t *>(line.utf16());
    const int size = WideCharToMultiByte(codePage, 0, wide, int(line.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage, 0, wide, int(line.size()), bytes.data(), size, nullptr, nullptr);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

namespace {
QPointer<QObject> g_context;
std::function<void(int)> g_onInterrupt;

// Runs on a thread of the system's; the session hears of it in its event loop.
BOOL WINAPI onControl(DWORD event)
{
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    QMetaObject::invokeMethod(g_context.data(), [signal] { g_onInterrupt(signal); }, Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(INFINITE); // returning would end the process now; the session ends it when done
    return TRUE;
}
} // namespace

void watchInterruptions(QObject *context, std::function<void(int)> onInterrupt)
{
    g_context = context;
    g_onInterrupt = std::move(onInterrupt);
    SetConsoleCtrlHandler(onControl, TRUE);
}

void drawWithoutDisplay()
{
    // Windows' own platform draws without showing a window; its fonts are the system's.
}
