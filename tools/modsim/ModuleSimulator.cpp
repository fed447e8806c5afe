#include "ModuleSimulator.h"

#include "ConfigurationFile.h"
#include "PayloadCodec.h"

#include <QFile>
#include <QSocketNotifier>

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
constexpr char ACK = 0x06;
// Longest request we wait for; anything longer is line noise.
constexpr int kMaxRequest = 512;

QByteArray readAnswer(const QByteArray &code, const QByteArray &payload)
{
    return SOH + code + STX + '(' + payload + ')' + EOT;
}

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
    loadSampleRegisters();
}

ModuleSimulator::~ModuleSimulator()
{
    hangUp();
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

bool ModuleSimulator::start(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        if (error)
            *error = systemError("posix_openpt");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    // Holding the slave open keeps the master readable while the program has the
    // port closed, and raw mode stops the line discipline echoing our answers back.
    m_slaveKeeper = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
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
    m_sendTimer.stop();
    emit hungUp();
}

void ModuleSimulator::setIdentity(Family family, const QByteArray &versionText)
{
    m_family = family;
    m_version = versionText;
    m_identOverride.clear();
}

void ModuleSimulator::setIdentificationPayload(const QByteArray &payload)
{
    m_identOverride = payload;
}

QByteArray ModuleSimulator::identificationPayload() const
{
    if (!m_identOverride.isEmpty())
        return m_identOverride;
    // The fixed-width model field sits between the family prefix and the version.
    switch (m_family) {
    case Family::MKV:
        return "MKV-3/G" + m_version + " GSM/GPRS";
    case Family::RW5GSM:
        return "RW-5/GSM-v" + m_version + " modem";
    case Family::RW5SMS:
        return "RW-5/SMS-v" + m_version + " modem";
    }
    return {};
}

int ModuleSimulator::maxNumbers() const
{
    return m_family == Family::MKV ? 16 : 8;
}

bool ModuleSimulator::hasExtendedBook() const
{
    if (m_family != Family::MKV)
        return true;
    QByteArray v = m_version;
    if (v.endsWith('l'))
        v.chop(1);
    return !(v < QByteArray("02.00"));
}

void ModuleSimulator::loadSampleRegisters()
{
    m_registers.clear();
    m_registers["G00"] = "40012345";
    m_registers["G10"] = "7315";
    m_registers["G20"] = "1234";
    m_registers["G30"] = "+48601000310";
    m_registers["G40"] = "AT+CMGF=1";
    m_registers["G41"] = "AT+CNMI=2,1,0,0,0";
    m_registers["G42"] = "AT+CSCS=\"GSM\"";
    m_registers["G43"] = "";
    m_registers["G70"] = "05,0730";
    m_registers["G80"] = "1";
    m_registers["G90"] = "licznik   ";
    m_registers["GA0"] = "0";
    for (int i = 0; i < 16; ++i)
        m_registers["G6" + QByteArray::number(i, 16).toUpper()] = "";
    m_registers["G60"] = "+48601234567,CSL";
    m_registers["G61"] = "+48502765432,S";
}

void ModuleSimulator::loadConfiguration(const TUstawienie &config)
{
    using namespace PayloadCodec;
    m_registers["G00"] = config.Identyfikator.bytes();
    m_registers["G10"] = accessCode(config);
    m_registers["G20"] = pin(config);
    m_registers["G30"] = centrum(config);
    for (int n = 1; n <= 4; ++n)
        m_registers["G4" + QByteArray::number(n - 1)] = config.Modem[n - 1].bytes();
    m_registers["G70"] = scheduleTime(config);
    m_registers["G80"] = scheduleOn(config);
    m_registers["G90"] = meterPassword(config);
    m_registers["GA0"] = allNumbers(config);
    for (int entry = 1; entry <= 16; ++entry)
        m_registers[QByteArray("G6") + bookIndexDigit(entry)] = bookEntry(config, entry, hasExtendedBook());
}

TUstawienie ModuleSimulator::configuration() const
{
    using namespace PayloadCodec;
    TUstawienie config = emptyConfiguration();
    decodeIdentyfikator(reg("G00"), config);
    decodeAccessCode(reg("G10"), config);
    decodePin(reg("G20"), config);
    decodeCentrum(reg("G30"), config);
    for (int n = 1; n <= 4; ++n)
        decodeModem(reg("G4" + QByteArray::number(n - 1)), n, config);
    decodeMeterPassword(reg("G90"), config);
    if (decodeScheduleOn(reg("G80"), config))
        decodeScheduleTime(reg("G70"), config);
    if (hasExtendedBook())
        decodeAllNumbers(reg("GA0"), config);
    for (int entry = 1; entry <= maxNumbers(); ++entry)
        decodeBookEntry(reg(QByteArray("G6") + bookIndexDigit(entry)), entry, hasExtendedBook(), config);
    return config;
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
    m_log.append({true, frame});
    ++m_requests;
    const int seen = ++m_seen[code];
    emit requestReceived(code);
    if (m_hangUpAfter >= 0 && m_requests > m_hangUpAfter) {
        hangUp();
        return;
    }
    if (m_silentAfter >= 0 && m_requests > m_silentAfter)
        return;
    if (m_echo)
        schedule(frame, false);
    if (m_dropAt.value(code, 0) == seen)
        return;
    const QByteArray answer = answerFor(code, isWrite, payload);
    if (answer.isEmpty())
        return;
    if (!m_noise.isEmpty())
        schedule(m_noise, false);
    schedule(answer, true);
    emit answered(code);
}

QByteArray ModuleSimulator::answerFor(const QByteArray &code, bool isWrite, const QByteArray &payload)
{
    const char reg = code.at(1);
    const bool isBook = reg == '6';
    if (isBook) {
        bool ok = false;
        const int index = QByteArray(1, code.at(2)).toInt(&ok, 16);
        if (!ok || index >= maxNumbers())
            return {};
    }
    if ((reg == 'A') && !hasExtendedBook())
        return {};
    if (!isWrite) {
        if (code.at(0) != 'G')
            return {};
        if (code == "GE0")
            return readAnswer(code, identificationPayload());
        const auto it = m_registers.constFind(code);
        return it == m_registers.cend() ? QByteArray() : readAnswer(code, it.value());
    }
    // Writable registers only: never the serial number, the modem strings or identification.
    static const QByteArray writable = "12356789A";
    if (code.at(0) != 'S' || !writable.contains(reg))
        return {};
    QByteArray stored = payload;
    if (code == m_storeDifferently)
        stored = stored.isEmpty() ? QByteArray("X") : stored.left(stored.size() - 1) + (stored.endsWith('X') ? 'Y' : 'X');
    QByteArray readCode = code;
    readCode[0] = 'G';
    m_registers[readCode] = stored;
    if (!m_saveFile.isEmpty()) {
        QString error;
        if (!ConfigurationFile::save(m_saveFile, configuration(), &error))
            qWarning("modsim: cannot save %s: %s", qPrintable(m_saveFile), qPrintable(error));
    }
    return QByteArray(1, ACK);
}

void ModuleSimulator::schedule(const QByteArray &bytes, bool isAnswer)
{
    if (m_master < 0 || bytes.isEmpty())
        return;
    m_log.append({false, bytes});
    const double now = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
    double at = std::max(now + (isAnswer ? m_latencyMs : 0), m_lastDueMs);
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
                m_out.append({at, QByteArray(1, c)});
            }
        } else {
            m_out.append({at, part});
        }
    }
    m_lastDueMs = at;
    armTimer();
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
