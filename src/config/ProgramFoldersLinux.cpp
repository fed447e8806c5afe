#include "ProgramFolders.h"

#include <QFileInfo>

bool ProgramFolders::isSystemProgramFolder(const QString &folder)
{
    // Where packages and system-wide installs put programs (/usr/local included).
    return isBelowAny(QFileInfo(folder).canonicalFilePath(),
                      {QStringLiteral("/usr"), QStringLiteral("/bin"), QStringLiteral("/sbin"), QStringLiteral("/opt"),
                       QStringLiteral("/snap")});
}
