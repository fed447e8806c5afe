#include "ProtocolReport.h"

#include "ProfileFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace {
QString cell(const QString &text)
{
    return text.toHtmlEscaped();
}

QString row(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><td width=\"38%\">%1</td><td><b>%2</b></td></tr>").arg(cell(name), cell(value));
}

QString secret(bool set)
{
    return set ? QStringLiteral("ustawiony") : QStringLiteral("brak");
}

QString schedule(const TUstawienie &u)
{
    const QString at = QStringLiteral("%1:%2").arg(u.Harmonogram_godzina, 2, 10, QLatin1Char('0'))
                           .arg(u.Harmonogram_minuta, 2, 10, QLatin1Char('0'));
    switch (u.Harmonogram_rodzaj) {
    case 1:
        return QStringLiteral("co miesiąc, dnia %1, o %2").arg(u.Harmonogram_dzien).arg(at);
    case 2:
        return QStringLiteral("codziennie o %1").arg(at);
    default:
        return QStringLiteral("wyłączony");
    }
}
} // namespace

namespace ProtocolReport {

QString html(const Content &c)
{
    const TUstawienie &u = c.written;
    QString out = QStringLiteral("<h2>Protokół konfiguracji modułu</h2><table cellpadding=\"3\">");
    out += row(QStringLiteral("Numer seryjny modułu"), c.entry.serial);
    out += row(QStringLiteral("Moduł (rodzina i wersja)"), c.entry.module);
    out += row(QStringLiteral("Data i czas"), c.entry.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    out += row(QStringLiteral("Technik"), c.technician);
    out += row(QStringLiteral("Komputer"), c.computer);
    out += row(QStringLiteral("Plik konfiguracji"), c.entry.file.isEmpty() ? QStringLiteral("—") : c.entry.file);
    out += row(QStringLiteral("Odcisk konfiguracji"), c.entry.fingerprint);
    out += QStringLiteral("</table><h3>Zapisana konfiguracja</h3><table cellpadding=\"3\">");
    out += row(QStringLiteral("Centrum SMS"), u.Centrum.text());
    out += row(QStringLiteral("Harmonogram"), schedule(u));
    out += row(QStringLiteral("PIN"), secret(u.Pin.size() > 0));
    if (c.traits.sendsPassword) {
        out += row(QStringLiteral("Kod autoryzacyjny"), secret(u.AccessCode.size() > 0));
        out += row(QStringLiteral("Hasło do licznika"), secret(!u.MeterPassword.bytes().trimmed().isEmpty()));
    }
    out += QStringLiteral("</table><h3>Książka telefoniczna</h3><table cellpadding=\"3\">"
                          "<tr><td>Nr</td><td>Numer</td><td>Prawa</td></tr>");
    for (int i = 0; i < qBound(0, c.traits.maxNumbers, 16); ++i) {
        if (u.Telefony[i].size() == 0)
            continue;
        QString rights;
        rights += u.S[i] ? QStringLiteral("S ") : QString();
        rights += u.C[i] ? QStringLiteral("C ") : QString();
        rights += c.traits.extendedBook && u.L[i] ? QStringLiteral("L") : QString();
        out += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                   .arg(i + 1)
                   .arg(cell(u.Telefony[i].text()), cell(rights.trimmed()));
    }
    out += QStringLiteral("</table>");
    if (c.traits.extendedBook)
        out += QStringLiteral("<p>Wyślij SMS na dowolny numer: <b>%1</b></p>").arg(u.AllNumbers ? "tak" : "nie");
    out += QStringLiteral("<h3>Wynik weryfikacji</h3><p><b>%1</b></p>")
               .arg(c.verified ? QStringLiteral("Zapis zweryfikowany: moduł zawiera zapisaną konfigurację.")
                               : cell(c.entry.result));
    return out;
}

bool write(const QString &path, const Content &content, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    pdf.setTitle(QStringLiteral("Protokół konfiguracji modułu %1").arg(content.entry.serial));
    pdf.setCreator(QStringLiteral("Veskor " VESKOR_VERSION));
    QTextDocument document;
    // A font with Polish letters, embedded by the writer.
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setHtml(html(content));
    document.print(&pdf);
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() == 0) {
        *error = QStringLiteral("nie można zapisać pliku %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

QString folderBeside(const QString &configurations)
{
    return QFileInfo(configurations).absolutePath() + QStringLiteral("/Protokoły");
}

QString fileName(const QString &serial, const QDateTime &time)
{
    return QStringLiteral("%1-%2.pdf").arg(serial.isEmpty() ? QStringLiteral("modul") : serial,
                                           time.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString technician(const QString &settingsFile)
{
    ProfileFile ini(settingsFile);
    if (ini.load()) {
        QString named = ini.readString(QStringLiteral("MAIN"), QStringLiteral("Technik"));
        if (!named.isEmpty())
            return named;
    }
    return Journal::userName();
}

} // namespace ProtocolReport
