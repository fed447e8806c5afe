#include "LinkEngine.h"

#include "Frames.h"
#include "PortNaming.h"

namespace {
const QString kStatusClosed = QStringLiteral("Status: Port zamknięty");
const QString kStatusOpening = QStringLiteral("Status: Otwieranie portu");
const QString kStatusOpen = QStringLiteral("Status: Port otwarty");
const QString kStatusClosing = QStringLiteral("Status: Zamykanie portu");
} // namespace

LinkEngine::LinkEngine(SerialPort *port, LinkHost *host, QObject *parent) : QObject(parent), m_port(port), m_host(host)
{
    m_watchDog.setInterval(kWatchDogInterval);
    connect(&m_watchDog, &QTimer::timeout, this, &LinkEngine::TimerWatchDogTimer);
    connect(m_port, &SerialPort::portOpened, this, &LinkEngine::ApdComPortIrDAPortOpen);
    connect(m_port, &SerialPort::portClosed, this, &LinkEngine::ApdComPortIrDAPortClose);
    connect(m_port, &SerialPort::triggerAvail, this, &LinkEngine::ApdComPortIrDATriggerAvail);
    connect(m_port, &SerialPort::deviceLost, this, &LinkEngine::ApdComPortIrDADeviceLost);
}

bool LinkEngine::IsExtendedBook() const
{
    return DeviceType == dtRW5SMS || (DeviceType == dtMKVx && !Frames::versionLess(DeviceVersion, "02.00"));
}

QString LinkEngine::moduleDescription() const
{
    return QStringLiteral("moduł: %1, wersja %2, książka %3 numerów")
        .arg(DeviceType == dtMKVx ? QStringLiteral("MKV") : QStringLiteral("RW-5"), QString::fromLatin1(DeviceVersion))
        .arg(MaxNumbers);
}

void LinkEngine::send(const QByteArray &frame)
{
    if (m_observer)
        m_observer->sent(frame);
    try {
        m_port->putString(frame);
    } catch (const SerialPortError &e) {
        // Cannot happen with frames this short, but a lost frame must not be silent.
        m_host->showMessage(LinkHost::Message::Error, QStringLiteral("Błąd: ") + e.message());
    }
}

void LinkEngine::enableWatchDogIfDisabled()
{
    if (!m_watchDog.isActive())
        m_watchDog.start();
}

void LinkEngine::disableWatchDog()
{
    m_watchDog.stop();
}

void LinkEngine::BitBtnPolaczClick()
{
    IsWaitG00 = false;
    IsWaitS00 = false;
    IsWaitHeader = false;
    IsLatch = false;
    S_Command.clear();
    disableWatchDog();

    if (m_port->isOpen()) {
        closePortFromOpen();
        return;
    }

    IsReading = false;
    IsWritening = false;
    IsVerification = false;
    m_host->setButtonEnabled(LinkHost::Button::Polacz, false);
    m_port->setComNumber(PortNaming::numberFromEntry(m_host->selectedPortEntry()));
    m_host->setStatus(kStatusOpening);
    IsWaitHeader = true;
    try {
        // The queues are flushed inside the port-opened handling, before the
        // identification request goes out, so that it is never discarded.
        m_port->open();
    } catch (const SerialPortError &e) {
        m_host->showMessage(LinkHost::Message::Error, QStringLiteral("Błąd: ") + e.message());
        m_host->setButtonEnabled(LinkHost::Button::Polacz, true);
        m_host->setStatus(kStatusClosed);
    }
}

void LinkEngine::closePortFromOpen()
{
    m_host->setStatus(kStatusClosing);
    m_host->setButtonEnabled(LinkHost::Button::OdczytLicznik, false);
    m_host->setButtonEnabled(LinkHost::Button::ZapisLicznik, false);
    m_port->close();
}

void LinkEngine::ApdComPortIrDAPortOpen()
{
    disableWatchDog();
    IsReading = false;
    IsWritening = false;
    IsVerification = false;
    m_host->setStatus(kStatusOpen);
    m_host->setPolaczCaption(QStringLiteral("Zamknij port"));
    m_host->setButtonEnabled(LinkHost::Button::Polacz, true);
    // The module buttons wait for the module: its kind decides the frames and totals.
    m_port->flushInBuffer();
    m_port->flushOutBuffer();
    IrDABuffer.clear();
    m_watchDog.start();
    send(Frames::readRequest("GE0"));
}

