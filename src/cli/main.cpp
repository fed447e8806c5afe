// veskor-cli: the window's link, sequences and checks for scripts and workshops.
#include "CliArguments.h"
#include "CliSession.h"
#include "Console.h"
#include "Journal.h"
#include "PortDescription.h"
#include "PortList.h"
#include "ProfileFile.h"
#include "ProgramFolders.h"
#include "ProgramInfo.h"
#include "ProtocolReport.h"

#include <memory>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>

namespace {
// The window's settings file, read only: the user's own, else the one beside the program.
QString settingsToRead(const ProgramFolders &folders)
{
    if (QFileInfo::exists(folders.settingsFile) || folders.programSettingsFile.isEmpty())
        return folders.settingsFile;
    return folders.programSettingsFile;
}

// A number for a device named by its path: its own where it has one, else one
// above every port the list and the settings can name.
int numberFor(PortNaming &naming, const QString &device)
{
    if (const int n = naming.numberForDevice(device))
        return n;
    int n = 65535;
    while (naming.explicitMap().contains(n))
        --n;
    naming.map(n, device);
    return n;
}
} // namespace

int main(int argc, char *argv[])
{
    // Qt Gui only for a protocol's drawing; a read or a compare runs on Qt Core alone.
    const bool drawing = CliArguments::wantsDrawing(argc, argv);
    if (drawing)
        drawWithoutDisplay();
    const std::unique_ptr<QCoreApplication> app =
        drawing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    ProgramInfo::setNames();
    QCoreApplication::setApplicationName(QStringLiteral("veskor-cli"));
    ProgramInfo::loadQtTranslation(*app);

    const CliArguments args = CliArguments::parse(QCoreApplication::arguments());
    switch (args.command) {
    case CliArguments::Command::None:
        printLine(stderr, QStringLiteral("veskor-cli: ") + args.error);
        return CliSession::Usage;
    case CliArguments::Command::Version:
        printLine(stdout, QStringLiteral("Veskor %1").arg(QCoreApplication::applicationVersion()));
        return 0;
    case CliArguments::Command::Help:
        printLine(stdout, args.helpText);
        return 0;
    default:
        break;
    }

    const ProgramFolders folders = ProgramFolders::forProgramIn(QCoreApplication::applicationDirPath());
    const QString settings = settingsToRead(folders);
    PortNaming naming = PortNaming::fromSettings(settings);
    if (args.command == CliArguments::Command::ListPorts) {
        ProfileFile ini(settings);
        ini.load();
        const bool detect = ini.readBool(QStringLiteral("MAIN"), QStringLiteral("DetectCOM"), true);
        for (const QString &entry : PortList::entries(detect, *PortSource::system(naming))) {
            const QString device = naming.devicePath(PortNaming::numberFromEntry(entry));
            const QString probe = PortDescription::of(device);
            printLine(stdout, entry + QLatin1Char('\t') + device + (probe.isEmpty() ? QString() : QLatin1Char('\t') + probe));
        }
        return 0;
    }

    const int number = args.port ? args.port : numberFor(naming, args.portDevice);
    CliSession session(naming, QStringLiteral("COM %1").arg(number), args.portEntry(), args.log,
                       args.idleSeconds * 1000, Journal::pathFor(settings));
    session.setReport(args.report, ProtocolReport::technician(settings));
    watchInterruptions(&session, [&session](int signal) { session.interrupt(signal); });
    if (args.batch)
        return session.runBatch(args.file, args.count, ProtocolReport::folderBeside(folders.configurations));
    const auto command = args.command == CliArguments::Command::Read    ? CliSession::Command::Read
                         : args.command == CliArguments::Command::Write ? CliSession::Command::Write
                                                                        : CliSession::Command::Compare;
    return session.run(command, args.file);
}
