// Arbitrary bytes as a configuration file: loaded, shown, validated, stored and
// saved. The saved image is 523 bytes and no value reaches outside its field.
#include "ConfigurationFile.h"
#include "FakeSerialPort.h"
#include "FuzzCommon.h"
#include "ScriptedDialogs.h"
#include "uMain.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {
template <int N> void checkField(const ShortString<N> &s)
{
    fuzzCheck(s.bytes().size() <= N && s.size() <= N, "a value stays inside its field");
}

void checkRecord(const TUstawienie &r)
{
    checkField(r.Identyfikator);
    checkField(r.Pin);
    checkField(r.Centrum);
    checkField(r.AccessCode);
    checkField(r.MeterPassword);
    for (const auto &m : r.Modem)
        checkField(m);
    for (const auto &t : r.Telefony)
        checkField(t);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_configuration";
    static char *argv[] = {name, nullptr};
    static bool platform = qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static QTemporaryDir dir;
    static ScriptedDialogs dialogs;
    static TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
    Q_UNUSED(platform);

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TUstawienie loaded = form.Ustawienie;
    const QByteArray before = ConfigurationFile::toBytes(loaded);
    if (!ConfigurationFile::fromBytes(bytes, loaded)) {
        fuzzCheck(ConfigurationFile::toBytes(loaded) == before, "a short file changes nothing");
        return 0;
    }
    // A byte past the file chooses the module the configuration is shown against.
    const int module = size > 523 ? data[523] % 4 : 0;
    LinkEngine *e = form.engine();
    e->DeviceType = module == 0 ? dtNone : module == 3 ? dtRW5SMS : dtMKVx;
    e->DeviceVersion = module == 1 ? "01.12" : "02.00";
    e->IsLatch = module >= 2;
    e->MaxNumbers = module == 3 ? 8 : 16;

    form.Ustawienie = loaded;
    form.IsFromFile = true;
    form.ShowConfiguration();
    form.IsFromFile = false;
    dialogs.answers = {true};
    form.ValidateConfiguration();
    form.StoreConfiguration();
    checkRecord(form.Ustawienie);
    fuzzCheck(ConfigurationFile::toBytes(form.Ustawienie).size() == 523, "a saved file is 523 bytes");
    fuzzCheck(form.Ustawienie.MeterPassword.size() == 10, "the meter password is stored as 10 characters");
    dialogs.shown.clear();
    return 0;
}
