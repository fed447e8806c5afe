#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
const QString kSettingsName = QStringLiteral("QOVMS.ini");
const QString kConfigurationsName = QStringLiteral("Konfiguracje");

// "bin" beside "share/applications/veskor.desktop": what an install lays out,
// in any prefix (~/.local included), so the program is not a copy of one's own.
bool isInstalledTree(const QDir &folder)
{
    return folder.dirName() == QLatin1String("bin") &&
           QFileInfo::exists(folder.absoluteFilePath(QStringLiteral("../share/applications/veskor.desktop")));
}

// Tried rather than read from the permissions: on Windows they say little about
// folders. A writable settings file in a read-only folder is enough as well.
bool canKeepSettingsIn(const QDir &folder)
{
    QTemporaryFile probe(folder.absoluteFilePath(QStringLiteral("veskor-XXXXXX.tmp")));
    if (probe.open())
        return true;
    const QFileInfo settings(folder.absoluteFilePath(kSettingsName));
    return settings.isFile() && settings.isWritable();
}
} // namespace

ProgramFolders ProgramFolders::beside(const QString &programFolder)
{
    const QDir folder(programFolder);
    return {folder.filePath(kSettingsName), folder.filePath(kConfigurationsName), true};
}

ProgramFolders ProgramFolders::ofUser()
{
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Veskor"));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return {config.filePath(kSettingsName), documents.filePath(kConfigurationsName), false};
}

ProgramFolders ProgramFolders::forProgramIn(const QString &programFolder)
{
    const QDir folder(programFolder);
    if (isSystemProgramFolder(folder.absolutePath()) || isInstalledTree(folder) || !canKeepSettingsIn(folder))
        return ofUser();
    return beside(programFolder);
}
