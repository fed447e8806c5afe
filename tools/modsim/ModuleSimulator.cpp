#include "ModuleSimulator.h"

#include "ConfigurationFile.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char EOT = 0x04;
// Longest request we wait for; anything longer is line noise.
constexpr int kMaxRequest = 512;
// What an FTDI chip passes on in one USB packet (64 bytes less two of status).
constexpr int kAdapterBuffer = 62;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

ModuleSimulator::ModuleSimulator(QObject *parent) : QObject(parent)
{
    m_sendTimer.setSingleShot(true);
    connect(&m_sendTimer, &QTimer::timeout, this, &ModuleSimulator::flushDue);
    m_clock.start();
}

ModuleSimulator::~ModuleSimulator()
{
    // No hungUp() from here: whoever listens may already be gone (the program's
    // own output stream, destroyed before the simulator at the end of main).
    closeLine();
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

bool ModuleSimulator::start(QString *error)
{
    // Close-on-exec: a program the test starts must not hold the module's end
    // open, or a hang-up never reaches it.
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        if (error)
            *error = systemError("posix_openpt");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    // Holding the slave open keeps the master readable while the program has the
    // port closed, and raw mode stops the line discipline echoing our answers back.
    m_slaveKeeper = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slaveKeeper < 0) {
        if (error)
            *error = systemError("open slave");
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_slaveKeeper, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ModuleSimulator::onReadable);
    return true;
}

bool ModuleSimulator::makeLink(const QString &linkPath, QString *error)
{
    QFile::remove(linkPath);
    if (!QFile::link(m_slavePath, linkPath)) {
        if (error)
            *error = QStringLiteral("cannot link %1 to %2").arg(linkPath, m_slavePath);
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void ModuleSimulator::hangUp()
{
    if (m_master < 0)
        return;
    closeLine();
    emit hungUp();
}

void ModuleSimulator::closeLine()
{
    if (m_master < 0)
        return;
    // Possibly called from the notifier's own signal: let it go later.
    m_notifier->setEnabled(false);
    m_notifier->deleteLater();
    m_notifier = nullptr;
    ::close(m_master);
    m_master = -1;
    // Without the keeper the program's end sees the hang-up at once.
    if (m_slaveKeeper >= 0) {
        ::close(m_slaveKeeper);
        m_slaveKeeper = -1;
    }
    m_out.clear();
    m_adapterHeld = 0;
    m_sendTimer.stop();
}

void ModuleSimulator::dropAnswer(const QByteArray &code, int occurrence)
{
    m_dropAt[code] = occurrence;
}

QList<QByteArray> ModuleSimulator::requestCodes() const
{
    QList<QByteArray> codes;
    for (const Frame &f : m_log) {
        if (f.received && f.bytes.size() >= 4)
            codes.append(f.bytes.mid(1, 3));
    }
    return codes;
}

void ModuleSimulator::onReadable()
{
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n > 0) {
            // Only seven bits of each character travel on the line.
            for (ssize_t i = 0; i < n; ++i)
                m_in.append(static_cast<char>(chunk[i] & 0x7F));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN, or EIO while nobody has the slave open
    }
    parseInput();
}

void ModuleSimulator::parseInput()
{
    for (;;) {
        const qsizetype soh = m_in.indexOf(SOH);
        if (soh < 0) {
            m_in.clear();
            return;
        }
        m_in.remove(0, soh);
        if (m_in.size() < 6)
            return;
        if (m_in.at(4) != STX) {
            m_in.remove(0, 1);
            continue;
        }
        const QByteArray code = m_in.mid(1, 3);
        if (m_in.at(5) == EOT) {
            const QByteArray frame = m_in.left(6);
            m_in.remove(0, 6);
            handleRequest(frame, code, false, {});
            continue;
        }
        if (m_in.at(5) != '[') {
            m_in.remove(0, 1);
            continue;
        }
        const qsizetype end = m_in.indexOf(QByteArray("]") + EOT, 6);
        if (end < 0) {
            if (m_in.size() > kMaxRequest)
                m_in.remove(0, 1);
            else
                return;
            continue;
        }
        const QByteArray frame = m_in.left(end + 2);
        const QByteArray payload = m_in.mid(6, end - 6);
        m_in.remove(0, end + 2);
        handleRequest(frame, code, true, payload);
    }
}

void ModuleSimulator::handleRequest(const QByteArray &frame, const QByteArray &code, bool isWrite,
                                    const QByteArray &payload)
{
    const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    // Paced, a request has arrived only once its last byte would have crossed the line.
    const double arrived = m_baud > 0 ? std::max(now, m_inboundFreeMs) + frame.size() * 10000.0 / m_baud : now;
    m_inboundFreeMs = arrived;
    // Half-duplex: while bytes of the module's are still to go out, what the program sends is lost.
    // Bytes an adapter still holds have left the line already.
    const bool lost = m_halfDuplex && (m_adapterLatencyMs > 0 ? now < m_lastDueMs : !m_out.isEmpty());
    m_log.append({true, frame, arrived, lost});
    ++m_requests;
    const int seen = ++m_seen[code];
    emit requestReceived(code);
    if (lost)
        return;
    if (m_hangUpAfter >= 0 && m_requests > m_hangUpAfter) {
        hangUp();
        return;
    }
    if (m_silentAfter >= 0 && m_requests > m_silentAfter)
        return;
    if (m_echo)
        schedule(frame, false, arrived);
    if (m_dropAt.value(code, 0) == seen)
        return;
    QByteArray answer = m_model.answer(code, isWrite, payload);
    if (code == m_answerWithPrevious && !m_lastAnswer.isEmpty())
        answer = m_lastAnswer;
    if (answer.isEmpty())
        return;
    m_lastAnswer = answer;
    if (isWrite && !m_saveFile.isEmpty()) {
        QString error;
        if (!ConfigurationFile::save(m_saveFile, m_model.configuration(), &error))
            qWarning("modsim: cannot save %s: %s", qPrintable(m_saveFile), qPrintable(error));
    }
    if (!m_noise.isEmpty())
        schedule(m_noise, false, arrived);
    schedule(answer, true, arrived);
    emit answered(code);
}

int ModuleSimulator::lostRequests() const
{
    return static_cast<int>(std::count_if(m_log.cbegin(), m_log.cend(), [](const Frame &f) { return f.lost; }));
}

void ModuleSimulator::schedule(const QByteArray &bytes, bool isAnswer, double notBeforeMs)
{
    if (m_master < 0 || bytes.isEmpty())
        return;
    const qsizetype logged = m_log.size();
    m_log.append({false, bytes});
    const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    double at = std::max({now, notBeforeMs + (isAnswer ? m_latencyMs : 0), m_lastDueMs});
    const double charMs = m_baud > 0 ? 10000.0 / m_baud : 0.0;
    const int piece = (isAnswer && m_pieceSize > 0) ? m_pieceSize : static_cast<int>(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); i += piece) {
        if (i > 0)
            at += m_pieceGapMs;
        const QByteArray part = bytes.mid(i, piece);
        if (charMs > 0) {
            // Paced: one character every 10 bit times.
            for (char c : part) {
                at += charMs;
                queueOut(at, QByteArray(1, c));
            }
        } else {
            queueOut(at, part);
        }
    }
    m_lastDueMs = at;
    m_log[logged].ms = at;
    armTimer();
}

