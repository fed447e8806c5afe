#pragma once

#include <QByteArray>
#include <QDateTime>
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

    // Starts a log in path (the program's version, the port, the time). The log
    // holds customers' phone numbers: only its owner may read it.
    bool open(const QString &path, const QString &port);
    // Starts a log of its own in folder (made private when missing), named by the
    // session's start in UTC, and keeps the newest kKept of the folder's logs.
    bool openInFolder(const QString &folder, const QString &port);
    static constexpr int kKept = 20;
    bool isOpen() const { return m_file.isOpen(); }
    void sent(const QByteArray &frame) override;
    void received(const QByteArray &bytes) override;
    void note(const QString &text);
    // Notes how the session ended and closes the log.
    void close(const QString &ending);

    // A frame in readable text: control bytes by name (<SOH>, <ACK>), others in hex.
    static QString printable(const QByteArray &bytes);
    // The name of a log started at utc: veskor-YYYYMMDD-HHMMSS-mmm.log.
    static QString sessionFileName(const QDateTime &utc);
    // Keeps the newest `keep` of the program's own logs in folder, removing the
    // oldest; any other file there is left alone.
    static void keepNewest(const QString &folder, int keep);

    // Follows frames across the pieces they arrive in, hiding secret payloads.
    // A secret's payload is hidden up to its frame's EOT, whatever it holds (a
    // module may hold ")" in a password) and whatever noise arrives inside it.
    struct Masker {
        QByteArray code;
        int state = 0; // 0 outside a frame, 1 reading the code, 2 after STX, 3 inside a secret payload
        char held = 0; // a closing bracket inside a secret, shown only if the EOT follows
        QByteArray mask(const QByteArray &bytes);
        // What is still held, as the secret it may be.
        QByteArray drain();
    };

private:
    void write(const char *direction, const QString &text);
    // Received bytes are written an answer a line, however they arrived.
    void flushReceived();

    QFile m_file;
    QElapsedTimer m_clock;
    Masker m_sent;
    Masker m_received;
    QByteArray m_pending; // received, masked, not yet a whole answer
};
