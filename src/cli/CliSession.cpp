#include "CliSession.h"

#include "ConfigurationFile.h"
#include "Console.h"
#include "ProtocolReport.h"
#include "Validation.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <csignal>

namespace {
constexpr int kIdentifyTimeoutMs = 10000;

QString signalName(int signal)
{
    return signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM");
}

QString withoutStatusWord(const QString &status)
{
    return status.startsWith(QLatin1String("Status: ")) ? status.mid(8) : status;
}
} // namespace

CliSession::CliSession(const PortNaming &naming, QString portEntry, QString portName, QString logFile, int idleMs,
                       QString journalFile)
    : m_port(naming),
      m_adapterNote(connect(&m_port, &SerialPort::portOpened, this, [this] { m_log.note(m_port.adapterNote()); })),
      m_engine(&m_port, this), m_portEntry(std::move(portEntry)), m_portName(std::move(portName)),
      m_logFile(std::move(logFile)), m_idleMs(idleMs), m_journal(std::move(journalFile))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    m_engine.setLineObserver(this);
    connect(&m_engine, &LinkEngine::identified, this, [this] {
        m_identified = true;
        m_log.note(m_engine.moduleDescription());
        m_loop.quit();
    });
    connect(&m_port, &SerialPort::portClosed, &m_loop, &QEventLoop::quit);
    connect(&m_port, &SerialPort::deviceLost, this, [this] { m_lineLost = true; });
}

void CliSession::interrupt(int signal)
{
    m_signal = signal;
    if (m_writing && !m_stopped) { // in a batch also its last module
        m_writing = false; // a second one stops it
        printLine(stderr, QString::fromUtf8("przerwanie — zapis zostanie dokończony"));
        m_log.note(QStringLiteral("%1: zapis zostanie dokończony").arg(signalName(signal)));
        return;
    }
    m_stopped = true;
    m_loop.quit();
}

QString CliSession::portLabel() const
{
    const QString device = QDir::toNativeSeparators(m_port.devicePath());
    return device.isEmpty() || device == m_portName ? m_portName : m_portName + QStringLiteral(" (") + device + QLatin1Char(')');
}

ModuleTraits CliSession::traits(bool sendsPassword) const
{
    return {m_engine.MaxNumbers, m_engine.IsExtendedBook(), sendsPassword};
}

void CliSession::setStatus(const QString &text)
{
    if (text == m_lastStatus)
        return;
    m_lastStatus = text;
    printLine(stderr, withoutStatusWord(text));
    if (m_idle.isActive())
        m_idle.start(); // progress: the module still answers
}

void CliSession::showMessage(Message kind, const QString &text)
{
    if (m_opening) { // told with the port's name, as its own failure
        m_openFailure = text.startsWith(QStringLiteral("Błąd: ")) ? text.mid(6) : text;
        return;
    }
    m_lastMessage = text;
    m_log.note(text);
    const QString caption = QString::fromUtf8(kind == Message::Error     ? "Błąd"
                                              : kind == Message::Warning ? "Ostrzeżenie"
                                                                         : "Informacja");
    printLine(stdout, text.startsWith(caption) ? text : caption + QStringLiteral(": ") + text);
}

bool CliSession::validateConfiguration()
{
    // As the window: what its editor shows of the file, judged by its rules for this module.
    const EditorSnapshot editor = Validation::shown(m_settings, traits(m_engine.IsLatch));
    if (const auto issue = Validation::firstIssue(editor, traits(m_engine.IsLatch))) {
        if (issue->question) {
            // Asked when the file was saved; a script cannot answer, so it is told.
            printLine(stdout, QStringLiteral("Pytanie (przyjęte): ") + issue->message);
        } else {
            showMessage(Message::Warning, issue->message);
            m_exit = FileRefused;
            return false;
        }
    }
    Validation::store(editor, traits(m_engine.IsLatch), m_settings);
    return true;
}

void CliSession::showConfiguration()
{
    m_shown = true;
    m_loop.quit();
}

void CliSession::showVerificationResult(bool success)
{
    m_verified = true;
    m_verifiedOk = success;
    m_loop.quit();
}

