#include "InstanceLock.h"

#include <windows.h>

#include <sddl.h>

namespace {
// A named mutex in the session's own namespace: the system closes it when the
// last copy holding it ends, crashed or not, so a reused process number can
// never keep the next copy from starting.
class MutexInstanceLock : public InstanceLock {
public:
    explicit MutexInstanceLock(HANDLE handle) : m_handle(handle) {}
    ~MutexInstanceLock() override { CloseHandle(m_handle); }

private:
    HANDLE m_handle;
};

QString userSid()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    QString sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray buffer(static_cast<qsizetype>(size), '\0');
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        wchar_t *text = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &text)) {
            sid = QString::fromWCharArray(text);
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return sid;
}

// The file owner is the same for everyone on Windows; the account's SID is not.
// Named pipes are seen machine-wide, so the session goes into the name too.
QString userTag()
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return userSid() + QLatin1Char('-') + QString::number(session);
}
} // namespace

std::unique_ptr<InstanceLock> InstanceLock::tryAcquire(const QString &name, QString *failure)
{
    const QString objectName = QStringLiteral("Local\\") + name + QLatin1Char('-') + userTag();
    const HANDLE handle = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(objectName.utf16()));
    if (!handle) {
        // Access denied (a copy run as administrator, say) or the name taken by
        // another kind of object: not known to be a running copy of ours.
        if (failure)
            *failure = qt_error_string(static_cast<int>(GetLastError()));
        return nullptr;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<MutexInstanceLock>(handle);
}

QString InstanceLock::serverName(const QString &name)
{
    return name + QLatin1Char('-') + userTag();
}
