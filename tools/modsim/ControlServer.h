#pragma once

#include "ModuleSimulator.h"

#include <QTcpServer>

#include <memory>

class QTcpSocket;

// Lets a test program elsewhere (the Windows tests under Wine) play with the
// simulator as the Linux tests do in their own process: one command a line on a
// local TCP port, each answered "ok …" or "err …", and "answered CODE" told as it
// happens. Every "reset" starts a fresh module on a fresh pseudo-terminal behind
// the same link, so a hang-up in one test leaves the next its line.
class ControlServer : public QObject {
    Q_OBJECT
public:
    ControlServer(QString linkPath, QObject *parent = nullptr);

    bool listen(quint16 port, QString *error);

private:
    QByteArray run(const QList<QByteArray> &words);
    bool reset(QString *error);

    QString m_linkPath;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    std::unique_ptr<ModuleSimulator> m_sim;
};
