// veskor-cli: the window's link, sequences and checks for scripts and workshops.
#include "CliSession.h"
#include "Console.h"
#include "PortList.h"
#include "ProfileFile.h"
#include "ProgramFolders.h"
#include "VeskorApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {
// The window's settings file, read only: the user's own, else the one beside the program.
QString settingsToRead(const ProgramFolders &folders)
{
    if (QFileInfo::exists(folders.settingsFile) || folders.programSettingsFile.isEmpty())
        return folders.settingsFile;
    return folders.programSettingsFile;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    VeskorApplication::setNames();
    QCoreApplication::setApplicationName(QStringLiteral("veskor-cli"));
    VeskorApplication::loadQtTranslation(app);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Veskor v. %1 z wiersza poleceń: odczyt, zapis z weryfikacją i porównanie konfiguracji "
                       "modułu telemetrycznego GSM.\n\nKody wyjścia: 0 powodzenie, 1 błędne wywołanie, 2 plik "
                       "odrzucony, 3 moduł odrzucony lub nie odpowiada, 4 utracone połączenie, niezgodność po "
                       "weryfikacji lub różnice.")
            .arg(QCoreApplication::applicationVersion()));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Pokazuje tę pomoc i kończy program."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Pokazuje wersję programu i kończy program."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port z listy portów, np. \"COM 9\"."),
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
    parser.addOptions({help, version, port, read, write, compare, listPorts, log});
    if (!parser.parse(app.arguments())) {
        printLine(stderr, QStringLiteral("veskor-cli: ") + parser.errorText());
        return CliSession::Usage;
    }
    if (parser.isSet(version)) {
        printLine(stdout, QStringLiteral("Veskor %1").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (parser.isSet(help)) {
        printLine(stdout, parser.helpText());
        return 0;
    }

    const ProgramFolders folders = ProgramFolders::forProgramIn(QCoreApplication::applicationDirPath());
    const QString settings = settingsToRead(folders);
    const PortNaming naming = PortNaming::fromSettings(settings);
    if (parser.isSet(listPorts)) {
        ProfileFile ini(settings);
        ini.load();
        const bool detect = ini.readBool(QStringLiteral("MAIN"), QStringLiteral("DetectCOM"), true);
        for (const QString &entry : PortList::entries(detect, *PortSource::system(naming)))
            printLine(stdout, entry + QLatin1Char('\t') + naming.devicePath(PortNaming::numberFromEntry(entry)));
        return 0;
    }

    const int commands = int(parser.isSet(read)) + int(parser.isSet(write)) + int(parser.isSet(compare));
    if (commands != 1 || !parser.isSet(port)) {
        printLine(stderr, QStringLiteral("veskor-cli: podaj --port i jedno z --read, --write, --compare "
                                         "(--help pokazuje wszystko)."));
        return CliSession::Usage;
    }
    CliSession session(naming, parser.value(port), parser.value(log));
    if (parser.isSet(read))
        return session.run(CliSession::Command::Read, parser.value(read));
    if (parser.isSet(write))
        return session.run(CliSession::Command::Write, parser.value(write));
    return session.run(CliSession::Command::Compare, parser.value(compare));
}
