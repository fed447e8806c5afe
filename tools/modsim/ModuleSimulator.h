#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>

#include "ModuleModel.h"

class QSocketNotifier;

// Plays the telemetry module on the far end of a pseudo-terminal: answers every
// read and acknowledges every write of the protocol from its registers, and can
// misbehave on request the ways real probes and modules do.
class ModuleSimulator : public QObject {
    Q_OBJECT
public:
    using Family = ModuleModel::Family;

    struct Frame {
        bool received; // true: from the program; false: sent by the module
        QByteArray bytes;
        double ms = 0;     // received: when it had arrived; sent: when its last byte goes out
        bool lost = false; // received while an answer was still going out (half-duplex)
    };

    explicit ModuleSimulator(QObject *parent = nullptr);
    ~ModuleSimulator() override;

    // Opens a pseudo-terminal; the program opens slavePath(). False with a reason on failure.
    bool start(QString *error = nullptr);
    QString slavePath() const { return m_slavePath; }
    // A stable name for the device (the pseudo-terminal's number changes each run).
    bool makeLink(const QString &linkPath, QString *error = nullptr);
    // Closes the module's end, as a pulled plug does; the program sees the line vanish.
    void hangUp();
    bool isHungUp() const { return m_master < 0; }

    // What the module holds and answers; the simulator adds the line and the faults.
    ModuleModel &model() { return m_model; }
    const ModuleModel &model() const { return m_model; }
    void setIdentity(Family family, const QByteArray &versionText) { m_model.setIdentity(family, versionText); }
    QByteArray reg(const QByteArray &readCode) const { return m_model.reg(readCode); }
    void setRegister(const QByteArray &readCode, const QByteArray &payload) { m_model.setRegister(readCode, payload); }
    void loadConfiguration(const TUstawienie &config) { m_model.loadConfiguration(config); }
    TUstawienie configuration() const { return m_model.configuration(); }
    // After every accepted write the registers are saved to this configuration file.
    void setSaveFile(const QString &path) { m_saveFile = path; }

    // Misbehaviour.
    void setEcho(bool on) { m_echo = on; }        // probe returns each request
    void setBaudRate(int baud) { m_baud = baud; } // 0: as fast as the pty takes it
    void setLatency(int ms) { m_latencyMs = ms; } // before each answer
    // A USB-serial adapter (FTDI-like) between module and program: what the module
    // sends is held until ms have passed since the first byte waiting, or 62 bytes
    // wait, then handed over at once. 0: no adapter.
    void setAdapterLatency(int ms) { m_adapterLatencyMs = ms; }
    void setSplit(int pieceSize, int gapMs)
    {
        m_pieceSize = pieceSize;
        m_pieceGapMs = gapMs;
    }
    void setNoise(const QByteArray &bytes) { m_noise = bytes; }     // sent before each answer
    void dropAnswer(const QByteArray &code, int occurrence = 1);    // no answer to that request
    void setSilentAfter(int requests) { m_silentAfter = requests; } // -1: never
    void setHangUpAfter(int requests) { m_hangUpAfter = requests; } // -1: never
    // An infrared probe is half-duplex: a frame that arrives while the module is
    // still sending is lost, never answered.
    void setHalfDuplex(bool on) { m_halfDuplex = on; }
    // This request is answered with the answer sent before it (a late or repeated answer).
    void answerWithPrevious(const QByteArray &code) { m_answerWithPrevious = code; }
    // A write of this code is stored altered, so a verification must fail.
    void setStoreDifferently(const QByteArray &writeCode) { m_model.setStoreDifferently(writeCode); }

    // Sends bytes unasked, as line noise or a stray answer would arrive.
    void inject(const QByteArray &bytes) { schedule(bytes, false, 0); }

    // Every frame in both directions, in order.
    const QList<Frame> &log() const { return m_log; }
    // The codes of the requests received, in order ("GE0", "G00", "S10", ...), lost ones included.
    QList<QByteArray> requestCodes() const;
    void clearLog() { m_log.clear(); }
    // Requests lost because they arrived while an answer was going out.
    int lostRequests() const;
    int pendingOutput() const { return m_out.size(); }

signals:
    void requestReceived(const QByteArray &code);
    void answered(const QByteArray &code);
    void hungUp();

private:
    void closeLine();
    struct Pending {
        double dueMs;
        QByteArray bytes;
    };
    void onReadable();
    void parseInput();
    void handleRequest(const QByteArray &frame, const QByteArray &code, bool isWrite, const QByteArray &payload);
    void schedule(const QByteArray &bytes, bool isAnswer, double notBeforeMs);
    void queueOut(double atMs, const QByteArray &bytes);
    void flushDue();
    void armTimer();

    int m_master = -1;
    int m_slaveKeeper = -1;
    QString m_slavePath;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_in;
    QList<Pending> m_out;
    QTimer m_sendTimer;
    QElapsedTimer m_clock;
    double m_lastDueMs = 0;     // when the last byte queued for sending goes out
    double m_inboundFreeMs = 0; // when the last request received finished arriving

    ModuleModel m_model;

    bool m_echo = false;
    int m_baud = 0;
    int m_latencyMs = 0;
    int m_adapterLatencyMs = 0;
    int m_adapterHeld = 0;     // bytes waiting in the adapter
    double m_adapterDueMs = 0; // when the adapter's timer hands them over
    int m_pieceSize = 0;
    int m_pieceGapMs = 0;
    QByteArray m_noise;
    QMap<QByteArray, int> m_dropAt; // code -> occurrence to drop
    QMap<QByteArray, int> m_seen;   // code -> occurrences so far
    int m_silentAfter = -1;
    int m_hangUpAfter = -1;
    int m_requests = 0;
    QList<Frame> m_log;
    bool m_halfDuplex = false;
    QByteArray m_answerWithPrevious;
    QByteArray m_lastAnswer;
    QString m_saveFile;
};
