#include "CommandLine.h"

#include "ProgramFolders.h"
#include "VeskorApplication.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

std::optional<int> CommandLine::answer(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Our own options rather than Qt's, whose descriptions Qt leaves in English.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Pokazuje tę pomoc i kończy program."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Pokazuje wersję programu i kończy program."));
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // options meant for Qt are unknown here, and that is fine
    if (!parser.isSet(help) && !parser.isSet(version))
        return std::nullopt;

    QCoreApplication app(argc, argv);
    VeskorApplication::setNames();
    VeskorApplication::loadQtTranslation(app);
    if (parser.isSet(version))
        parser.showVersion(); // ends the program
    const ProgramFolders folders = ProgramFolders::forProgramIn(QCoreApplication::applicationDirPath());
    parser.setApplicationDescription(
        QStringLiteral("Veskor v. %1: konfiguracja modułu telemetrycznego GSM licznika energii przez sondę "
                       "optyczną.\n\nUstawienia: %2\nKonfiguracje: %3")
            .arg(QCoreApplication::applicationVersion(), QDir::toNativeSeparators(folders.settingsFile),
                 QDir::toNativeSeparators(folders.configurations)));
    parser.showHelp(0); // ends the program
    return 0;
}
