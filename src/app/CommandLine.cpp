#include "CommandLine.h"

#include "ProgramFolders.h"
#include "VeskorApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {
// The options QGuiApplication and QApplication take themselves, with a value or without.
const char *const kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                                       "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon",
                                       "icon", "display", "name", "session", "style", "stylesheet"};
const char *const kQtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

// Our own --help and --version rather than Qt's, whose descriptions Qt leaves in English.
struct Parser {
    QCommandLineParser parser;
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Pokazuje tę pomoc i kończy program.")};
    const QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Pokazuje wersję programu i kończy program.")};

    Parser()
    {
        // "-reverse" is Qt's option, not -r -e -v …
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        for (const char *name : kQtValueOptions) {
            QCommandLineOption qt{QString::fromLatin1(name), QString(), QStringLiteral("value")};
            qt.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(qt);
        }
        for (const char *name : kQtFlags) {
            QCommandLineOption qt{QString::fromLatin1(name)};
            qt.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(qt);
        }
    }

    CommandLine::Action parse(const QStringList &arguments)
    {
        if (!parser.parse(arguments))
            return CommandLine::Action::Error;
        if (parser.isSet(version))
            return CommandLine::Action::Version;
        return parser.isSet(help) ? CommandLine::Action::Help : CommandLine::Action::Start;
    }
};
} // namespace

CommandLine::Action CommandLine::parse(const QStringList &arguments, QString *error)
{
    Parser p;
    const Action action = p.parse(arguments);
    if (error)
        *error = p.parser.errorText();
    return action;
}

std::optional<int> CommandLine::answer(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (parse(arguments) == Action::Start)
        return std::nullopt;

    QCoreApplication app(argc, argv);
    VeskorApplication::setNames();
    VeskorApplication::loadQtTranslation(app);
    Parser p; // again, now that the parser's own texts are in Polish
    switch (p.parse(arguments)) {
    case Action::Start:
        return std::nullopt;
    case Action::Error:
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(p.parser.errorText()));
        return 1;
    case Action::Version:
        p.parser.showVersion(); // ends the program
        return 0;
    case Action::Help:
        break;
    }
    const ProgramFolders folders = ProgramFolders::forProgramIn(QCoreApplication::applicationDirPath());
    p.parser.setApplicationDescription(
        QStringLiteral("Veskor v. %1: konfiguracja modułu telemetrycznego GSM licznika energii przez sondę "
                       "optyczną.\n\nUstawienia: %2\nKonfiguracje: %3")
            .arg(QCoreApplication::applicationVersion(), QDir::toNativeSeparators(folders.settingsFile),
                 QDir::toNativeSeparators(folders.configurations)));
    p.parser.showHelp(0); // ends the program
    return 0;
}
