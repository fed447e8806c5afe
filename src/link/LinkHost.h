#pragma once

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
};
