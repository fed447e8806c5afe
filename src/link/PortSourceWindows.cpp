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
    // A probe plugged in while the list is read makes a value longer than the
    // sizes read first: read the sizes again, a few times, before giving up.
    QStringList names;
    Read read = Read::Changed;
    for (int attempt = 0; attempt < 5 && read == Read::Changed; ++attempt)
        read = readOnce(key, names);
    RegCloseKey(key);
    if (read != Read::Done)
        return std::nullopt; // no values, unreadable or changing all the time: the fixed list serves
    return names;
}

RegistryPortSource::Read RegistryPortSource::readOnce(void *handle, QStringList &names) const
{
    const auto key = static_cast<HKEY>(handle);
    names.clear();
    DWORD count = 0;
    DWORD maxName = 0;
    DWORD maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData, nullptr,
                         nullptr) != ERROR_SUCCESS ||
        count == 0)
        return Read::Failed;
    if (m_beforeReading)
        m_beforeReading();
    std::vector<wchar_t> name(maxName + 1);
    std::vector<BYTE> data(maxData + sizeof(wchar_t));
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size() - sizeof(wchar_t));
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            return Read::Done;
        if (result == ERROR_MORE_DATA)
            return Read::Changed;
        if (result != ERROR_SUCCESS)
            return Read::Failed;
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
}

std::unique_ptr<PortSource> PortSource::system(const PortNaming &)
{
    return std::make_unique<RegistryPortSource>();
}
