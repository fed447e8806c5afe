#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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

// Tried rather than read from the permissions: on Windows they say little (NTFS
// rights are not looked at, a locked USB stick or a read-only share has no
// read-only mark). A settings file in a read-only folder that opens for writing
// (without being cut) is enough as well.
bool canKeepSettingsIn(const QDir &folder)
{
    QTemporaryFile probe(folder.absoluteFilePath(QStringLiteral("veskor-XXXXXX.tmp")));
    if (probe.open())
        return true;
    QFile settings(folder.absoluteFilePath(kSettingsName));
    return QFileInfo(settings).isFile() && settings.open(QIODevice::ReadWrite);
}
} // namespace

bool ProgramFolders::isBelowAny(const QString &path, const QStringList &folders, Qt::CaseSensitivity cs)
{
    const QString withSlash = path + QLatin1Char('/');
    for (const QString &folder : folders) {
        if (withSlash.startsWith(folder + QLatin1Char('/'), cs))
            return true;
    }
    return false;
}

ProgramFolders ProgramFolders::beside(const QString &programFolder)
{
    const QDir folder(programFolder);
    return {folder.filePath(kSettingsName), folder.filePath(kConfigurationsName), true, {}, {}};
}

ProgramFolders ProgramFolders::ofUser(const QString &programFolder)
{
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Veskor"));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QDir program(programFolder);
    return {config.filePath(kSettingsName), documents.filePath(kConfigurationsName), false,
            program.filePath(kSettingsName), program.filePath(kConfigurationsName)};
}

bool ProgramFolders::startUserSettings() const
{
    if (programSettingsFile.isEmpty() || QFileInfo::exists(settingsFile) || !QFileInfo(programSettingsFile).isFile())
        return true;
    // The bytes, not QFile::copy: a copy would keep the read-only mark the
    // administrator's file has, and the user's own must take this user's changes.
    QFile from(programSettingsFile);
    if (!from.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = from.readAll();
    QSaveFile to(settingsFile);
    return QDir().mkpath(QFileInfo(settingsFile).absolutePath()) && to.open(QIODevice::WriteOnly) &&
           to.write(bytes) == bytes.size() && to.commit();
}

QString ProgramFolders::openFolder() const
{
    const QDir own(configurations);
    if (!programConfigurations.isEmpty() && QFileInfo(programConfigurations).isDir() &&
        own.entryList(QDir::Files).isEmpty())
        return programConfigurations;
    return configurations;
}

ProgramFolders ProgramFolders::forProgramIn(const QString &programFolder)
{
    const QDir folder(programFolder);
    if (isSystemProgramFolder(folder.absolutePath()) || isInstalledTree(folder) || !canKeepSettingsIn(folder))
        return ofUser(programFolder);
    return beside(programFolder);
}
