#include "ProfileFile.h"

#include "IntegerText.h"
#include "Windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QByteArray kUtf16Mark = "\xff\xfe";
const QByteArray kUtf8Mark = "\xef\xbb\xbf";

// "[name]" gives name; anything else an empty string.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || t.front() != QLatin1Char('['))
        return {};
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char(';'));
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

bool ProfileFile::isUsable()
{
    const QFileInfo info(m_path);
    if (!info.exists() || info.isFile())
        return true;
    m_error = QStringLiteral("to nie jest zwykły plik");
    return false;
}

bool ProfileFile::load()
{
    m_lines.clear();
    m_error.clear();
    QFile file(m_path);
    if (!isUsable())
        return false;
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    parse(file.readAll());
    return true;
}

void ProfileFile::parse(const QByteArray &bytes)
{
    m_lines.clear();
    m_oddByte.clear();
    QString all;
    if (bytes.startsWith(kUtf16Mark)) {
        m_encoding = Encoding::Utf16LE;
        QByteArray text = bytes.mid(kUtf16Mark.size());
        if (text.size() % 2) {
            m_oddByte = text.right(1);
            text.chop(1);
        }
        // A second mark after ours is the file's own text: kept, not skipped.
        all = QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom)(text);
    } else if (bytes.startsWith(kUtf8Mark)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        all = utf8(bytes.mid(kUtf8Mark.size()));
        m_encoding = Encoding::Utf8;
        // A comment saved in code page 1250 behind the mark, or a sequence cut off at
        // the end (which the decoder would only wait for): not UTF-8.
        if (utf8.hasError() || all.toUtf8() != bytes.mid(kUtf8Mark.size())) {
            m_encoding = Encoding::MarkedWindows1250;
            all = Windows1250::decode(bytes.mid(kUtf8Mark.size()));
        }
    } else {
        m_encoding = Encoding::Windows1250;
        all = Windows1250::decode(bytes);
    }
    qsizetype start = 0;
    while (start < all.size()) {
        const qsizetype nl = all.indexOf(QLatin1Char('\n'), start);
        Line line;
        if (nl < 0) {
            line.text = all.mid(start);
            start = all.size();
        } else {
            line.text = all.mid(start, nl - start);
            line.ending = QStringLiteral("\n");
            if (line.text.endsWith(QLatin1Char('\r'))) {
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
    QString all;
    for (const Line &l : m_lines)
        all += l.text + l.ending;
    switch (m_encoding) {
    case Encoding::Utf16LE:
        return kUtf16Mark + QStringEncoder(QStringConverter::Utf16LE)(all) + m_oddByte;
    case Encoding::Utf8:
        return kUtf8Mark + all.toUtf8();
    case Encoding::MarkedWindows1250:
        return kUtf8Mark + Windows1250::encode(all);
    case Encoding::Windows1250:
        break;
    }
    return Windows1250::encode(all);
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
        const QString &t = m_lines[i].text;
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && !isComment(t) && sameName(t.left(eq).trimmed(), key))
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
        const QString &t = m_lines[i].text;
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && !isComment(t))
            out.append(t.left(eq).trimmed());
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
    const QString &t = m_lines[i].text;
    QString value = t.mid(t.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool ProfileFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    if (!contains(section, key))
        return defaultValue;
    const QString text = readString(section, key);
    if (const auto n = IntegerText::lenient(text))
        return *n != 0;
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

void ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString line = key + QLatin1Char('=') + value;
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
        m_lines.insert(at++, {QLatin1Char('[') + section + QLatin1Char(']'), kCrLf});
    m_lines.insert(at, {line, kCrLf});
}

bool ProfileFile::save()
{
    if (!isUsable())
        return false;
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
