#pragma once

#include "Dialogs.h"

#include <QList>
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

    QList<Shown> shown;
    QList<bool> answers;            // for questions, taken in order; No when empty
    std::function<void()> onMessage; // runs while the "box" is up, as a modal loop would
};
