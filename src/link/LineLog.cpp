#include "LineLog.h"

#include "Frames.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {
// Requests and answers that carry the access code, the PIN or the meter password.
bool isSecret(const QByteArray &code)
{
    return code == "S10" || code == "G10" || code == "S20" || code == "G20" || code == "S90" || code == "G90";
}
} // namespace

LineLog::~LineLog()
{
    if (m_file.isOpen())
        close(QStringLiteral("dziennik zamknięty przed końcem sesji"));
}

bool LineLog::open(const QString &path, const QString &port)
{
    m_file.close();
    m_file.setFileName(path);
    m_sent = {};
    m_received = {};
    m_pending.clear();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "veskor: nie można zapisać dziennika linii %s: %s\n", qPrintable(path),
                     qPrintable(m_file.errorString()));
        return false;
    }
    // Before the first line. On Windows this only clears the read-only flag; the
    // user's folders are private there. A folder that keeps no modes (FAT) is no reason to lose the log.
    m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_clock.start();
    m_file.write(QStringLiteral("Veskor %1, dziennik linii\nport: %2\nstart: %3\n")
                     .arg(QStringLiteral(VESKOR_VERSION), port,
                          QDateTime::currentDateTime().toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                              .toString(Qt::ISODateWithMs))
                     .toUtf8());
    m_file.flush();
    return true;
}

bool LineLog::openInFolder(const QString &folder, const QString &port)
{
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const bool opened =
        open(folder + QLatin1Char('/') + sessionFileName(QDateTime::currentDateTimeUtc()), port);
    keepNewest(folder, kKept);
    return opened;
}

QString LineLog::sessionFileName(const QDateTime &utc)
{
    return utc.toUTC().toString(QStringLiteral("'veskor-'yyyyMMdd-HHmmss-zzz'.log'"));
}

void LineLog::write(const char *direction, const QString &text)
{
    if (!m_file.isOpen())
        return;
    m_file.write(QStringLiteral("%1 %2 %3\n")
                     .arg(double(m_clock.nsecsElapsed()) / 1e6, 10, 'f', 1)
                     .arg(QLatin1String(direction), text)
                     .toUtf8());
    m_file.flush(); // a log is for when things go wrong: it must survive them
}

void LineLog::sent(const QByteArray &frame)
{
    flushReceived();
    write("->", printable(m_sent.mask(frame) + m_sent.drain()));
}

void LineLog::received(const QByteArray &bytes)
{
    m_pending += m_received.mask(bytes);
    // An answer ends with ")" EOT; an acknowledgement is one byte.
    for (;;) {
        qsizetype end = m_pending.indexOf(QByteArray(")") + Frames::EOT);
        end = end < 0 ? -1 : end + 2;
        for (const char single : {Frames::ACK, char(0x15)}) {
            const qsizetype at = m_pending.indexOf(single);
            if (at >= 0 && (end < 0 || at + 1 < end))
                end = at + 1;
        }
        if (end < 0)
            return;
        write("<-", printable(m_pending.left(end)));
        m_pending.remove(0, end);
    }
}

void LineLog::flushReceived()
{
    m_pending += m_received.drain();
    if (!m_pending.isEmpty())
        write("<-", printable(m_pending));
    m_pending.clear();
}

void LineLog::note(const QString &text)
{
    flushReceived();
    write("--", text);
}

void LineLog::close(const QString &ending)
{
    if (!m_file.isOpen())
        return;
    note(QStringLiteral("koniec: %1").arg(ending));
    m_file.close();
}

QByteArray LineLog::Masker::mask(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 1);
    for (const char c : bytes) {
        if (state == 3) {
            if (held) {
                out += c == Frames::EOT ? held : '*';
                held = 0;
            }
            if (c == Frames::EOT) {
                state = 0;
                out += c;
            } else if (c == ')' || c == ']') {
                held = c;
            } else {
                out += '*';
            }
            continue;
        }
        out += c;
        if (c == Frames::SOH) {
            state = 1;
            code.clear();
        } else if (state == 1) {
            if (c == Frames::STX)
                state = 2;
            else if (code.size() < 4) // longer is no code of ours
                code += c;
        } else if (state == 2) {
            state = ((c == '(' || c == '[') && isSecret(code)) ? 3 : 0;
        }
    }
    return out;
}

QByteArray LineLog::Masker::drain()
{
    if (!held)
        return {};
    held = 0;
    return "*";
}

QString LineLog::printable(const QByteArray &bytes)
{
    QString out;
    for (const char c : bytes) {
        switch (c) {
        case Frames::SOH:
            out += QLatin1String("<SOH>");
            break;
        case Frames::STX:
            out += QLatin1String("<STX>");
            break;
        case Frames::EOT:
            out += QLatin1String("<EOT>");
            break;
        case Frames::ACK:
            out += QLatin1String("<ACK>");
            break;
        default:
            if (c >= 0x20 && c < 0x7F)
                out += QLatin1Char(c);
            else
                out += QStringLiteral("<%1>").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

void LineLog::keepNewest(const QString &folder, int keep)
{
    QDir dir(folder);
    static const QRegularExpression own(QStringLiteral("^veskor-\\d{8}-\\d{6}-\\d{3}\\.log$"));
    // Newest first by name: the names are the sessions' start times in UTC.
    const QStringList logs = dir.entryList({QStringLiteral("veskor-*.log")}, QDir::Files, QDir::Name | QDir::Reversed)
                                 .filter(own);
    for (qsizetype i = keep; i < logs.size(); ++i)
        dir.remove(logs.at(i));
}
