#include "WindowActivation.h"

#include <QLocalSocket>
#include <QWidget>

#include <windows.h>

namespace {
bool inFront(HWND hwnd)
{
    return GetForegroundWindow() == hwnd;
}

// The foreground lock keeps a program from taking the front by itself: borrow
// the input of the thread that owns the foreground window while switching.
void switchTo(HWND hwnd)
{
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    const bool attached =
        foregroundThread != 0 && foregroundThread != ownThread && AttachThreadInput(foregroundThread, ownThread, TRUE);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    if (attached)
        AttachThreadInput(foregroundThread, ownThread, FALSE);
}
} // namespace

void bringToFront(QWidget *window)
{
    window->show();
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    if (IsIconic(hwnd))
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    switchTo(hwnd);
    if (!inFront(hwnd)) {
        // Second try with the lock's time-out at zero, put back afterwards.
        DWORD timeout = 0;
        SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
        switchTo(hwnd);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void *>(static_cast<DWORD_PTR>(timeout)), 0);
    }
    window->activateWindow();
}

void allowToComeToFront(QLocalSocket &socket)
{
    // On Windows a local socket is a named pipe; its server is the first copy.
    ULONG pid = 0;
    const auto pipe = reinterpret_cast<HANDLE>(socket.socketDescriptor());
    if (GetNamedPipeServerProcessId(pipe, &pid) && pid != 0)
        AllowSetForegroundWindow(pid);
    else
        AllowSetForegroundWindow(ASFW_ANY);
}
