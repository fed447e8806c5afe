#include "OpenError.h"

#include <windows.h>

namespace {
// QSerialPort keeps only its own error kind (a sharing violation is "unknown"),
// so the system is asked again, the way QSerialPort opens: read and write, no sharing.
DWORD systemErrorOnOpen(const QString &device)
{
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()), GENERIC_READ | GENERIC_WRITE,
                                      0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(handle); // free again by now: the first failure stands
    return ERROR_SUCCESS;
}
} // namespace

QString OpenError::text(QSerialPort::SerialPortError error, const QString &device, const QString &systemText)
{
    if (error == QSerialPort::DeviceNotFoundError)
        return noSuchDevice();
    switch (systemErrorOnOpen(device)) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return alreadyOpen();
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return noSuchDevice();
    default:
        return systemText;
    }
}
