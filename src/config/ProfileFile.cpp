#include "ProfileFile.h"

#include "Windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QByteArray kCrLf = "\r\n";

QString text(const QByteArray &bytes)
{
    return Windows1250::decode(bytes).trimmed();
}

// "[name]" gives name; anything else an empty string.
QString sectionName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.size() < 2 || t.front() != '[')
        return {};
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return {};
    return text(t.mid(1, close - 1));
}

bool isComment(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith(';');
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

bool ProfileFile::exists() const
{
    return QFile::exists(m_path);
}

bool ProfileFile::load()
{
    m_lines.clear();
    m_error.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    parse(file.readAll());
    return true;
}

void ProfileFile::parse(const QByteArray &all)
{
    m_lines.clear();
    qsizetype start = 0;
    while (start < all.size()) {
        const qsizetype nl = all.indexOf('\n', start);
        Line line;
        if (nl < 0) {
            line.text = all.mid(start);
            start = all.size();
        } else {
            line.text = all.mid(start, nl - start);
            line.ending = "\n";
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.ending = kCrLf;
            }
            start = nl + 1;
        }
        m_lines.append(line);
    }
}

QByteArray ProfileFile::toBytes() const
{
    QByteArray out;
    for (const Line &l : m_lines)
        out += l.text + l.ending;
    return out;
}

int ProfileFile::sectionLine(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (sameName(sectionName(m_lines[i].text), section))
            return i;
    }
    return -1;
}

int ProfileFile::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < m_lines.size() && sectionName(m_lines[i].text).isEmpty())
        ++i;
    return i;
}

int ProfileFile::keyLine(const QString &section, const QString &key) const
{
    const int header = sectionLine(section);
    if (header < 0)
        return -1;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QByteArray &t = m_lines[i].text;
        const qsizetype eq = t.indexOf('=');
        if (eq > 0 && !isComment(t) && sameName(text(t.left(eq)), key))
            return i;
    }
    return -1;
}

bool ProfileFile::hasSection(const QString &section) const
{
    return sectionLine(section) >= 0;
}

QStringList ProfileFile::keys(const QString &section) const
{
    QStringList out;
    const int header = sectionLine(section);
    if (header < 0)
        return out;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QByteArray &t = m_lines[i].text;
        const qsizetype eq = t.indexOf('=');
        if (eq > 0 && !isComment(t))
            out.append(text(t.left(eq)));
    }
    return out;
}

bool ProfileFile::contains(const QString &section, const QString &key) const
{
    return keyLine(section, key) >= 0;
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int i = keyLine(section, key);
    if (i < 0)
        return defaultValue;
    const QByteArray &t = m_lines[i].text;
    QString value = text(t.mid(t.indexOf('=') + 1));
    if (value.size() >= 2 && (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

void ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QByteArray line = Windows1250::encode(key) + '=' + Windows1250::encode(value);
    const int existing = keyLine(section, key);
    if (existing >= 0) {
        m_lines[existing].text = line; // its line end stays as it was
        return;
    }
    const int header = sectionLine(section);
    int at = m_lines.size();
    if (header >= 0) {
        // After the section's last non-blank line, so blank separators stay between sections.
        at = sectionEnd(header);
        while (at > header + 1 && m_lines[at - 1].text.trimmed().isEmpty())
            --at;
    }
    // A last line without its end would otherwise run into ours.
    if (at == m_lines.size() && !m_lines.isEmpty() && m_lines.back().ending.isEmpty())
        m_lines.back().ending = kCrLf;
    if (header < 0)
        m_lines.insert(at++, {"[" + Windows1250::encode(section) + "]", kCrLf});
    m_lines.insert(at, {line, kCrLf});
}

bool ProfileFile::save()
{
    // The folder may be new (a first start); a failure shows in the open below.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    // A writable file in a folder that takes no new files (a shared program
    // folder, say) is written in place: not atomic, but the settings are kept.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    if (file.write(toBytes()) < 0 || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}
