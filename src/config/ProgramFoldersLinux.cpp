#include "ProgramFolders.h"

#include <QFileInfo>

bool ProgramFolders::isSystemProgramFolder(const QString &folder)
{
    // Where packages and system-wide installs put programs (/usr/local included).
    const QString path = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    for (const char *system : {"/usr/", "/bin/", "/sbin/", "/opt/", "/snap/"}) {
        if (path.startsWith(QLatin1String(system)))
            return true;
    }
    return false;
}
