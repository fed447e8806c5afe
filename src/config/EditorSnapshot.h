#pragma once

#include <QString>

// What the editor shows, as validation and storing read it: texts and check
// states only, so both can be worked out without widgets.
struct EditorSnapshot {
    struct Row {
        bool inUse = false; // the row box
        QString number;     // national number, without "+48"
        bool c = false;
        bool s = false;
        bool l = false;
    };

    QString identyfikator;
    bool pinChecked = false;
    QString pin;
    bool centrumChecked = false;
    QString centrum;
    QString accessCode;
    QString meterPassword;
    bool aktywny = false;
    bool miesiac = false;
    bool codziennie = false;
    QString dzien;
    QString godzina;
    QString minuta;
    bool modemChecked[4] = {};
    QString modem[4];
    Row rows[16];
    bool allNumbers = false;
};

// What the connected module decides about validating and storing.
struct ModuleTraits {
    int maxNumbers = 16;
    bool extendedBook = false;
    // The configuration goes to a module that is sent the meter password (IsLatch):
    // only then must the password be one the line carries. A file keeps 8-bit text.
    bool sendsPassword = false;
};
