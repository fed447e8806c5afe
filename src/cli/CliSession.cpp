#include "CliSession.h"

#include "ConfigurationFile.h"
#include "Console.h"
#include "Validation.h"

#include <QDir>

namespace {
constexpr int kIdentifyTimeoutMs = 10000;
// No progress for this long: the module has stopped answering (the window waits
// for the technician to close the port; a script cannot).
constexpr int kIdleTimeoutMs = 15000;

QString withoutStatusWord(const QString &status)
{
    return status.startsWith(QLatin1String("Status: ")) ? status.mid(8) : status;
}
} // namespace

CliSession::CliSession(const PortNaming &naming, QString portEntry, QString logFile)
    : m_port(naming), m_engine(&m_port, this), m_portEntry(std::move(portEntry)), m_logFile(std::move(logFile))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    connect(&m_engine, &LinkEngine::identified, this, [this] {
        m_identified = true;
        m_log.note(m_engine.moduleDescription());
        m_loop.quit();
    });
    connect(&m_port, &SerialPort::portClosed, &m_loop, &QEventLoop::quit);
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
    while (!done && m_port.isOpen() && m_idle.isActive())
        m_loop.exec();
    m_idle.stop();
    if (done)
        return true;
    if (m_port.isOpen()) { // no answer in time
        printLine(stdout, QStringLiteral("Błąd: moduł nie odpowiada na porcie %1.").arg(m_portEntry));
        m_lastMessage = QStringLiteral("moduł nie odpowiada");
        m_exit = ModuleRefused;
    } else if (m_exit == Success) {
        m_exit = m_identified ? LineLost : ModuleRefused; // lost, refused or never opened
    }
    return false;
}

int CliSession::finish(int exit, const QString &ending)
{
    if (m_port.isOpen())
        m_engine.BitBtnPolaczClick();
    m_log.close(ending.isEmpty() ? (m_lastMessage.isEmpty() ? QStringLiteral("bez błędów") : m_lastMessage) : ending);
    return exit;
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
    TUstawienie fromFile = emptyConfiguration();
    if (command != Command::Read) {
        QString reason;
        switch (ConfigurationFile::load(file, fromFile, &reason)) {
        case ConfigurationFile::LoadResult::CannotOpen:
            showMessage(Message::Error,
                        QStringLiteral("Nie można otworzyć pliku %1: %2").arg(QDir::toNativeSeparators(file), reason));
            return FileRefused;
        case ConfigurationFile::LoadResult::TooShort:
            showMessage(Message::Error, QStringLiteral("Nie można wczytać pliku z konfiguracją!"));
            return FileRefused;
        case ConfigurationFile::LoadResult::Loaded:
            break;
        }
    }
    m_port.setComNumber(PortNaming::numberFromEntry(m_portEntry)); // for the log; opening sets it too
    if (!m_logFile.isEmpty() &&
        m_log.open(m_logFile, m_portEntry + QStringLiteral(" (") + QDir::toNativeSeparators(m_port.devicePath()) +
                                  QLatin1Char(')')))
        m_engine.setLineObserver(&m_log);

    m_engine.BitBtnPolaczClick(); // a failed open is told as the window tells it
    if (!waitFor(m_identified, kIdentifyTimeoutMs))
        return finish(m_exit, QString());

    if (command == Command::Write) {
        m_settings = fromFile;
        m_engine.BitBtnZapisLicznikClick();
        if (m_exit == FileRefused) // refused by validation: nothing was sent
            return finish(m_exit, QString());
        if (!waitFor(m_verified, kIdleTimeoutMs))
            return finish(m_exit, QString());
        if (!m_verifiedOk) {
            printLine(stdout, QStringLiteral("Niezgodność danych po weryfikacji! Różnice: ") +
                                  m_engine.differences(m_settings, m_readBack).join(QStringLiteral(", ")));
            return finish(LineLost, QStringLiteral("Niezgodność danych po weryfikacji!"));
        }
        printLine(stdout, QStringLiteral("Programowanie zakończone powodzeniem."));
        return finish(Success, QStringLiteral("Programowanie zakończone powodzeniem."));
    }

    m_engine.BitBtnOdczytLicznikClick();
    if (!waitFor(m_shown, kIdleTimeoutMs))
        return finish(m_exit, QString());
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
