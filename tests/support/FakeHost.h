#pragma once

#include "LinkHost.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <functional>

// The main window as the link engine sees it, for engine tests without widgets.
class FakeHost : public LinkHost {
public:
    FakeHost();

    void setStatus(const QString &text) override { statuses << text; }
    void setButtonEnabled(Button button, bool enabled) override { buttons[button] = enabled; }
    void setPolaczCaption(const QString &caption) override { polaczCaption = caption; }
    QString selectedPortEntry() const override { return portEntry; }
    void showMessage(Message kind, const QString &text) override;
    void closeWindow() override { ++closeRequests; }

    TUstawienie &ustawienie() override { return settings; }
    TUstawienie &odczytanie() override { return readBack; }
    bool validateConfiguration() override
    {
        ++validations;
        return validationPasses;
    }
    void showConfiguration() override { ++shownConfigurations; }
    void showVerificationResult(bool success) override { verificationResults << success; }

    QString status() const { return statuses.isEmpty() ? QString() : statuses.back(); }

    QStringList statuses;
    QMap<Button, bool> buttons;
    QString polaczCaption = QStringLiteral("Otwórz port");
    QString portEntry = QStringLiteral("COM 1");
    QList<QPair<Message, QString>> messages;
    int closeRequests = 0;
    std::function<void()> onMessage;
    TUstawienie settings = emptyConfiguration();
    TUstawienie readBack = emptyConfiguration();
    bool validationPasses = true;
    int validations = 0;
    int shownConfigurations = 0;
    QList<bool> verificationResults;
};
