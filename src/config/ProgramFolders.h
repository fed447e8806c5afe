#pragma once

#include <QString>
#include <QStringList>

// Where the program keeps its settings file and the technician's configurations.
// A copy unpacked into a folder of one's own keeps both beside itself, as it
// always has; an installed copy keeps them in the user's own folders, whoever
// runs it, so that no one writes into the system's program folders.
struct ProgramFolders {
    QString settingsFile;   // QOVMS.ini
    QString configurations; // "Konfiguracje", where the file dialogs start
    bool portable = false;
    // An installed copy's starting point: what lies beside the program (may not exist).
    QString programSettingsFile;
    QString programConfigurations;

    // Both beside the program.
    static ProgramFolders beside(const QString &programFolder);
    // QOVMS.ini in the user's configuration folder for Veskor, "Konfiguracje" in
    // the user's documents; what lies in programFolder is where they start from.
    static ProgramFolders ofUser(const QString &programFolder);
    // The one that applies to a program in that folder: beside it when the folder
    // is the program's own (not a system program folder, not the "bin" of an
    // installed tree) and the settings can be written there.
    static ProgramFolders forProgramIn(const QString &programFolder);

    // While the user has no settings file, it starts as a copy of the one beside
    // the program (an administrator's port map, say). False when a copy failed.
    bool startUserSettings() const;
    // Where the open dialog starts: the user's configurations, or, while they hold
    // no file yet, the ones laid beside the program.
    QString openFolder() const;

    // The system's program folders and what lies below them (one file per platform).
    static bool isSystemProgramFolder(const QString &folder);
    // Whether path is one of folders or lies below one: "/opt/x" is below "/opt", "/optika" is not.
    static bool isBelowAny(const QString &path, const QStringList &folders,
                           Qt::CaseSensitivity cs = Qt::CaseSensitive);
};
