#pragma once

#include "TUstawienie.h"

#include <QString>

// What the link engine needs from the main window, and nothing more.
class LinkHost {
public:
    enum class Button { Polacz, Utworz, OdczytPlik, ZapisPlik, OdczytLicznik, ZapisLicznik };
    enum class Message { Error, Warning, Information };

    virtual ~LinkHost() = default;

    // Replaces the status text and repaints the status line at once.
    virtual void setStatus(const QString &text) = 0;
    virtual void setButtonEnabled(Button button, bool enabled) = 0;
    virtual void setPolaczCaption(const QString &caption) = 0;
    virtual QString selectedPortEntry() const = 0;
    // Modal message box owned by the main window.
    virtual void showMessage(Message kind, const QString &text) = 0;
    // Asks the window to close again once the current event is handled.
    virtual void closeWindow() = 0;

    // The configuration being edited and written, and the one read back.
    virtual TUstawienie &ustawienie() = 0;
    virtual TUstawienie &odczytanie() = 0;
    // Checks the editor and, when it passes, stores it into ustawienie().
    virtual bool validateConfiguration() = 0;
    // Puts ustawienie() into the editor.
    virtual void showConfiguration() = 0;
    // Tells how a write ended, in the message window; the main window waits for it.
    virtual void showVerificationResult(bool success) = 0;
};
