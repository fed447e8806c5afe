#pragma once

#include <QString>

class QWidget;

// Every message box the program shows goes through here, so tests can script them.
class Dialogs {
public:
    enum class Kind { Error, Warning, Information, Question };

    virtual ~Dialogs() = default;

    // Modal box owned by owner. For a question, true means Yes; other kinds
    // always give true.
    virtual bool message(QWidget *owner, Kind kind, const QString &text) = 0;

    static QString caption(Kind kind);
};

// The real boxes: QMessageBox with the program's four captions.
class QtDialogs : public Dialogs {
public:
    bool message(QWidget *owner, Kind kind, const QString &text) override;
};