void LinkEngine::ApdComPortIrDAPortClose()
{
    IsWaitG00 = false;
    IsWaitS00 = false;
    IsWaitHeader = false;
    S_Command.clear();
    disableWatchDog();
    IsReading = false;
    IsWritening = false;
    IsVerification = false;
    // Whatever half an answer or half a sequence was waiting belongs to the
    // closed connection.
    IrDABuffer.clear();
    Ksiazka = 0;
    m_host->setStatus(kStatusClosed);
    m_host->setPolaczCaption(QStringLiteral("Otwórz port"));
    m_host->setButtonEnabled(LinkHost::Button::Polacz, true);
    m_host->setButtonEnabled(LinkHost::Button::Utworz, true);
    m_host->setButtonEnabled(LinkHost::Button::OdczytPlik, true);
    m_host->setButtonEnabled(LinkHost::Button::OdczytLicznik, false);
    m_host->setButtonEnabled(LinkHost::Button::ZapisLicznik, false);
    if (MustClose)
        m_host->closeWindow();
}

void LinkEngine::ApdComPortIrDADeviceLost(const QString &reason)
{
    if (!m_port->isOpen())
        return;
    // Stop every exchange before the modal message, so nothing re-enters meanwhile.
    IsWaitG00 = false;
    IsWaitS00 = false;
    IsWaitHeader = false;
    IsReading = false;
    IsWritening = false;
    IsVerification = false;
    S_Command.clear();
    disableWatchDog();
    m_host->showMessage(LinkHost::Message::Error, QStringLiteral("Błąd: ") + reason);
    if (m_port->isOpen())
        closePortFromOpen();
}

void LinkEngine::FormCloseQuery(bool &canClose)
{
    disableWatchDog();
    if (!m_port->isOpen())
        return;
    IsReading = false;
    IsWritening = false;
    IsVerification = false;
    canClose = false;
    MustClose = true;
    IsWaitG00 = false;
    IsWaitS00 = false;
    IsWaitHeader = false;
    closePortFromOpen();
}

void LinkEngine::TimerWatchDogTimer()
{
    if (IsWaitHeader) {
        IrDABuffer.clear();
        send(Frames::readRequest("GE0"));
    }
    if (IsWaitG00) {
        IrDABuffer.clear();
        send(Frames::readRequest("G00"));
    }
    if (IsWaitS00) {
        IrDABuffer.clear();
        S_Command.clear();
        sendOpeningWriteFrame();
    }
}

void LinkEngine::appendReceived(quint16 count)
{
    const qsizetype before = IrDABuffer.size();
    for (quint16 i = 0; i < count && m_port->charReady(); ++i)
        IrDABuffer.append(m_port->getChar());
    if (m_observer)
        m_observer->received(IrDABuffer.mid(before));
    // Noise must never grow memory: keep only the newest bytes.
    if (IrDABuffer.size() > kBufferLimit)
        IrDABuffer.remove(0, IrDABuffer.size() - kBufferLimit);
}

void LinkEngine::ApdComPortIrDATriggerAvail(quint16 count)
{
    if (!IsWaitHeader && !IsReading && !IsWritening)
        return;
    if (!m_port->charReady())
        return;
    appendReceived(count);
    if (IsWaitHeader)
        identificationStep();
    if (IsWaitG00)
        firstReadStep();
    else if (IsWaitS00)
        openingWriteStep();
    else
        answerDispatch();
}

void LinkEngine::identificationStep()
{
    const Frames::Identification id = Frames::parseIdentification(IrDABuffer);
    if (id.family == Frames::Family::None) {
        enableWatchDogIfDisabled();
        return;
    }
    if (id.family == Frames::Family::MKV) {
        DeviceType = dtMKVx;
        MaxNumbers = 16;
    } else {
        DeviceType = dtRW5SMS;
        MaxNumbers = 8;
    }
    if (!id.complete) {
        enableWatchDogIfDisabled();
        return;
    }
    IsWaitHeader = false;
    disableWatchDog();

    QByteArray version = id.versionText;
    IsLatch = version.contains('l');
    if (IsLatch)
        version.chop(1);
    DeviceVersion = version;
    if (IsExtendedBook())
        IsLatch = true;
    IrDABuffer.clear();

    if (DeviceType == dtMKVx && Frames::versionLess(DeviceVersion, "01.12")) {
        m_host->showMessage(LinkHost::Message::Information,
                            QStringLiteral("Ta wersja programu nie obsługuje modułów MKV-1/MKV-3 w wersji ") +
                                QString::fromLatin1(DeviceVersion) + QLatin1Char('.'));
        // The port may have gone while the message was up; a click then would reopen it.
        if (m_port->isOpen())
            BitBtnPolaczClick();
        return;
    }
    m_host->setButtonEnabled(LinkHost::Button::OdczytLicznik, true);
    m_host->setButtonEnabled(LinkHost::Button::ZapisLicznik, true);
    emit identified();
}
