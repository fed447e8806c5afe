#pragma once

#include "PortNaming.h"
#include "SerialPort.h"

#include <QSerialPort>

// The real port: QSerialPort at 4800 baud, 7E1, no flow control, DTR and RTS raised.
class QtSerialPortService : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPortService(PortNaming naming, QObject *parent = nullptr);
    ~QtSerialPortService() override;

    void setComNumber(quint16 number) override;
    quint16 comNumber() const override { return m_number; }
    bool isOpen() const override { return m_open; }
    void open() override;
    void close() override;
    void flushInBuffer() override;
    void flushOutBuffer() override;
    void putString(const QByteArray &bytes) override;
    bool charReady() override;
    char getChar() override;
    QString adapterNote() const override { return m_adapterNote; }

    void setNaming(PortNaming naming) { m_naming = std::move(naming); }
    QString devicePath() const { return m_naming.devicePath(m_number); }

    // Plain-language reason for an open failure (exposed for tests).
    static QString openErrorText(QSerialPort::SerialPortError error, const QString &device, const QString &systemText);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    PortNaming m_naming;
    QSerialPort m_port;
    QString m_adapterNote;
    quint16 m_number = 1;
    bool m_open = false;    // what the engine sees; stays true after a loss until close()
    bool m_closing = false;
    bool m_lost = false;
};
