// veskor-cli's command line from any argument vector (the input's NUL-separated
// words, some from a vocabulary): either refused with a reason and no command, or exactly one command on
// exactly the port typed. An independent reading of the words, as a shell would
// hand them over, says what was typed: the port's number printed back is the one
// typed, the FILE is the command's.
#include "CliArguments.h"
#include "FuzzCommon.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
struct Typed {
    QStringList ports, commands, files;
    bool odd = false; // an unknown option, a stray word or a missing value
};

Typed readTyped(const QStringList &words)
{
    static const QStringList valued{"port", "read", "write", "compare", "log", "report", "idle", "count"};
    static const QStringList flags{"h", "help", "v", "version", "list-ports", "batch"};
    Typed t;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &w = words[i];
        if (w == QLatin1String("--")) {
            t.odd = t.odd || i + 1 < words.size();
            break;
        }
        if (!w.startsWith(QLatin1Char('-')) || w == QLatin1String("-")) {
            t.odd = true;
            continue;
        }
        const QString option = w.mid(w.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype eq = option.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? option : option.left(eq);
        if (!valued.contains(name)) {
            t.odd = t.odd || !flags.contains(name) || eq >= 0;
            continue;
        }
        QString value;
        if (eq >= 0) {
            value = option.mid(eq + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            t.odd = true;
            continue;
        }
        if (name == QLatin1String("port"))
            t.ports << value;
        else if (name == QLatin1String("read") || name == QLatin1String("write") || name == QLatin1String("compare")) {
            t.commands << name;
            t.files << value;
        }
    }
    return t;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "veskor-cli";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // the parser asks for the program's name
    // A word that starts with a byte 0x01-0x0f starts with that word of the
    // vocabulary instead: short inputs then reach whole command lines.
    static const char *const vocabulary[] = {
        "",        "--port",  "--read", "--write", "--compare", "--list-ports", "--log",       "--report",
        "--batch", "--count", "--idle", "COM ",    "COM",       "com",          "/dev/ttyUSB", "--port=COM "};
    QStringList words{QStringLiteral("veskor-cli")};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!bytes.isEmpty())
        for (QByteArray word : bytes.split('\0')) {
            if (!word.isEmpty() && word[0] >= 0x01 && word[0] <= 0x0f)
                word = vocabulary[int(word[0])] + word.mid(1);
            words << QString::fromUtf8(word);
        }

    const CliArguments a = CliArguments::parse(words);
    fuzzCheck(a.error.isEmpty() != (a.command == CliArguments::Command::None), "refused exactly when no command");
    using C = CliArguments::Command;
    if (a.command != C::Read && a.command != C::Write && a.command != C::Compare)
        return 0;
    const Typed t = readTyped(words);
    fuzzCheck(!t.odd && t.ports.size() == 1 && t.commands.size() == 1, "a command only from one port and one command");
    fuzzCheck(a.file == t.files.constFirst() && !a.file.isEmpty(), "the command's FILE as typed");
    const QString typed = t.ports.constFirst();
    if (a.port == 0) {
        fuzzCheck(a.portDevice == typed && typed.startsWith(QLatin1Char('/')), "a device path as typed");
        return 0;
    }
    fuzzCheck(a.portDevice.isEmpty(), "a number or a device, not both");
    // "COM 9" or "COM9", any case: the number printed back is the one typed.
    static const QRegularExpression com(QStringLiteral("^[Cc][Oo][Mm] ?([0-9]+)$"));
    const QRegularExpressionMatch m = com.match(typed);
    fuzzCheck(m.hasMatch() && m.captured(1) == QString::number(a.port), "the port's number is the one typed");
    fuzzCheck(a.portEntry() == QStringLiteral("COM %1").arg(a.port), "the port list's entry of that number");
    return 0;
}
