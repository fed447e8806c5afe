#include "QtSerialPortService.h"

#include "LineSetup.h"
#include "OpenError.h"

namespace {
QString lossText(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError: // how Windows reports a pulled USB probe
    case QSerialPort::PermissionError:
        return QStringLiteral("urządzenie portu zostało odłączone (czy sonda jest podłączona?)");
    case QSerialPort::ReadError:
        return QStringLiteral("nie można czytać z portu; połączenie zostało przerwane");
    case QSerialPort::WriteError:
        return QStringLiteral("nie można pisać do portu; połączenie zostało przerwane");
    default:
        return QStringLiteral("port przestał działać");
    }
}
} // namespace

QtSerialPortService::QtSerialPortService(PortNaming naming, QObject *parent)
    : SerialPort(parent), m_naming(std::move(naming)), m_port(this)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPortService::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPortService::onError);
}

QtSerialPortService::~QtSerialPortService()
{
    // Closing here would emit into a half-destroyed owner; just let go of the device.
    QSignalBlocker block(this);
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialPortService::setComNumber(quint16 number)
{
    if (!m_open)
        m_number = number;
}

QString QtSerialPortService::openErrorText(QSerialPort::SerialPortError error, const QString &device,
                                           const QString &systemText)
{
    return OpenError::text(error, device, systemText);
}

void QtSerialPortService::open()
{
    if (m_open)
        return;
    const QString device = m_naming.devicePath(m_number);
    if (device.isEmpty())
        throw SerialPortError(openErrorText(QSerialPort::DeviceNotFoundError, device, QString()));

    m_port.setPortName(device);
    // Line settings go in before open(): a pseudo-terminal cannot report 7E1 back.
    m_port.setBaudRate(4800);
    m_port.setDataBits(QSerialPort::Data7);
    m_port.setParity(QSerialPort::EvenParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // The queue is bounded by onReadyRead; leaving Qt's own buffer unlimited keeps
    // it from silently pausing reception when the engine leaves bytes unread.
    m_port.setReadBufferSize(0);
    m_lost = false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString text = openErrorText(m_port.error(), device, m_port.errorString());
        m_port.clearError();
        throw SerialPortError(text);
    }
    if (const QString failure = LineSetup::apply(m_port); !failure.isEmpty()) {
        m_port.close();
        throw SerialPortError(failure);
    }
    m_adapterNote = LineSetup::lowerLatency(m_port);
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_open = true;
    emit portOpened();
}

void QtSerialPortService::close()
{
    if (!m_open || m_closing)
        return;
    m_closing = true;
    if (m_port.isOpen()) // not after a loss
        m_port.close();
    m_open = false;
    m_closing = false;
    emit portClosed();
}

void QtSerialPortService::flushInBuffer()
{
    if (m_open && m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void QtSerialPortService::flushOutBuffer()
{
    if (m_open && m_port.isOpen())
        m_port.clear(QSerialPort::Output);
}

void QtSerialPortService::putString(const QByteArray &bytes)
{
    if (!m_open || m_closing || !m_port.isOpen())
        return;
    if (m_port.bytesToWrite() + bytes.size() > kQueueSize)
        throw SerialPortError(QStringLiteral("Output buffer too small for block"));
    m_port.write(bytes);
}

bool QtSerialPortService::charReady()
{
    return m_open && !m_closing && m_port.isOpen() && m_port.bytesAvailable() > 0;
}

char QtSerialPortService::getChar()
{
    char c = 0;
    if (charReady())
        m_port.getChar(&c);
    return c;
}

void QtSerialPortService::onReadyRead()
{
    qint64 available = m_port.bytesAvailable();
    // A receive queue of fixed size: what overflows it is lost, oldest first, so
    // noise on an idle line cannot grow memory.
    if (available > kQueueSize) {
        m_port.skip(available - kQueueSize);
        available = kQueueSize;
    }
    if (available > 0)
        emit triggerAvail(static_cast<quint16>(available));
}

void QtSerialPortService::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError: // pseudo-terminals refuse modem lines
    case QSerialPort::TimeoutError:
        return;
    default:
        break;
    }
    // Open failures are reported by open() itself. Once open, anything else is the
    // line gone: Windows reports a pulled USB probe as a failed wait with "access
    // denied" or "file not found", and QtSerialPort then receives nothing more.
    if (!m_open || m_closing || m_lost)
        return;
    m_lost = true;
    // Let go of the device at once: a vanished pseudo-terminal keeps the read
    // notifier firing, and a modal message would spin on it.
    m_port.close();
    // Reported from the event loop, not from inside QSerialPort's notifier, since
    // the engine answers with a modal message.
    const QString reason = lossText(error);
    QMetaObject::invokeMethod(this, [this, reason] {
        if (m_open && m_lost)
            emit deviceLost(reason);
    }, Qt::QueuedConnection);
}
