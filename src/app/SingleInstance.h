#pragma once

#include "InstanceLock.h"

#include <QLocalServer>
#include <QObject>

#include <memory>

class Dialogs;

// Keeps a second copy of the program from running beside the first. The first
// copy holds a lock named after the executable and listens for the others; a
// later copy asks it to come to the front and ends. A lock left by a copy that
// died never keeps the next one from starting.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the executable's file name in upper case, e.g. "VESKOR".
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True unless another copy runs; this one then listens for the others. When
    // that cannot be made sure of, or the others cannot reach this one, failure()
    // says why and this copy runs anyway: the port itself is never shared.
    bool tryBecomeFirst();
    QString failure() const { return m_failure; }
    // How long a running copy has to answer: it may still be starting up.
    static constexpr int kAnswerTimeMs = 5000;

    // Asks the running copy to show itself; true when it acknowledged in time.
    bool askFirstToShow(int timeoutMs = kAnswerTimeMs) const;
    // For a copy that is not the first: brings the first forward, or tells the
    // technician that it does not answer. Gives this copy's exit code.
    int giveWay(Dialogs &dialogs, int timeoutMs = kAnswerTimeMs) const;

    QString serverName() const;

signals:
    void showRequested();

private:
    QString m_name;
    QString m_failure;
    std::unique_ptr<InstanceLock> m_lock;
    QLocalServer m_server;
};