bool CliSession::waitFor(bool &done, int idleTimeoutMs)
{
    m_idle.start(idleTimeoutMs);
    while (!done && !m_stopped && m_port.isOpen() && m_idle.isActive())
        m_loop.exec();
    m_idle.stop();
    if (done)
        return true;
    if (m_stopped) {
        m_exit = 128 + m_signal;
    } else if (m_port.isOpen()) { // no answer in time
        printLine(stdout, QStringLiteral("Błąd: moduł nie odpowiada na porcie %1.").arg(m_portEntry));
        m_lastMessage = QStringLiteral("moduł nie odpowiada");
        m_exit = ModuleRefused;
    } else if (m_exit == Success) {
        m_exit = m_identified || m_lineLost ? LineLost : ModuleRefused; // lost or refused
    }
    return false;
}

int CliSession::finish(int exit, const QString &ending)
{
    m_writing = false;
    if (m_port.isOpen())
        m_engine.BitBtnPolaczClick();
    QString end = ending.isEmpty() ? (m_lastMessage.isEmpty() ? QStringLiteral("bez błędów") : m_lastMessage) : ending;
    if (m_signal) { // the shell's convention: 128 and the signal
        end = m_stopped ? QStringLiteral("przerwano (%1)").arg(signalName(m_signal))
                        : end + QStringLiteral(" (po %1)").arg(signalName(m_signal));
        exit = 128 + m_signal;
    }
    m_log.close(end);
    if (m_opened)
        journal(exit == Success ? QStringLiteral("powodzenie") : end);
    return exit;
}

void CliSession::journal(const QString &result)
{
    m_entry.program = QStringLiteral("veskor-cli %1").arg(QStringLiteral(VESKOR_VERSION));
    m_entry.port = m_portName;
    m_entry.serial = m_readBack.Identyfikator.text();
    m_entry.module = m_engine.moduleName();
    m_entry.result = result;
    m_entry.seconds = double(m_clock.elapsed()) / 1000;
    if (!m_journal.append(m_entry))
        printLine(stderr, QStringLiteral("veskor-cli: nie można zapisać dziennika prac %1: %2")
                              .arg(QDir::toNativeSeparators(m_journal.path()), m_journal.errorString()));
}

void CliSession::sent(const QByteArray &frame)
{
    m_log.sent(frame);
}

void CliSession::received(const QByteArray &bytes)
{
    if (m_lastByte.isValid() && m_lastByte.elapsed() >= 2000)
        m_silence = true;
    m_lastByte.start();
    m_log.received(bytes);
}

bool CliSession::loadFile(const QString &file, TUstawienie &into)
{
    QString reason;
    switch (ConfigurationFile::load(file, into, &reason)) {
    case ConfigurationFile::LoadResult::CannotOpen:
        showMessage(Message::Error,
                    QStringLiteral("Nie można otworzyć pliku %1: %2").arg(QDir::toNativeSeparators(file), reason));
        return false;
    case ConfigurationFile::LoadResult::TooShort:
        showMessage(Message::Error, QStringLiteral("Nie można wczytać pliku z konfiguracją!"));
        return false;
    case ConfigurationFile::LoadResult::Loaded:
        break;
    }
    return true;
}

bool CliSession::openPort()
{
    m_opening = true;
    m_engine.BitBtnPolaczClick();
    m_opening = false;
    m_opened = m_port.isOpen() && !m_batch; // a batch journals each module itself
    if (!m_port.isOpen()) // no such device, busy, not allowed
        showMessage(Message::Error,
                    QStringLiteral("Błąd: nie można otworzyć portu %1: %2").arg(portLabel(), m_openFailure));
    return m_port.isOpen();
}

bool CliSession::writeProtocol(const QString &path)
{
    ProtocolReport::Content content{m_entry, m_technician, QSysInfo::machineHostName(), m_settings,
                                    traits(m_engine.IsLatch), true};
    content.entry.serial = m_readBack.Identyfikator.text();
    content.entry.module = m_engine.moduleName();
    QString error;
    if (ProtocolReport::write(path, content, &error))
        return true;
    printLine(stderr, QStringLiteral("veskor-cli: nie można zapisać protokołu: ") + error);
    return false;
}

void CliSession::waitForNextModule()
{
    if (m_port.isOpen())
        m_engine.BitBtnPolaczClick();
    m_identified = m_shown = m_verified = m_verifiedOk = m_lineLost = false;
    m_exit = Success;
    m_lastMessage.clear();
    m_readBack = emptyConfiguration();
    openPort();
}

