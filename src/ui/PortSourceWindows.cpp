#include "RegistryPortSource.h"

#include <windows.h>

#include <vector>

RegistryPortSource::RegistryPortSource(QString keyPath, bool currentUser)
    : m_keyPath(std::move(keyPath)), m_currentUser(currentUser)
{
}

std::optional<QStringList> RegistryPortSource::portNames() const
{
    // Read with the registry API itself: QSettings would take the value names
    // ("\Device\Serial0") for key paths and read every port as empty.
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                      reinterpret_cast<const wchar_t *>(m_keyPath.utf16()), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD count = 0;
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData, nullptr,
                         nullptr) != ERROR_SUCCESS ||
        count == 0) {
        RegCloseKey(key);
        return std::nullopt;
    }
    QStringList names;
    std::vector<wchar_t> name(maxName + 1);
    std::vector<BYTE> data(maxData + sizeof(wchar_t));
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size() - sizeof(wchar_t));
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS) {
            // Changed while we read, or unreadable: the fixed list serves.
            RegCloseKey(key);
            return std::nullopt;
        }
        // The system stores port names as text; other data names no port and is
        // skipped, like text without "COM".
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            continue;
        QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t *>(data.data()),
                                               static_cast<qsizetype>(dataSize / sizeof(wchar_t)));
        const qsizetype nul = text.indexOf(QChar(0));
        if (nul >= 0)
            text.truncate(nul);
        names << text;
    }
    RegCloseKey(key);
    return names;
}

std::unique_ptr<PortSource> PortSource::system(const PortNaming &)
{
    return std::make_unique<RegistryPortSource>();
}
