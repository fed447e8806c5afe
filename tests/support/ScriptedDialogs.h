#pragma once

#include "Dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records every message box instead of showing it, and answers questions from a script.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    bool message(QWidget *owner, Kind kind, const QString &text) override;
    QString openConfigurationFile(QWidget *owner, const QString &folder) override;
    QString saveConfigurationFile(QWidget *owner, const QString &folder) override;

    QList<Shown> shown;
    QList<bool> answers;            // for questions, taken in order; No when empty
    std::function<void()> onMessage; // runs while the "box" is up, as a modal loop would
    QStringList openNames;            // answers of the open dialog, in order; cancelled when empty
    QStringList saveNames;            // answers of the save dialog
    QStringList folders;              // the folder each file dialog started in
};
