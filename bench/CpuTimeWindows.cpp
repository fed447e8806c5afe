#include "CpuTime.h"

#include <QtGlobal>

#include <windows.h>

double cpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto seconds = [](const FILETIME &t) {
        return double((quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; // 100 ns units
    };
    return seconds(kernel) + seconds(user);
}