void ModuleSimulator::queueOut(double atMs, const QByteArray &bytes)
{
    if (m_adapterLatencyMs <= 0) {
        m_out.append({atMs, bytes});
        return;
    }
    for (char c : bytes) {
        if (m_adapterHeld > 0 && atMs >= m_adapterDueMs)
            m_adapterHeld = 0; // the timer ran out before this byte came
        if (m_adapterHeld == 0)
            m_adapterDueMs = atMs + m_adapterLatencyMs;
        m_out.append({m_adapterDueMs, QByteArray(1, c)});
        if (++m_adapterHeld == kAdapterBuffer) {
            // Full: everything it holds (the newest entries, all due at the timer) goes now.
            const double due = m_adapterDueMs;
            for (auto it = m_out.rbegin(); it != m_out.rend() && it->dueMs == due; ++it)
                it->dueMs = atMs;
            m_adapterHeld = 0;
        }
    }
}

void ModuleSimulator::armTimer()
{
    if (m_out.isEmpty())
        return;
    const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    const int wait = std::max(0, static_cast<int>(std::ceil(m_out.front().dueMs - now)));
    m_sendTimer.start(wait);
}

void ModuleSimulator::flushDue()
{
    const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    QByteArray burst;
    while (!m_out.isEmpty() && m_out.front().dueMs <= now + 0.5)
        burst += m_out.takeFirst().bytes;
    while (!burst.isEmpty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, burst.constData(), static_cast<size_t>(burst.size()));
        if (n > 0) {
            burst.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // The pty is full: put the rest back at the head and try again shortly.
            m_out.prepend({now + 5, burst});
            break;
        }
    }
    armTimer();
}
