#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What went into which module, when, by whom, and whether it verified: one row
// a session in a CSV file a Polish spreadsheet opens by double-click (UTF-8 with
// a byte-order mark, ";" between fields, CRLF, quotes as RFC 4180 has them).
// Rows are appended whole under a lock, so the window and several veskor-cli runs
// may write at once; a row that cannot be written is kept for the next append.
class Journal {
public:
    // One session on a module. No secret belongs here.
    struct Entry {
        QDateTime start;
        QString program; // "Veskor 02.01", "veskor-cli 02.01"
        QString port;
        QString serial;
        QString module;
        QString operation; // "odczyt", "zapis", "porównanie"
        QString file;
        QString fingerprint;
        QString result; // "powodzenie" or the error's own text
        double seconds = 0;
        QStringList fields() const;
    };

    explicit Journal(QString path);
    // [MAIN] Journal= of the settings file, else dziennik.csv in the user's data folder.
    static QString pathFor(const QString &settingsFile);

    // False when the journal could not be written (errorString() says why); the row
    // is then kept and goes with the next append that succeeds.
    bool append(const Entry &entry);
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    static QByteArray csvRow(const QStringList &fields);
    // Who is logged in, as the system names them.
    static QString userName();
    static QStringList header();

private:
    QString m_path;
    QList<QByteArray> m_pending;
    QString m_error;
};
