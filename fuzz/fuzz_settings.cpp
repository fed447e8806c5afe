// Arbitrary bytes as the settings file: read as start-up reads it, written as
// shutdown writes it. What was written reads back; the rest of the file stays.
#include "FuzzCommon.h"
#include "ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ProfileFile ini(QStringLiteral("unused.ini"));
    ini.parse(bytes);
    fuzzCheck(ini.toBytes() == bytes, "an untouched file is written back byte for byte");

    const QString main = QStringLiteral("MAIN");
    (void)ini.readString(main, QStringLiteral("DetectCOM"));
    (void)ini.readString(main, QStringLiteral("ComPort"), QStringLiteral("COM 1"));
    for (const QString &key : ini.keys(QStringLiteral("PORTS")))
        (void)ini.readString(QStringLiteral("PORTS"), key);

    ini.writeString(main, QStringLiteral("ComPort"), QStringLiteral("'COM 7'"));
    ini.writeString(main, QStringLiteral("DetectCOM"), QStringLiteral("0"));
    const QByteArray written = ini.toBytes();
    fuzzCheck(written.size() >= 30, "both keys were written");

    ProfileFile again(QStringLiteral("unused.ini"));
    again.parse(written);
    fuzzCheck(again.readString(main, QStringLiteral("ComPort")) == QStringLiteral("COM 7"), "ComPort reads back");
    fuzzCheck(again.readString(main, QStringLiteral("DetectCOM")) == QStringLiteral("0"), "DetectCOM reads back");
    return 0;
}
