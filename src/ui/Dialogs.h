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

    // The open and save dialogs of configuration files, starting in folder. An
    // empty name means the technician cancelled.
    virtual QString openConfigurationFile(QWidget *owner, const QString &folder) = 0;
    virtual QString saveConfigurationFile(QWidget *owner, const QString &folder) = 0;

    static QString caption(Kind kind);
    static const char *const kFilter;
    static const char *const kSuffix;
};

// The real boxes: QMessageBox with the program's four captions.
class QtDialogs : public Dialogs {
public:
    bool message(QWidget *owner, Kind kind, const QString &text) override;
    QString openConfigurationFile(QWidget *owner, const QString &folder) override;
    QString saveConfigurationFile(QWidget *owner, const QString &folder) override;
};
