#pragma once

#include <QApplication>

#include <functional>

// The application object. An exception that no handler catches is shown to the
// technician with its message, caption "Błąd", and the program goes on.
class VeskorApplication : public QApplication {
    Q_OBJECT
public:
    VeskorApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The program's name and version ("02.01", as in the caption).
    static void setNames();
    // Qt's own texts (file dialogs, the edits' menu, the buttons of message boxes,
    // the command line's help) in Polish: Qt's translation where Qt is installed,
    // else the one shipped in "translations" beside the program. False when
    // neither is there.
    static bool loadQtTranslation(QCoreApplication &app);

    // Replaces the message box, for tests.
    void setReporter(std::function<void(const QString &)> reporter) { m_reporter = std::move(reporter); }

private:
    void report(const QString &message);

    std::function<void(const QString &)> m_reporter;
    bool m_reporting = false;
};
