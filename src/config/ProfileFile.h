#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A settings file read and written the way the Windows profile functions do it:
// section and key names match without regard to case, one pair of enclosing
// quotes is stripped on reading, nothing is escaped, and a write replaces only the
// line of its key (or adds one to its section) keeping every other byte as it was.
class ProfileFile {
public:
    explicit ProfileFile(QString path);

    // Reads the file; a missing file reads as empty. False (with errorString())
    // only when the file exists but cannot be read.
    bool load();
    // The same from bytes in memory, and the bytes save() would write.
    void parse(const QByteArray &bytes);
    QByteArray toBytes() const;
    bool exists() const;

    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;
    bool contains(const QString &section, const QString &key) const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    // A Boolean as the profile functions read one: a number (nonzero is true), or
    // the words True and False in any case; anything else gives the default.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    // Writes the whole file atomically, creating its folder when missing; the old
    // file stays intact when this fails. A file whose folder refuses new files is
    // written in place.
    bool save();

    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

private:
    struct Line {
        QString text;   // without its line end
        QString ending; // "\r\n", "\n" or "" for a last line without one
    };
    // How the file was written: code page 1250 (as the profile functions write it,
    // and every new file), or Notepad's "Unicode" and "UTF-8 with BOM". A UTF-8
    // mark before text that is not UTF-8 is kept, the text read as code page 1250.
    enum class Encoding { Windows1250, Utf16LE, Utf8, MarkedWindows1250 };
    // Refuses anything but a regular file: a FIFO or a device would hang us.
    bool isUsable();
    int sectionLine(const QString &section) const;
    int sectionEnd(int header) const;
    int keyLine(const QString &section, const QString &key) const;

    QString m_path;
    QList<Line> m_lines;
    Encoding m_encoding = Encoding::Windows1250;
    QByteArray m_oddByte; // the last byte of a UTF-16 file of odd length, kept as it was
    QString m_error;
};
