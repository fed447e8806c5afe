#include "WindowActivation.h"

#include <QWidget>

#include <windows.h>

void bringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    // The foreground lock keeps a program from taking the front by itself: borrow
    // the input of the thread that owns the foreground window while switching.
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    const bool attached = foregroundThread != ownThread && AttachThreadInput(foregroundThread, ownThread, TRUE);
    SetForegroundWindow(hwnd);
    if (attached)
        AttachThreadInput(foregroundThread, ownThread, FALSE);
    window->activateWindow();
}
