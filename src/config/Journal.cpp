#include "Journal.h"

#include "ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLocale>
#include <QStandardPaths>
#include <QSysInfo>

Journal::Journal(QString path) : m_path(std::move(path)) {}

QString Journal::pathFor(const QString &settingsFile)
{
    ProfileFile ini(settingsFile);
    if (ini.load()) {
        const QString named = ini.readString(QStringLiteral("MAIN"), QStringLiteral("Journal"));
        if (!named.isEmpty())
            return QDir::fromNativeSeparators(named);
    }
    // The window's data folder, whichever program asks (veskor-cli has a name of its own).
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Veskor/dziennik.csv");
}

QString Journal::userName()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QDir::home().dirName() : user;
}

QStringList Journal::header()
{
    return {QStringLiteral("Data i czas"), QStringLiteral("Program"), QStringLiteral("Komputer"),
            QStringLiteral("Użytkownik"),  QStringLiteral("Port"),    QStringLiteral("Numer seryjny"),
            QStringLiteral("Moduł"),       QStringLiteral("Operacja"), QStringLiteral("Plik"),
            QStringLiteral("Odcisk konfiguracji"), QStringLiteral("Wynik"), QStringLiteral("Czas [s]")};
}

QStringList Journal::Entry::fields() const
{
    // Local time with its offset, so rows from another time zone or across the clock change sort right.
    const QDateTime local = start.toLocalTime();
    return {local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate),
            program,
            QSysInfo::machineHostName(),
            userName(),
            port,
            serial,
            module,
            operation,
            file,
            fingerprint,
            result,
            QLocale(QLocale::Polish).toString(seconds, 'f', 1)};
}

QByteArray Journal::csvRow(const QStringList &fields)
{
    QStringList out;
    for (const QString &f : fields) {
        if (f.contains(QLatin1Char(';')) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n')) ||
            f.contains(QLatin1Char('\r')))
            out << QLatin1Char('"') + QString(f).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        else
            out << f;
    }
    return out.join(QLatin1Char(';')).toUtf8() + "\r\n";
}

bool Journal::append(const Entry &entry)
{
    m_pending << csvRow(entry.fields());
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Another program may be appending: wait for it rather than interleave.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(10000)) {
        m_error = QStringLiteral("dziennik %1 jest zajęty").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    QFile file(m_path);
    if (QFileInfo(m_path).exists() && !QFileInfo(m_path).isFile()) {
        m_error = QStringLiteral("%1 nie jest zwykłym plikiem").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    QByteArray bytes = before == 0 ? "\xef\xbb\xbf" + csvRow(header()) : QByteArray();
    for (const QByteArray &row : m_pending)
        bytes += row;
    // One write: a reader never sees half a row of ours.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        m_error = file.errorString();
        file.resize(before); // no half row: the rows are kept for the next time
        return false;
    }
    m_pending.clear();
    m_error.clear();
    return true;
}
