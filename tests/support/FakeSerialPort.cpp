#include "FakeSerialPort.h"

void FakeSerialPort::setComNumber(quint16 number)
{
    calls << QStringLiteral("com:%1").arg(number);
    m_number = number;
}

void FakeSerialPort::open()
{
    calls << QStringLiteral("open");
    if (m_open)
        return;
    if (!m_failOpen.isEmpty()) {
        const QString message = m_failOpen;
        m_failOpen.clear();
        throw SerialPortError(message);
    }
    m_open = true;
    emit portOpened();
}

void FakeSerialPort::close()
{
    calls << QStringLiteral("close");
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    m_queued.clear();
    pending.clear();
    emit portClosed();
}

void FakeSerialPort::flushInBuffer()
{
    calls << QStringLiteral("flushIn");
    m_input.clear();
}

void FakeSerialPort::flushOutBuffer()
{
    calls << QStringLiteral("flushOut");
    m_queued.clear();
}

void FakeSerialPort::putString(const QByteArray &bytes)
{
    calls << QStringLiteral("put:") + QString::fromLatin1(bytes.mid(1, 3));
    m_sent.append(bytes);
    m_queued.append(bytes);
    if (!m_module)
        return;
    if (echo)
        pending.append(bytes);
    QByteArray code, payload;
    bool isWrite = false;
    if (ModuleModel::parseRequest(bytes, &code, &isWrite, &payload)) {
        const QByteArray answer = m_module->answer(code, isWrite, payload);
        if (!answer.isEmpty())
            pending.append(answer);
    }
}

int FakeSerialPort::pump(int maxEvents)
{
    int events = 0;
    while (!pending.isEmpty() && events < maxEvents && m_open) {
        deliver(pending.takeFirst());
        ++events;
    }
    return events;
}

char FakeSerialPort::getChar()
{
    if (m_input.isEmpty())
        return 0;
    const char c = m_input.front();
    m_input.remove(0, 1);
    return c;
}

void FakeSerialPort::deliver(const QByteArray &bytes)
{
    m_input.append(bytes);
    emit triggerAvail(static_cast<quint16>(qMin<qsizetype>(m_input.size(), 65535)));
}

QList<QByteArray> FakeSerialPort::takeSent()
{
    QList<QByteArray> out;
    out.swap(m_sent);
    return out;
}
