#pragma once

#include <QString>
#include <QStringList>

// What veskor-cli was asked to do, taken from its arguments as they were typed:
// a request is either exactly what they say or refused whole with a reason. No
// port is guessed: "COM 9", "COM9" and "com9" name port 9, on Linux a device path
// names its device; anything else is a usage error.
struct CliArguments {
    enum class Command { None, Help, Version, ListPorts, Read, Write, Compare };

    Command command = Command::None;
    QString file;       // the command's FILE
    QString log;        // --log FILE, empty without one
    QString report;     // --report FILE.pdf of a verified write, empty without one
    quint16 port = 0;   // the port's number, 0 for a device path
    QString portDevice; // the device path given instead of a number
    int idleSeconds = 15;
    bool batch = false; // --write one module after another
    int count = 0;      // --count: modules in a batch, 0 for no limit
    QString error;      // why the arguments were refused; empty when they were not
    QString helpText;

    // Whether arguments ask for a drawing (a PDF), before any application exists.
    static bool wantsDrawing(int argc, char *argv[]);
    // arguments as main() received them, the program first.
    static CliArguments parse(const QStringList &arguments);

    // A port as the technician writes it: "COM 9", "COM9", any letter case, 1 to 65535.
    static quint16 portNumber(const QString &text);
    // Whether text names a device (on Linux a path such as /dev/ttyUSB0; Windows has none).
    static bool isDevicePath(const QString &text);
    // The entry of the window's port list for the port asked for.
    QString portEntry() const { return port ? QStringLiteral("COM %1").arg(port) : portDevice; }
};
