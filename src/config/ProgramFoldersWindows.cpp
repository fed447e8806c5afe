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
    QStringList system;
    for (const KNOWNFOLDERID &id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_Windows}) {
        if (const QString known = knownFolder(id); !known.isEmpty())
            system << known;
    }
    return isBelowAny(QFileInfo(folder).absoluteFilePath(), system, Qt::CaseInsensitive);
}
