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

    QString status() const { return statuses.isEmpty() ? QString() : statuses.back(); }

    QStringList statuses;
    QMap<Button, bool> buttons;
    QString polaczCaption = QStringLiteral("Otwórz port");
    QString portEntry = QStringLiteral("COM 1");
    QList<QPair<Message, QString>> messages;
    int closeRequests = 0;
    std::function<void()> onMessage;
};
