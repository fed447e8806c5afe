#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <stdexcept>

// An open failure or an oversized write, carrying the text the technician is shown.
class SerialPortError : public std::runtime_error {
public:
    explicit SerialPortError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The serial port as the link engine sees it. The real one wraps QSerialPort;
// unit tests use a scripted fake. All calls and signals belong to the GUI thread.
class SerialPort : public QObject {
    Q_OBJECT
public:
    static constexpr int kQueueSize = 4096; // receive and transmit queues

    using QObject::QObject;
    ~SerialPort() override = default;

    virtual void setComNumber(quint16 number) = 0; // only while closed
    virtual quint16 comNumber() const = 0;
    virtual bool isOpen() const = 0;

    // Opens the port; portOpened() is emitted before it returns. Throws
    // SerialPortError and stays closed on failure. Opening an open port does nothing.
    virtual void open() = 0;
    // Closes the port; portClosed() is emitted before it returns. Closing a closed
    // port does nothing.
    virtual void close() = 0;

    virtual void flushInBuffer() = 0;
    virtual void flushOutBuffer() = 0;
    // Queues the whole string, or throws SerialPortError and queues nothing when it
    // does not fit in the transmit queue.
    virtual void putString(const QByteArray &bytes) = 0;
    virtual bool charReady() = 0;
    virtual char getChar() = 0;
    // What opening learnt of the adapter's latency, for the session's log ("" : nothing).
    virtual QString adapterNote() const { return {}; }

signals:
    void portOpened();
    void portClosed();
    // New bytes arrived; count is every unread byte, earlier ones included.
    void triggerAvail(quint16 count);
    // The device went away while open (probe pulled out, line hung up). Emitted
    // once per connection; the port stays logically open until close() is called.
    void deviceLost(const QString &reason);
};
