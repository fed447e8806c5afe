#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

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
} // namespace

bool ProgramFolders::isSystemProgramFolder(const QString &folder)
{
    // Program Files (both of them on a 64-bit system) and the Windows folder.
    const QString path = QFileInfo(folder).absoluteFilePath() + QLatin1Char('/');
    for (const KNOWNFOLDERID &id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_Windows}) {
        const QString system = knownFolder(id);
        if (!system.isEmpty() && path.startsWith(system + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
