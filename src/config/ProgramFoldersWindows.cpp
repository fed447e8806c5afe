#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

#include <iterator>

#include <windows.h>

#include <shlobj.h>

namespace {
QString knownFolder(REFKNOWNFOLDERID id)
{
    wchar_t *path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

// The folder as the file system names it: short 8.3 names, junctions, symbolic
// links and subst drives all lead to one path.
QString finalPath(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return QDir::fromNativeSeparators(native);
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(handle, buffer, DWORD(std::size(buffer)), VOLUME_NAME_DOS);
    CloseHandle(handle);
    if (length == 0 || length >= std::size(buffer))
        return QDir::fromNativeSeparators(native);
    QString path = QString::fromWCharArray(buffer, int(length));
    if (path.startsWith(QLatin1String("\\\\?\\UNC\\")))
        path = QStringLiteral("\\\\") + path.mid(8);
    else if (path.startsWith(QLatin1String("\\\\?\\")))
        path = path.mid(4);
    return QDir::fromNativeSeparators(path);
}
} // namespace

bool ProgramFolders::isSystemProgramFolder(const QString &folder)
{
    // Program Files (both of them on a 64-bit system) and the Windows folder.
    QStringList system;
    for (const KNOWNFOLDERID &id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_Windows}) {
        if (const QString known = knownFolder(id); !known.isEmpty())
            system << finalPath(known);
    }
    return isBelowAny(finalPath(folder), system, Qt::CaseInsensitive);
}