int CliSession::runBatch(const QString &file, int count, const QString &protocols)
{
    m_batch = true;
    m_port.setComNumber(PortNaming::numberFromEntry(m_portEntry));
    if (!m_logFile.isEmpty())
        m_log.open(m_logFile, portLabel());
    TUstawienie fromFile = emptyConfiguration();
    if (!loadFile(file, fromFile))
        return finish(FileRefused, QString());
    m_entry.operation = QStringLiteral("zapis");
    m_entry.file = QFileInfo(file).fileName();
    if (!openPort())
        return finish(PortUnavailable, QString());
    int written = 0;
    QStringList failed;
    QString last;
    constexpr int kForever = 24 * 3600 * 1000;
    while (!m_stopped && !m_signal && (count == 0 || written + failed.size() < count) && m_port.isOpen()) {
        if (!waitFor(m_identified, kForever)) {
            if (m_stopped || !m_lineLost)
                break;
            waitForNextModule(); // a probe pulled out: it may come back
            continue;
        }
        if (!last.isEmpty() && !m_silence) { // the probe never left: the same module, unless its number says otherwise
            m_engine.BitBtnOdczytLicznikClick();
            if (!waitFor(m_shown, m_idleMs) || m_readBack.Identyfikator.text() == last) {
                QTimer pause;
                pause.setSingleShot(true);
                connect(&pause, &QTimer::timeout, &m_loop, &QEventLoop::quit);
                pause.start(1000);
                if (!m_stopped)
                    m_loop.exec();
                waitForNextModule();
                continue;
            }
        }
        m_entry.start = QDateTime::currentDateTime();
        m_clock.start();
        m_settings = fromFile;
        m_verified = false;
        m_writing = true;
        m_engine.BitBtnZapisLicznikClick();
        m_entry.fingerprint = m_engine.fingerprint(m_settings);
        const bool ok = m_exit != FileRefused && waitFor(m_verified, m_idleMs) && m_verifiedOk;
        m_writing = false;
        const QString serial = m_readBack.Identyfikator.text();
        const QString result = ok ? QStringLiteral("powodzenie")
                               : m_verified ? QStringLiteral("Niezgodność danych po weryfikacji!")
                               : m_lastMessage.isEmpty() ? QStringLiteral("moduł nie odpowiada") : m_lastMessage;
        journal(result);
        if (ok)
            writeProtocol(protocols + QLatin1Char('/') + ProtocolReport::fileName(serial, m_entry.start));
        printLine(stdout, (serial.isEmpty() ? QStringLiteral("?") : serial) + QStringLiteral("  ") +
                              (ok ? QStringLiteral("zapisany i zweryfikowany") : result));
        std::fputc('\a', stderr); // the bell: the next module, please
        std::fflush(stderr);
        if (ok)
            ++written;
        else
            failed << (serial.isEmpty() ? QStringLiteral("?") : serial);
        last = serial;
        m_silence = false;
        if (!m_stopped)
            waitForNextModule();
    }
    printLine(stdout, QStringLiteral("Zapisane i zweryfikowane: %1, nieudane: %2%3")
                          .arg(written)
                          .arg(failed.size())
                          .arg(failed.isEmpty() ? QString() : QStringLiteral(" (") + failed.join(QStringLiteral(", ")) + ')'));
    // Ctrl+C is how a batch ends: its status is the batch's.
    const QString ending = m_signal ? QStringLiteral("partia zakończona (%1)").arg(signalName(m_signal))
                                    : QStringLiteral("partia zakończona");
    m_signal = 0;
    m_stopped = false;
    return finish(failed.isEmpty() && written > 0 ? Success : LineLost, ending);
}

bool CliSession::canSave(const QString &file)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    QString reason;
    if (!folder.isDir())
        reason = QStringLiteral("folder %1 nie istnieje").arg(QDir::toNativeSeparators(folder.filePath()));
    else if (info.exists() && (!info.isFile() || !info.isWritable()))
        reason = QStringLiteral("plik nie może zostać nadpisany");
    else if (!info.exists() && !folder.isWritable())
        reason = QStringLiteral("brak prawa zapisu w folderze %1").arg(QDir::toNativeSeparators(folder.filePath()));
    if (reason.isEmpty())
        return true;
    showMessage(Message::Error, QStringLiteral("Nie można zapisać pliku %1: %2").arg(QDir::toNativeSeparators(file), reason));
    return false;
}

