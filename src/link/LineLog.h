#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

// What the link engine tells of every byte that crosses the line.
class LineObserver {
public:
    virtual ~LineObserver() = default;
    virtual void sent(const QByteArray &frame) = 0;
    virtual void received(const QByteArray &bytes) = 0;
};

// A log of one session on the line, for whoever supports the technician: every
// frame sent and received with its time in milliseconds, and what happened (the
// module identified, messages, how it ended). It never holds a secret: the
// payloads of the PIN, the access code and the meter password, in requests and
// in answers, are written as as many "*". A log that cannot be written says so
// once on stderr and is left out; the session goes on.
class LineLog : public LineObserver {
public:
    LineLog() = default;
    ~LineLog() override;

    // Starts a log in path (the program's version, the port, the time).
    bool open(const QString &path, const QString &port);
    bool isOpen() const { return m_file.isOpen(); }
    void sent(const QByteArray &frame) override;
    void received(const QByteArray &bytes) override;
    void note(const QString &text);
    // Notes how the session ended and closes the log.
    void close(const QString &ending);

    // A frame in readable text: control bytes by name (<SOH>, <ACK>), others in hex.
    static QString printable(const QByteArray &bytes);
    // Keeps the newest `keep` logs (*.log) in folder, removing the oldest.
    static void keepNewest(const QString &folder, int keep);

private:
    // Follows frames across the pieces they arrive in, hiding secret payloads.
    struct Masker {
        QByteArray code;
        int state = 0; // 0 outside a frame, 1 reading the code, 2 after STX, 3 inside a secret payload
        QByteArray mask(const QByteArray &bytes);
    };
    void write(const char *direction, const QString &text);
    // Received bytes are written an answer a line, however they arrived.
    void flushReceived();

    QFile m_file;
    QElapsedTimer m_clock;
    Masker m_sent;
    Masker m_received;
    QByteArray m_pending; // received, masked, not yet a whole answer
};
