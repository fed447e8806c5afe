#pragma once

#include "ModuleModel.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// A scripted port for unit tests: records every call in order and lets the test
// deliver bytes, fail the open or pull the device.
class FakeSerialPort : public SerialPort {
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    void setComNumber(quint16 number) override;
    quint16 comNumber() const override { return m_number; }
    bool isOpen() const override { return m_open; }
    void open() override;
    void close() override;
    void flushInBuffer() override;
    void flushOutBuffer() override;
    void putString(const QByteArray &bytes) override;
    bool charReady() override { return !m_input.isEmpty(); }
    char getChar() override;

    // Makes the next open() throw with this text.
    void failNextOpen(const QString &message) { m_failOpen = message; }
    // Bytes arrive from the module: queued and announced with their count.
    void deliver(const QByteArray &bytes);
    void pullOut(const QString &reason) { emit deviceLost(reason); }

    // A module behind the port: each frame put is answered (after an echo, if
    // asked) into a queue that pump() delivers, one receive event per piece.
    void attach(ModuleModel *module) { m_module = module; }
    bool echo = false;
    int pump(int maxEvents = 100000);
    QList<QByteArray> pending;

    // Frames handed to putString since the last takeSent(), flushed ones included.
    QList<QByteArray> takeSent();
    // Bytes still queued for sending (not flushed) and their order.
    QList<QByteArray> queued() const { return m_queued; }
    // Every call, in order: "open", "flushIn", "flushOut", "put:<frame>", "close".
    QStringList calls;

private:
    ModuleModel *m_module = nullptr;
    quint16 m_number = 0;
    bool m_open = false;
    QString m_failOpen;
    QByteArray m_input;
    QList<QByteArray> m_sent;
    QList<QByteArray> m_queued;
};
