#pragma once

#include "EditorSnapshot.h"
#include "Journal.h"
#include "TUstawienie.h"

#include <QString>

// "Protokół konfiguracji modułu": one A4 page in PDF for every write that
// verified, for the utility's records. It shows what was written and whether it
// verified, with the PIN, the access code and the meter password only as
// "ustawiony" / "brak". Drawn with Qt's own PDF writer, so it needs no printer
// and no display, and looks the same on every platform.
namespace ProtocolReport {

struct Content {
    Journal::Entry entry; // serial, module, time, file, fingerprint, result
    QString technician;
    QString computer;
    TUstawienie written;
    ModuleTraits traits;
    bool verified = false;
};

// The page's text, as HTML (also what a test reads back from the PDF).
QString html(const Content &content);
// Writes the page to path; false with *error when it cannot be written.
bool write(const QString &path, const Content &content, QString *error);

// "Protokoły" beside the configurations folder, and a page's name in it.
QString folderBeside(const QString &configurations);
QString fileName(const QString &serial, const QDateTime &time);
// [MAIN] Technik= of the settings file, else the user's name.
QString technician(const QString &settingsFile);

} // namespace ProtocolReport
