#pragma once

#include <QString>

// Where the program keeps its settings file and the technician's configurations.
// A copy unpacked into a folder of one's own keeps both beside itself, as it
// always has; an installed copy keeps them in the user's own folders, whoever
// runs it, so that no one writes into the system's program folders.
struct ProgramFolders {
    QString settingsFile;   // QOVMS.ini
    QString configurations; // "Konfiguracje", where the file dialogs start
    bool portable = false;

    // Both beside the program.
    static ProgramFolders beside(const QString &programFolder);
    // QOVMS.ini in the user's configuration folder for Veskor, "Konfiguracje" in
    // the user's documents.
    static ProgramFolders ofUser();
    // The one that applies to a program in that folder: beside it when the folder
    // is the program's own (not a system program folder, not the "bin" of an
    // installed tree) and the settings can be written there.
    static ProgramFolders forProgramIn(const QString &programFolder);

    // The system's program folders and what lies below them (one file per platform).
    static bool isSystemProgramFolder(const QString &folder);
};