bool CliSession::saveRead(const QString &file)
{
    // The bytes the window's "Zapis konfiguracji do pliku" writes after this read.
    const EditorSnapshot editor = Validation::shown(m_settings, traits(false));
    if (const auto issue = Validation::firstIssue(editor, traits(false)); issue && !issue->question) {
        showMessage(Message::Warning, issue->message);
        return false;
    }
    Validation::store(editor, traits(false), m_settings);
    QString reason;
    if (!ConfigurationFile::save(file, m_settings, &reason)) {
        showMessage(Message::Error,
                    QStringLiteral("Nie można zapisać pliku %1: %2").arg(QDir::toNativeSeparators(file), reason));
        return false;
    }
    printLine(stdout, QStringLiteral("Zapisano konfigurację modułu w pliku %1.").arg(QDir::toNativeSeparators(file)));
    return true;
}

int CliSession::run(Command command, const QString &file)
{
    m_port.setComNumber(PortNaming::numberFromEntry(m_portEntry)); // for the log; opening sets it too
    // Before anything is refused: a refusal is the log's one note then.
    if (!m_logFile.isEmpty())
        m_log.open(m_logFile, portLabel());

    TUstawienie fromFile = emptyConfiguration();
    if (command == Command::Read && !canSave(file))
        return finish(FileRefused, QString());
    if (command != Command::Read && !loadFile(file, fromFile))
        return finish(FileRefused, QString());

    m_entry.start = QDateTime::currentDateTime();
    m_entry.operation = command == Command::Read    ? QStringLiteral("odczyt")
                        : command == Command::Write ? QStringLiteral("zapis")
                                                    : QString::fromUtf8("porównanie");
    m_entry.file = QFileInfo(file).fileName();
    m_clock.start();
    if (!openPort())
        return finish(PortUnavailable, QString());
    if (!waitFor(m_identified, kIdentifyTimeoutMs))
        return finish(m_exit, QString());

    if (command == Command::Write) {
        m_settings = fromFile;
        m_writing = true;
        m_engine.BitBtnZapisLicznikClick();
        m_entry.fingerprint = m_engine.fingerprint(m_settings); // as validated: what is sent
        if (m_exit == FileRefused) // refused by validation: nothing was sent
            return finish(m_exit, QString());
        if (!waitFor(m_verified, m_idleMs))
            return finish(m_exit, QString());
        if (!m_verifiedOk) {
            printLine(stdout, QStringLiteral("Niezgodność danych po weryfikacji! Różnice: ") +
                                  m_engine.differences(m_settings, m_readBack).join(QStringLiteral(", ")));
            return finish(LineLost, QStringLiteral("Niezgodność danych po weryfikacji!"));
        }
        printLine(stdout, QStringLiteral("Programowanie zakończone powodzeniem. Odcisk konfiguracji: ") +
                              m_entry.fingerprint);
        if (!m_report.isEmpty())
            writeProtocol(m_report);
        return finish(Success, QStringLiteral("Programowanie zakończone powodzeniem."));
    }

    m_engine.BitBtnOdczytLicznikClick();
    if (!waitFor(m_shown, m_idleMs))
        return finish(m_exit, QString());
    m_entry.fingerprint = m_engine.fingerprint(m_readBack);
    printLine(stdout, QStringLiteral("Odcisk konfiguracji modułu: ") + m_entry.fingerprint);
    if (command == Command::Read)
        return finish(saveRead(file) ? Success : FileRefused, QString());

    // What a write of the file would send, against what the module holds.
    Validation::store(Validation::shown(fromFile, traits(m_engine.IsLatch)), traits(m_engine.IsLatch), fromFile);
    const QStringList differences = m_engine.differences(fromFile, m_readBack);
    if (differences.isEmpty()) {
        printLine(stdout, QStringLiteral("Moduł zawiera konfigurację z pliku %1.").arg(QDir::toNativeSeparators(file)));
        return finish(Success, QStringLiteral("zgodna z plikiem"));
    }
    printLine(
        stdout,
        QStringLiteral("Moduł zawiera inną konfigurację niż plik %1. Różnice:").arg(QDir::toNativeSeparators(file)));
    for (const QString &d : differences)
        printLine(stdout, QStringLiteral("  ") + d);
    return finish(LineLost, QStringLiteral("różnice: ") + differences.join(QStringLiteral(", ")));
}
