#pragma once

#include "EditorSnapshot.h"
#include "Journal.h"
#include "LineLog.h"
#include "LinkEngine.h"
#include "LinkHost.h"
#include "PortNaming.h"
#include "QtSerialPortService.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

// One run of the command line: the window's link engine, sequences and checks
// behind a host that prints instead of showing. Reads, writes (and verifies) or
// compares one module, then ends with the exit status the user's scripts test.
class CliSession : public QObject, public LinkHost, public LineObserver {
    Q_OBJECT
public:
    enum Exit { Success = 0, Usage = 1, FileRefused = 2, ModuleRefused = 3, LineLost = 4, PortUnavailable = 5 };
    enum class Command { Read, Write, Compare };

    // portEntry is the port list's "COM n" that naming maps to the device;
    // portName is how the technician named it.
    CliSession(const PortNaming &naming, QString portEntry, QString portName, QString logFile, int idleMs,
               QString journalFile);

    // The file is read for Write and Compare, written for Read.
    int run(Command command, const QString &file);
    // Writes file to one module after another on the port, as a workshop prepares
    // them: each verified, journaled and given its protocol in protocols; count 0
    // goes on until interrupted. Status 0 when every module verified, else 4.
    int runBatch(const QString &file, int count, const QString &protocols);

    // LineObserver: the log's, and the time of the last byte (a probe moved is a silent line).
    void sent(const QByteArray &frame) override;
    void received(const QByteArray &bytes) override;
    // After a verified write, its protocol goes to path (none when empty).
    void setReport(QString path, QString technician)
    {
        m_report = std::move(path);
        m_technician = std::move(technician);
    }
    // SIGINT or SIGTERM: a read or a compare stops at once; a write is finished
    // and verified unless a second one comes. The port is closed either way.
    void interrupt(int signal);

    // LinkHost
    void setStatus(const QString &text) override;
    void setButtonEnabled(Button, bool) override {}
    void setPolaczCaption(const QString &) override {}
    QString selectedPortEntry() const override { return m_portEntry; }
    void showMessage(Message kind, const QString &text) override;
    void closeWindow() override {}
    TUstawienie &ustawienie() override { return m_settings; }
    TUstawienie &odczytanie() override { return m_readBack; }
    bool validateConfiguration() override;
    void showConfiguration() override;
    void showVerificationResult(bool success) override;

private:
    ModuleTraits traits(bool sendsPassword) const;
    // Runs the event loop until the step ends; false (with m_exit set) when it failed.
    bool waitFor(bool &done, int idleTimeoutMs);
    int finish(int exit, const QString &ending);
    bool saveRead(const QString &file);
    // Whether a read's file can be written, said before the module is touched.
    bool canSave(const QString &file);
    QString portLabel() const;
    // The journal's row of this session, once the port was opened.
    void journal(const QString &result);
    bool loadFile(const QString &file, TUstawienie &into);
    bool openPort();
    bool writeProtocol(const QString &path);
    // The next module on the probe: closes and opens the port, so identification starts again.
    void waitForNextModule();

    QtSerialPortService m_port;
    // The adapter's latency goes into the log before the engine, connected after
    // this, sends the first request.
    QMetaObject::Connection m_adapterNote;
    LinkEngine m_engine;
    QString m_portEntry;
    QString m_portName;
    QString m_logFile;
    int m_idleMs;
    LineLog m_log;
    TUstawienie m_settings = emptyConfiguration();
    TUstawienie m_readBack = emptyConfiguration();
    QEventLoop m_loop;
    QTimer m_idle;
    QString m_lastStatus;
    QString m_lastMessage;
    int m_exit = Success;
    bool m_identified = false;
    bool m_shown = false;
    bool m_verified = false;
    bool m_verifiedOk = false;
    bool m_lineLost = false;
    bool m_opening = false;
    QString m_openFailure; // the engine's message of a failed open
    bool m_writing = false;
    bool m_stopped = false;
    int m_signal = 0; // the last interruption's
    Journal m_journal;
    Journal::Entry m_entry;
    QElapsedTimer m_clock;
    bool m_opened = false;
    QString m_report;
    QString m_technician;
    QElapsedTimer m_lastByte;
    bool m_silence = false; // the line was silent for 2 s since the last module
    bool m_batch = false;
};
