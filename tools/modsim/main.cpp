// modsim: the telemetry module on a pseudo-terminal, for training, demos and tests.
#include "ConfigurationFile.h"
#include "ControlServer.h"
#include "LineLog.h"
#include "ModuleSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2];

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

// SIGINT and SIGTERM end the event loop cleanly, so the symlink is removed.
int runUntilSignalled(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return 1;
    QSocketNotifier sigNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&sigNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    return app.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("modsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Telemetry module simulator on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption family({"f", "family"}, "mkv, rw5gsm or rw5sms (default mkv).", "family", "mkv");
    const QCommandLineOption version({"v", "firmware"}, "Version text, e.g. 02.00l (default).", "text", "02.00l");
    const QCommandLineOption ident("ident", "Whole identification payload, overriding family and version.", "text");
    const QCommandLineOption link("link", "Also make a symlink to the pseudo-terminal at this path.", "path");
    const QCommandLineOption echo("echo", "Echo every request, as some probes do.");
    const QCommandLineOption baud("baud", "Pace answers at this baud rate (10 bits a character).", "rate", "0");
    const QCommandLineOption latency("latency", "Milliseconds before each answer.", "ms", "0");
    const QCommandLineOption adapter("adapter-latency",
                                     "Hold what the module sends as a USB adapter does: until this many ms have "
                                     "passed since the first byte waiting, or 62 bytes wait.",
                                     "ms", "0");
    const QCommandLineOption split("split", "Send answers in pieces of this many bytes.", "bytes", "0");
    const QCommandLineOption gap("split-gap", "Milliseconds between pieces.", "ms", "20");
    const QCommandLineOption noise("noise", "Bytes sent before each answer.", "text");
    const QCommandLineOption drop("drop", "Leave the first request with this code unanswered.", "code");
    const QCommandLineOption silent("silent-after", "Answer nothing after this many requests.", "n", "-1");
    const QCommandLineOption hangup("hang-up-after", "Hang up on the request after this many.", "n", "-1");
    const QCommandLineOption differ("store-differently", "Store writes of this code altered.", "code");
    const QCommandLineOption halfDuplex("half-duplex", "Lose a frame that arrives while an answer goes out.");
    const QCommandLineOption previous("answer-previous", "Answer this request with the answer sent before it.", "code");
    const QCommandLineOption config("config", "Start with the registers of this configuration file.", "file");
    const QCommandLineOption save("save", "Save the registers to this configuration file after each write.", "file");
    const QCommandLineOption quiet({"q", "quiet"}, "Do not print the frames.");
    const QCommandLineOption control("control",
                                     "Take commands from a test program on this local TCP port; every test gets a "
                                     "fresh module behind the --link path (the Windows tests under Wine).",
                                     "port");
    parser.addOptions({family, version, ident, link, echo, halfDuplex, previous, baud, latency, adapter, split, gap,
                       noise, drop, silent, hangup, differ, config, save, quiet, control});
    parser.process(app);

    if (parser.isSet(control)) {
        ControlServer server(parser.value(link));
        QString error;
        if (!parser.isSet(link) || !server.listen(parser.value(control).toUShort(), &error)) {
            QTextStream(stderr) << "modsim: " << (parser.isSet(link) ? error : QStringLiteral("--control needs --link"))
                                << "\n";
            return 1;
        }
        return runUntilSignalled(app);
    }

    ModuleSimulator sim;
    const QString fam = parser.value(family).toLower();
    ModuleSimulator::Family f = ModuleSimulator::Family::MKV;
    if (fam == QLatin1String("rw5gsm"))
        f = ModuleSimulator::Family::RW5GSM;
    else if (fam == QLatin1String("rw5sms"))
        f = ModuleSimulator::Family::RW5SMS;
    else if (fam != QLatin1String("mkv")) {
        QTextStream(stderr) << "modsim: unknown family " << fam << "\n";
        return 2;
    }
    sim.setIdentity(f, parser.value(version).toLatin1());
    if (parser.isSet(ident))
        sim.model().setIdentificationPayload(parser.value(ident).toLatin1());
    if (parser.isSet(config)) {
        TUstawienie loaded = emptyConfiguration();
        QString error;
        const auto result = ConfigurationFile::load(parser.value(config), loaded, &error);
        if (result != ConfigurationFile::LoadResult::Loaded) {
            QTextStream(stderr) << "modsim: cannot load " << parser.value(config) << ": "
                                << (result == ConfigurationFile::LoadResult::TooShort ? QStringLiteral("too short")
                                                                                      : error)
                                << "\n";
            return 1;
        }
        sim.loadConfiguration(loaded);
    }
    if (parser.isSet(save))
        sim.setSaveFile(parser.value(save));
    sim.setEcho(parser.isSet(echo));
    sim.setHalfDuplex(parser.isSet(halfDuplex));
    if (parser.isSet(previous))
        sim.answerWithPrevious(parser.value(previous).toLatin1());
    sim.setBaudRate(parser.value(baud).toInt());
    sim.setLatency(parser.value(latency).toInt());
    sim.setAdapterLatency(parser.value(adapter).toInt());
    sim.setSplit(parser.value(split).toInt(), parser.value(gap).toInt());
    if (parser.isSet(noise))
        sim.setNoise(parser.value(noise).toLatin1());
    if (parser.isSet(drop))
        sim.dropAnswer(parser.value(drop).toLatin1());
    sim.setSilentAfter(parser.value(silent).toInt());
    sim.setHangUpAfter(parser.value(hangup).toInt());
    if (parser.isSet(differ))
        sim.setStoreDifferently(parser.value(differ).toLatin1());

    QString error;
    if (!sim.start(&error)) {
        QTextStream(stderr) << "modsim: " << error << "\n";
        return 1;
    }
    if (parser.isSet(link) && !sim.makeLink(parser.value(link), &error)) {
        QTextStream(stderr) << "modsim: " << error << "\n";
        return 1;
    }
    QTextStream out(stdout);
    out << "PTY " << sim.slavePath() << Qt::endl;

    const bool logFrames = !parser.isSet(quiet);
    QObject::connect(&sim, &ModuleSimulator::requestReceived, [&](const QByteArray &) {
        if (logFrames)
            out << "<- " << LineLog::printable(sim.log().back().bytes) << Qt::endl;
    });
    QObject::connect(&sim, &ModuleSimulator::hungUp, &app, [&] {
        out << "hung up" << Qt::endl;
        QCoreApplication::quit();
    });

    return runUntilSignalled(app);
}
