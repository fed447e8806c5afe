#include "CliArguments.h"

#include "PortNaming.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

quint16 CliArguments::portNumber(const QString &text)
{
    // No leading zero: the number read back must be the one typed.
    static const QRegularExpression com(QStringLiteral("^COM ?([1-9][0-9]{0,4})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(text);
    const uint n = m.hasMatch() ? m.captured(1).toUInt() : 0;
    return n <= 65535 ? quint16(n) : 0;
}

bool CliArguments::isDevicePath(const QString &text)
{
    return PortNaming::acceptsDevicePaths() && text.startsWith(QLatin1Char('/')) && text.size() > 1 &&
           !text.contains(QLatin1Char('\0'));
}

namespace {
bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) // a link or another spelling of one file
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}
} // namespace

bool CliArguments::wantsDrawing(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        for (const char *name : {"report", "batch"}) {
            const QByteArray option = QByteArray("-") + name;
            if (a == option || a == '-' + option || a.startsWith(option + '=') || a.startsWith('-' + option + '='))
                return true;
        }
    }
    return false;
}

CliArguments CliArguments::parse(const QStringList &arguments)
{
    CliArguments out;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Veskor v. %1 z wiersza poleceń: odczyt, zapis z weryfikacją i porównanie konfiguracji "
                       "modułu telemetrycznego GSM.\n\nKody wyjścia: 0 powodzenie, 1 błędne wywołanie, 2 plik "
                       "odrzucony, 3 moduł odrzucony lub nie odpowiada, 4 utracone połączenie, niezgodność po "
                       "weryfikacji lub różnice, 5 nie można otworzyć portu, 130 i 143 przerwany "
                       "(Ctrl+C, SIGTERM).")
            .arg(QCoreApplication::applicationVersion()));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Pokazuje tę pomoc i kończy program."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Pokazuje wersję programu i kończy program."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        PortNaming::acceptsDevicePaths()
            ? QStringLiteral("Port: \"COM 9\" lub COM9 (jak na liście portów) albo urządzenie, np. /dev/ttyUSB0.")
            : QStringLiteral("Port: \"COM 9\" lub COM9 (jak na liście portów)."),
        QStringLiteral("port"));
    const QCommandLineOption read(QStringLiteral("read"), QStringLiteral("Odczytuje moduł i zapisuje plik."),
                                  QStringLiteral("plik"));
    const QCommandLineOption write(
        QStringLiteral("write"), QStringLiteral("Zapisuje plik do modułu i weryfikuje zapis."), QStringLiteral("plik"));
    const QCommandLineOption compare(QStringLiteral("compare"),
                                     QStringLiteral("Sprawdza, czy moduł zawiera konfigurację z pliku."),
                                     QStringLiteral("plik"));
    const QCommandLineOption listPorts(QStringLiteral("list-ports"), QStringLiteral("Pokazuje listę portów."));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("Zapisuje dziennik linii do pliku."),
                                 QStringLiteral("plik"));
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("Po zweryfikowanym zapisie zapisuje protokół konfiguracji (PDF)."),
                                    QStringLiteral("plik.pdf"));
    const QCommandLineOption idle(QStringLiteral("idle"),
                                  QStringLiteral("Ile sekund (1-600) czekać na odpowiedź modułu w trakcie "
                                                 "odczytu lub zapisu; domyślnie 15."),
                                  QStringLiteral("sekundy"));
    const QCommandLineOption batch(QStringLiteral("batch"),
                                   QStringLiteral("Z --write: zapisuje ten sam plik do kolejnych modułów, aż do Ctrl+C."));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Z --batch: kończy po tylu modułach."),
                                   QStringLiteral("n"));
    parser.addOptions({help, version, port, read, write, compare, listPorts, log, report, idle, batch, count});
    out.helpText = parser.helpText();
    const auto refuse = [&out](const QString &why) {
        out.command = Command::None;
        out.error = why;
        return out;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (parser.isSet(version)) {
        out.command = Command::Version;
        return out;
    }
    if (parser.isSet(help)) {
        out.command = Command::Help;
        return out;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("nieoczekiwany argument \"%1\" (port ze spacją trzeba ująć w cudzysłów: "
                                     "--port \"COM 9\").")
                          .arg(parser.positionalArguments().first()));
    for (const QCommandLineOption *o : {&port, &read, &write, &compare, &log, &report, &idle, &count}) {
        if (parser.values(*o).size() > 1)
            return refuse(QStringLiteral("opcja --%1 podana więcej niż raz.").arg(o->names().constFirst()));
    }
    const int commands = int(parser.isSet(read)) + int(parser.isSet(write)) + int(parser.isSet(compare));
    if (parser.isSet(listPorts)) {
        if (commands || parser.isSet(port))
            return refuse(QStringLiteral("--list-ports nie łączy się z --port, --read, --write ani --compare."));
        out.command = Command::ListPorts;
        return out;
    }
    if (commands != 1 || !parser.isSet(port))
        return refuse(QStringLiteral("podaj --port i jedno z --read, --write, --compare (--help pokazuje wszystko)."));

    const QString portText = parser.value(port);
    out.port = portNumber(portText);
    if (!out.port && isDevicePath(portText))
        out.portDevice = portText;
    if (!out.port && out.portDevice.isEmpty())
        return refuse(QStringLiteral("nieznany port \"%1\": podaj \"COM n\" lub COMn, n od 1 do 65535%2.")
                          .arg(portText, PortNaming::acceptsDevicePaths()
                                             ? QStringLiteral(", albo ścieżkę urządzenia, np. /dev/ttyUSB0")
                                             : QString()));
    if (parser.isSet(idle)) {
        bool ok = false;
        out.idleSeconds = parser.value(idle).toInt(&ok);
        if (!ok || out.idleSeconds < 1 || out.idleSeconds > 600 || parser.value(idle) != QString::number(out.idleSeconds))
            return refuse(QStringLiteral("--idle przyjmuje liczbę sekund od 1 do 600, nie \"%1\".")
                              .arg(parser.value(idle)));
    }
    out.command = parser.isSet(read) ? Command::Read : parser.isSet(write) ? Command::Write : Command::Compare;
    const QCommandLineOption &given = parser.isSet(read) ? read : parser.isSet(write) ? write : compare;
    out.file = parser.value(given);
    out.log = parser.value(log);
    out.report = parser.value(report);
    out.batch = parser.isSet(batch);
    if (out.batch && (out.command != Command::Write || parser.isSet(report)))
        return refuse(QStringLiteral("--batch należy do --write; protokoły trafiają wtedy do folderu Protokoły."));
    if (parser.isSet(count)) {
        bool ok = false;
        out.count = parser.value(count).toInt(&ok);
        if (!out.batch || !ok || out.count < 1 || parser.value(count) != QString::number(out.count))
            return refuse(QStringLiteral("--count należy do --batch i przyjmuje liczbę modułów od 1, nie \"%1\".")
                              .arg(parser.value(count)));
    }
    if (parser.isSet(report) && (out.command != Command::Write || out.report.isEmpty()))
        return refuse(QStringLiteral("--report należy do --write i potrzebuje nazwy pliku PDF."));
    if (!out.report.isEmpty() && (sameFile(out.report, out.file) || (!out.log.isEmpty() && sameFile(out.report, out.log))))
        return refuse(QStringLiteral("--report nie może wskazywać pliku konfiguracji ani dziennika."));
    if (out.file.isEmpty())
        return refuse(QStringLiteral("podaj nazwę pliku po --%1.").arg(given.names().constFirst()));
    if (!out.log.isEmpty() && sameFile(out.log, out.file))
        return refuse(QStringLiteral("--log nie może wskazywać pliku konfiguracji %1.").arg(out.file));
    return out;
}
