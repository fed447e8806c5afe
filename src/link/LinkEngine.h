#pragma once

#include "LineLog.h"
#include "LinkHost.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

enum TDeviceType { dtNone = 0, dtMKVx = 1, dtRW5SMS = 2 };

// Owns the connection to the module: opens and closes the port, identifies the
// module, accumulates received bytes and hands complete answers on. Every
// handler runs on the GUI thread, one at a time.
class LinkEngine : public QObject {
    Q_OBJECT
public:
    // Received bytes kept while no complete answer has been recognised.
    static constexpr int kBufferLimit = 4096;
    static constexpr int kWatchDogInterval = 1000;

    LinkEngine(SerialPort *port, LinkHost *host, QObject *parent = nullptr);

    // Event handlers.
    void BitBtnPolaczClick();
    void ApdComPortIrDAPortOpen();
    void ApdComPortIrDAPortClose();
    void ApdComPortIrDATriggerAvail(quint16 count);
    void ApdComPortIrDADeviceLost(const QString &reason);
    void TimerWatchDogTimer();
    void FormCloseQuery(bool &canClose);
    void BitBtnOdczytLicznikClick();
    void BitBtnZapisLicznikClick();

    bool IsExtendedBook() const;
    // The identified module in a line: "moduł: MKV, wersja 02.00, książka 16 numerów".
    QString moduleDescription() const;
    QTimer &TimerWatchDog() { return m_watchDog; }
    SerialPort *port() const { return m_port; }

    // Engine state; names as the rest of the program knows them.
    bool IsReading = false;
    bool IsWritening = false;
    bool IsVerification = false;
    bool MustClose = false;
    bool IsWaitHeader = false;
    bool IsWaitG00 = false;
    bool IsWaitS00 = false;
    QByteArray IrDABuffer;
    QByteArray S_Command;
    qint32 AMAX_Order = 22;
    qint32 ACount_Order = 1;
    qint32 Ksiazka = 0;
    bool IsLatch = false;
    QByteArray DeviceVersion;
    TDeviceType DeviceType = dtNone;
    qint32 MaxNumbers = 16;

    // Steps of a full read and of a full write for the identified module: the
    // progress texts count up to exactly these.
    int readSteps() const;
    int writeSteps() const;
    // Whether the module now holds what was written (ustawienie() against odczytanie()).
    bool verificationSucceeded() const;
    // The fields the verification compares in which two configurations differ, named
    // as the technician knows them ("PIN", "numer 3", ...); empty when they agree.
    QStringList differences(const TUstawienie &written, const TUstawienie &read) const;
    // Names a configuration without revealing it: the first 16 hex digits of SHA-256
    // over what the verification compares for this module, the PIN, access code and
    // meter password left out. One template written to many modules gives one.
    QString fingerprint(const TUstawienie &u) const;
    // The module as identified, for records: "MKV 02.00", "RW-5 1.03"; empty before any.
    QString moduleName() const;

    // Told of every frame sent and every byte received (a line log); may be null.
    void setLineObserver(LineObserver *observer) { m_observer = observer; }

signals:
    // A module was identified and accepted.
    void identified();

private:
    // Reading, writing and verifying (LinkSequences.cpp).
    void startRead(bool verification);
    void firstReadStep();
    void openingWriteStep();
    void answerDispatch();
    void sendOpeningWriteFrame();
    void readChain(const QByteArray &code);
    void writeChain();
    void endOfRead();
    void endOfWrite();
    void nextRead(const QByteArray &code);
    void nextWrite(const QByteArray &tag, const QByteArray &code, const QByteArray &payload);
    void countStep();
    void showReadProgress();
    void showWriteProgress();
    void setOperationButtons(bool enabled);
    bool belowVersion(const QByteArray &version) const;
    void copyReadIntoSettings();

    void send(const QByteArray &frame);
    void enableWatchDogIfDisabled();
    void disableWatchDog();
    void identificationStep();
    void appendReceived(quint16 count);
    void closePortFromOpen();

    SerialPort *m_port;
    LinkHost *m_host;
    LineObserver *m_observer = nullptr;
    QTimer m_watchDog;
};
